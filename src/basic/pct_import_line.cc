// The line check of a person import.
#include "basic/pct_import_line.h"

#include <vector>

#include "dbf/field_text.h"

namespace tav {
namespace {

constexpr std::size_t kMaxRegNoDigits = 10;

constexpr const char* kSuffixes[] = {"JR", "JR.", "SR", "SR.", "IV", "IV.",
                                     "III", "III.", "II", "II.", "I", "I."};

bool isSuffix(std::string_view word) {
  const std::string upper = upperAscii(word);
  for (const char* s : kSuffixes) {
    if (upper == s) return true;
  }
  return false;
}

bool isSaint(std::string_view word) {
  const std::string upper = upperAscii(word);
  return upper == "ST" || upper == "ST.";
}

bool isDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Runs of blanks become one blank.
std::string collapseBlanks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = s.find(separator, start);
    parts.push_back(s.substr(start, end == std::string_view::npos ? s.npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::string join(const std::vector<std::string_view>& words, std::size_t from, std::size_t to) {
  std::string out;
  for (std::size_t i = from; i < to; ++i) {
    if (!out.empty()) out += ' ';
    out += words[i];
  }
  return out;
}

LineCheck invalid(LineCheck check, const std::string& reason) {
  check.verdict = LineVerdict::kInvalid;
  check.reason = " - " + reason;
  return check;
}

// Splits a person's name into given and family name.  False with the
// reason when a part is missing.
bool splitName(std::string_view name, PctImportEntry* e, std::string* reason) {
  std::vector<std::string_view> words;
  for (std::string_view w : split(name, ' ')) {
    if (!w.empty()) words.push_back(w);
  }
  std::size_t familyStart = words.size() - 1;  // words is never empty here
  // A lone suffix ("JR") stays the only word: nothing is read before the
  // first word, and the given name is missing.
  if (isSuffix(words.back()) && familyStart > 0) --familyStart;
  if (familyStart > 0 && isSaint(words[familyStart - 1])) --familyStart;
  e->gName = join(words, 0, familyStart);
  e->fName = join(words, familyStart, words.size());
  if (e->gName.empty()) {
    *reason = "Missing given name.";
    return false;
  }
  if (e->fName.empty()) {
    *reason = "Missing family name.";
    return false;
  }
  return true;
}

// Classifies the fields after the club name.  False with the reason at the
// first field that is refused.
bool classifyFields(const ImportLineRules& rules, const std::vector<std::string_view>& fields,
                    PctImportEntry* e, std::string* reason) {
  for (std::size_t i = 2; i < fields.size(); ++i) {
    const std::string_view field = trimBlanks(fields[i]);
    if (field.empty()) continue;
    const std::string upper = upperAscii(field);
    if (isDigits(field)) {
      if (e->hasRegNo) return *reason = "Duplicate RegNo.", false;
      if (field.size() > kMaxRegNoDigits) return *reason = "RegNo too large, max 10 digits.", false;
      e->regNo = std::string(field);
      e->hasRegNo = true;
    } else if (upper == "MALE" || upper == "FEMALE") {
      if (e->hasGender) return *reason = "Duplicate Gender.", false;
      e->gender = upper.substr(0, 1);
      e->hasGender = true;
    } else if (rules.isNation && rules.isNation(upper)) {
      if (e->hasNation) return *reason = "Duplicate Nation.", false;
      e->nation = upper;
      e->hasNation = true;
    } else {
      return *reason = "Unknown: " + std::string(field), false;
    }
  }
  return true;
}

}  // namespace

std::string_view cutComment(std::string_view line) {
  return line.substr(0, line.find('#'));
}

LineCheck checkImportLine(const ImportLineRules& rules, std::string_view line) {
  LineCheck check;
  // Blanks are trimmed here, tabs are not: a leading tab is an empty name.
  const std::string text = collapseBlanks(cutComment(line));
  const std::size_t first = text.find_first_not_of(' ');
  if (first != std::string::npos) {
    check.text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
  }
  if (trimBlanks(check.text).empty()) return check;  // blanks and tabs only: skipped
  PctImportEntry& e = check.entry;
  if (rules.kind == kImportClubs) {
    std::string name = check.text;
    for (char& c : name) {
      if (c == '\t') c = ' ';
    }
    e.clubName = std::string(trimBlanks(collapseBlanks(name)));
    e.gfName = e.gfNameC = e.clubName;
    e.clubId = "0";
    check.verdict = LineVerdict::kValid;
    return check;
  }
  const std::vector<std::string_view> fields = split(check.text, '\t');
  if (fields.size() < 2 && rules.kind != kImportOfficials) return invalid(check, "Missing info.");
  const std::string_view name = trimBlanks(fields[0]);
  if (name.empty()) return invalid(check, "Missing skater name.");
  e.gfName = std::string(name);
  std::string reason;
  if (rules.kind == kImportTeams) {
    e.gfNameC = e.gfName;
  } else if (!splitName(name, &e, &reason)) {
    return invalid(check, reason);
  }
  if (fields.size() > 1) {
    const std::string_view club = trimBlanks(fields[1]);
    if (rules.isNation && rules.isNation(upperAscii(club))) {
      return invalid(check, "Invalid club name. (Can't be a nation code)");
    }
    if (isDigits(club)) {
      check.verdict = LineVerdict::kStop;
      check.reason = "Found club name: '" + std::string(club) +
                     "'. Club names can't be numbers.\n"
                     "Is this really a SKATER import file or is it a PPE import file?";
      return check;
    }
    e.clubName = std::string(club);
  }
  e.gender = upperAscii(std::string_view(rules.defGender).substr(0, 1));
  e.nation = upperAscii(rules.defNation);
  if (!classifyFields(rules, fields, &e, &reason)) return invalid(check, reason);
  check.verdict = LineVerdict::kValid;
  return check;
}

}  // namespace tav
