// libFuzzer entry: every input is a person import file.  It is read into
// lines and every line is checked as each import kind; the registration
// map's attribute escaping is applied to every line as well.  A broken
// promise aborts with what did not hold, so the fuzzer keeps the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "basic/pct_import_file.h"
#include "basic/pct_import_line.h"
#include "basic/reg_map_xml.h"
#include "finding.h"

namespace {

using tav::fuzz::fail;

// The conversion to the code page as a table in Latin-1 would make it:
// two-byte letters of Latin-1 become one byte, anything else is written
// "<U+?>" and named.
tav::CodePageText toLatin1(std::string_view utf8) {
  tav::CodePageText converted;
  std::string& out = converted.bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
      out += static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F));
    } else {
      out += "<U+?>";
      if (converted.unheld.empty()) converted.unheld = "U+?";
      while (i + 1 < utf8.size() && (utf8[i + 1] & 0xC0) == 0x80) ++i;
    }
  }
  return converted;
}

bool hasAny(std::string_view s, std::string_view bytes) {
  return s.find_first_of(bytes) != std::string_view::npos;
}

void checkEntry(int kind, const tav::LineCheck& check) {
  const tav::PctImportEntry& e = check.entry;
  if (hasAny(check.text, std::string_view("\n\0", 2))) fail("line end or NUL in a line");
  if (kind == tav::kImportClubs) {
    if (e.clubName.empty() || hasAny(e.clubName, "\t")) fail("club name empty or with a tab");
    return;
  }
  if (e.gfName.empty()) fail("valid entry without a name");
  if (kind != tav::kImportTeams && (e.gName.empty() || e.fName.empty())) {
    fail("valid person without given or family name");
  }
  if (e.regNo.size() > 10) fail("registration number longer than 10 digits");
  if (e.gender.size() > 1) fail("gender longer than one character");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tav::PctImportFile file;
  file.takeBytes(bytes, toLatin1);
  // Lines counted after the byte-order mark, which the reader drops.
  std::string_view content = bytes;
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
  std::size_t lineEnds = 0;
  for (char c : content) lineEnds += c == '\n';
  const std::size_t expected = lineEnds + (content.empty() || content.back() == '\n' ? 0 : 1);
  if (file.lines().size() != expected) fail("line count differs from the line ends");
  if (file.unheld().size() != file.lines().size()) fail("a line without its code-page mark");
  for (std::size_t i = 0; i < file.lines().size(); ++i) {
    const std::string& line = file.lines()[i];
    const std::string_view beforeComment = std::string_view(line).substr(0, line.find('#'));
    const bool marked = beforeComment.find("<U+?>") != std::string_view::npos;
    if (!file.wasUtf8() && !file.unheld()[i].empty()) fail("a code-page file with unheld text");
    if (!file.unheld()[i].empty() && !marked) fail("a line marked for text it does not hold");
  }
  tav::ImportLineRules rules;
  rules.defGender = "F";
  rules.defNation = "CAN";
  rules.isNation = [](std::string_view code) { return code == "CAN" || code == "USA"; };
  for (const std::string& line : file.lines()) {
    for (int kind : {1, 2, 4, 8, 16}) {
      rules.kind = kind;
      const tav::LineCheck check = tav::checkImportLine(rules, line);
      if (check.verdict == tav::LineVerdict::kValid) checkEntry(kind, check);
      if (check.verdict == tav::LineVerdict::kInvalid && check.reason.rfind(" - ", 0) != 0) {
        fail("invalid line without its reason");
      }
    }
    const std::string escaped = tav::xmlAttributeText(line);
    if (hasAny(escaped, "<>\"\n\r")) fail("unescaped character in an attribute");
  }
  return 0;
}
