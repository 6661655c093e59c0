// Cleaning club names, one at a time and over the whole register.
#include "basic/club_name.h"

#include <string_view>
#include <vector>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
#include "basic/name_case.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"

namespace tav {
namespace {

// Letters and digits of any script (bytes above 127 belong to letters in the
// register's code pages) continue a word; anything else ends it.
bool isWordByte(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u >= 128;
}

void trimInPlace(std::string* s) { *s = std::string(trimBlanks(*s)); }

// The name and its upper-case copy, changed together.
struct CasedName {
  std::string text;
  std::string upper;

  void erase(std::size_t at, std::size_t count) {
    text.erase(at, count);
    upper.erase(at, count);
  }
  void replaceFirst(const std::string& from, const std::string& to) {
    const std::size_t at = upper.find(from);
    if (at == std::string::npos) return;
    text.replace(at, from.size(), to);
    upper.replace(at, from.size(), to);
  }
};

void dropLeadingThe(CasedName* name) {
  const std::string& u = name->upper;
  if (u.compare(0, 3, "THE") == 0 && (u.size() == 3 || !isWordByte(u[3]))) name->erase(0, 3);
}

// The first ending the name has, of ", INC.", ", INC", "INC.", "INC"; the
// bare INC only where it is a word of its own.
void dropIncSuffix(CasedName* name) {
  static const char* const kEndings[] = {", INC.", ", INC", "INC.", "INC"};
  const std::string& u = name->upper;
  for (const char* ending : kEndings) {
    const std::string_view e(ending);
    if (u.size() < e.size() || u.compare(u.size() - e.size(), e.size(), e) != 0) continue;
    const std::size_t at = u.size() - e.size();
    if (e.front() != ',' && at > 0 && isWordByte(u[at - 1])) continue;
    name->erase(at, e.size());
    return;
  }
}

}  // namespace

void cleanClubNameWith(std::string* name, int bits) {
  CasedName n;
  for (char c : *name) {
    if (c != '"') n.text += c;
  }
  trimInPlace(&n.text);
  n.upper = upperAscii(n.text);
  if (bits & kClubDropThe) dropLeadingThe(&n);
  if (bits & kClubDropInc) dropIncSuffix(&n);
  if (bits & kClubShortenFsc) n.replaceFirst("FIGURE SKATING CLUB", "FSC");
  if (bits & kClubShortenSc) n.replaceFirst("SKATING CLUB", "SC");
  trimInPlace(&n.text);
  *name = n.text;
}

bool CBasic::cleanClubName(std::string* name) const {
  CallTrace t("CBasic.cleanClubName");
  cleanClubNameWith(name, clubConvBits_);
  return t.succeed();
}

// Every club entry's name fields are cleaned with all conversions, the sort
// name becomes the cleaned composite name in upper case, and the fields that
// changed are written back.
bool CBasic::cleanAllClubNames() {
  CallTrace t("CBasic.cleanAllClubNames");
  static const char* const kNameFields[] = {"PCT_CNAME",  "PCT_SNAME",  "PCT_PLNAME", "PCT_PSNAME",
                                            "PCT_TLNAME", "PCT_TSNAME", "PCT_S1NAME", "PCT_S2NAME",
                                            "PCT_S3NAME", "PCT_S4NAME"};
  clubConvBits_ = kClubAllConversions;
  CDbf* pct = pctTable();
  if (pct == nullptr) return false;
  const int type = pct->getFieldIndex("PCT_TYPE");
  if (type < 0) return false;
  for (int r = 0; r < static_cast<int>(pct->numScannable()); ++r) {
    if (pct->isDeleted(r) || pct->fieldText(r, type) != "CLU") continue;
    std::vector<std::string> names, values;
    if (!readRecord(r, &names, &values)) return false;
    std::string cname;
    for (std::size_t i = 0; i < names.size(); ++i) {
      for (const char* field : kNameFields) {
        if (names[i] == field) cleanClubName(&values[i]);
      }
      if (names[i] == "PCT_CNAME") cname = values[i];
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == "PCT_SNAME") values[i] = upperName(cname, pct->header().codePage);
    }
    if (!writeChanged(r, names, values, nullptr)) return false;
  }
  return t.succeed();
}

}  // namespace tav
