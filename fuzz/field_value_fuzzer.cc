// libFuzzer entry: every input is a value given for a field (by the
// application, an import file or a maintenance command).  The first three
// bytes choose the field's type, width and decimal count; the rest is the
// value.  A value that is accepted must be stored so that it fits its field
// and reads back as itself; a broken promise aborts with what did not hold.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dbf/dbf.h"
#include "dbf/field_text.h"
#include "dbf/field_value.h"
#include "finding.h"

namespace {

using tav::fuzz::fail;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  static const char kTypes[] = {'C', 'N', 'F', 'D', 'L', 'M'};
  tav::DbfField field;
  field.type = kTypes[data[0] % sizeof kTypes];
  field.length = static_cast<std::uint8_t>(field.type == 'D' ? 8 : field.type == 'L' ? 1
                                                                : 1 + data[1] % 20);
  field.decimals = static_cast<std::uint8_t>(data[2] % 6);
  const std::string_view value(reinterpret_cast<const char*>(data) + 3, size - 3);
  std::string stored, reason;
  if (!tav::storedFieldValue(field, value, &stored, &reason)) {
    if (reason.empty()) fail("refused without a reason");
    if (field.type == 'C') fail("a character value refused");
    return 0;
  }
  if (field.type == 'M') fail("a memo field written");
  if (field.type == 'C') {
    if (stored != value) fail("a character value changed");
    return 0;
  }
  if (stored.size() > field.length) fail("a stored value wider than its field");
  if (stored != tav::trimBlanks(stored)) fail("blanks around a stored value");
  if (field.type == 'D' && !stored.empty() && stored.size() != 8) fail("a date not 8 long");
  if ((field.type == 'N' || field.type == 'F') && !stored.empty()) {
    const std::size_t point = stored.find('.');
    if (point != std::string::npos && stored.size() - point - 1 > field.decimals) {
      fail("more decimals than the field holds");
    }
    bool digit = false;
    for (char c : stored) digit = digit || isDigit(c);
    if (!digit) fail("a number without digits");
  }
  std::string again;
  if (!tav::storedFieldValue(field, stored, &again, &reason) || again != stored) {
    fail("a stored value does not read back as itself");
  }
  return 0;
}
