// The reading of person import files and the check of their lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic/pct_import_file.h"
#include "basic/pct_import_line.h"

namespace tav {
namespace {

// A stand-in for the conversion to the database's code page: UTF-8 letters
// of Latin-1 become their single byte, anything else "<U+?>", named.
CodePageText latin1(std::string_view utf8) {
  CodePageText converted;
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

TEST(PctImportFileTest, LinesEndsAndEncodings) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
    bool utf8;
    std::vector<std::string> unheld = {};  // per line when any is marked
  };
  const std::vector<Case> cases = {
      {"empty file", "", {}, false},
      {"no final line end", "a\nb", {"a", "b"}, false},
      {"final line end", "a\nb\n", {"a", "b"}, false},
      {"windows line ends", "a\r\nb\r\n", {"a", "b"}, false},
      {"inner carriage return kept", "a\rb\n", {"a\rb"}, false},
      {"NUL bytes become blanks", std::string("a\0b\n", 4), {"a b"}, false},
      {"code page file", "Zo\xE9 M\xFCller\tClub\n", {"Zo\xE9 M\xFCller\tClub"}, false},
      {"UTF-8 file", "Zo\xC3\xA9 M\xC3\xBCller\tClub\n", {"Zo\xE9 M\xFCller\tClub"}, true},
      {"UTF-8 with mark", "\xEF\xBB\xBFZo\xC3\xA9\r\nAnn\r\n", {"Zo\xE9", "Ann"}, true},
      {"mark on ASCII", "\xEF\xBB\xBF" "Ann\n", {"Ann"}, true},
      {"overlong form is not UTF-8", "\xC0\xAF\n", {"\xC0\xAF"}, false},
      {"surrogate is not UTF-8", "\xED\xA0\x80\n", {"\xED\xA0\x80"}, false},
      {"cut sequence is not UTF-8", "ok\n\xC3", {"ok", "\xC3"}, false},
      {"letters the code page lacks are marked and named",
       "\xC5\x81ucja\tClub # \xC5\x81\nAnn\tClub # \xC5\x81\n",
       {"<U+?>ucja\tClub # <U+?>", "Ann\tClub # <U+?>"}, true, {"U+?", ""}},
  };
  for (const Case& c : cases) {
    PctImportFile file;
    file.takeBytes(c.bytes, latin1);
    EXPECT_EQ(file.lines(), c.lines) << c.what;
    EXPECT_EQ(file.wasUtf8(), c.utf8) << c.what;
    const std::vector<std::string> unheld =
        c.unheld.empty() ? std::vector<std::string>(c.lines.size()) : c.unheld;
    EXPECT_EQ(file.unheld(), unheld) << c.what;
  }
}

TEST(PctImportFileTest, LongLineAndMissingFile) {
  PctImportFile file;
  const std::string longName(1 << 20, 'x');
  file.takeBytes(longName + "\tClub", latin1);
  ASSERT_EQ(file.lines().size(), 1u);
  EXPECT_EQ(file.lines()[0].size(), longName.size() + 5);
  EXPECT_FALSE(file.read("/nonexistent/folder/skaters.txt", latin1));
}

// The line check: verdict, reason and what the entry carries.
TEST(PctImportLineTest, Checks) {
  struct Case {
    int kind;
    const char* line;
    LineVerdict verdict;
    std::string reason;  // or "given|family|club|regNo|gender|nation" for a valid line
  };
  const std::vector<Case> cases = {
      {2, "", LineVerdict::kSkipped, ""},
      {2, "   # only a comment", LineVerdict::kSkipped, ""},
      {2, "\t\t\t", LineVerdict::kSkipped, ""},
      {2, "Mara Kessel\tRiverton SC", LineVerdict::kValid, "Mara|Kessel|Riverton SC||F|CAN"},
      {2, "Mara  Kessel\t Riverton  SC  # moved", LineVerdict::kValid,
       "Mara|Kessel|Riverton SC||F|CAN"},
      {2, "Mara Kessel\tRiverton SC\tFEMALE  # note", LineVerdict::kValid,
       "Mara|Kessel|Riverton SC||F|CAN"},
      {2, "Mara Kessel\tRiverton SC\tmale\t0012345\tusa", LineVerdict::kValid,
       "Mara|Kessel|Riverton SC|0012345|M|USA"},
      {2, "Mara Kessel\tRiverton SC\t\t\t", LineVerdict::kValid,
       "Mara|Kessel|Riverton SC||F|CAN"},
      {2, "John Paul Smith JR\tClub", LineVerdict::kValid, "John Paul|Smith JR|Club||F|CAN"},
      {2, "John Paul Smith jr.\tClub", LineVerdict::kValid, "John Paul|Smith jr.|Club||F|CAN"},
      {2, "Anne ST. Pierre\tClub", LineVerdict::kValid, "Anne|ST. Pierre|Club||F|CAN"},
      {2, "Anne St Pierre III\tClub", LineVerdict::kValid, "Anne|St Pierre III|Club||F|CAN"},
      {2, "Tom\tClub", LineVerdict::kInvalid, " - Missing given name."},
      {2, "JR\tClub", LineVerdict::kInvalid, " - Missing given name."},
      {2, "ST JR\tClub", LineVerdict::kInvalid, " - Missing given name."},
      {2, "Mara Kessel", LineVerdict::kInvalid, " - Missing info."},
      {1, "Mara Kessel", LineVerdict::kValid, "Mara|Kessel|||F|CAN"},
      {2, "\tClub", LineVerdict::kInvalid, " - Missing skater name."},
      {2, "Mara Kessel\tCAN", LineVerdict::kInvalid,
       " - Invalid club name. (Can't be a nation code)"},
      {2, "Mara Kessel\tClub\t123\t456", LineVerdict::kInvalid, " - Duplicate RegNo."},
      {2, "Mara Kessel\tClub\t1234567890", LineVerdict::kValid, "Mara|Kessel|Club|1234567890|F|CAN"},
      {2, "Mara Kessel\tClub\t12345678901", LineVerdict::kInvalid,
       " - RegNo too large, max 10 digits."},
      {2, "Mara Kessel\tClub\tMALE\tFemale", LineVerdict::kInvalid, " - Duplicate Gender."},
      {2, "Mara Kessel\tClub\tUSA\tGER", LineVerdict::kInvalid, " - Duplicate Nation."},
      {2, "Mara Kessel\tClub\t12A", LineVerdict::kInvalid, " - Unknown: 12A"},
      {2, "Mara Kessel\t4711", LineVerdict::kStop,
       "Found club name: '4711'. Club names can't be numbers.\n"
       "Is this really a SKATER import file or is it a PPE import file?"},
      {8, "Team  Aurora Jr\tRiverton SC", LineVerdict::kValid, "||Riverton SC||F|CAN"},
      {16, "  The  Riverton\tSkating Club ", LineVerdict::kValid, "|||||"},
  };
  ImportLineRules rules;
  rules.defGender = "female";
  rules.defNation = "can";
  rules.isNation = [](std::string_view code) {
    return code == "CAN" || code == "USA" || code == "GER";
  };
  for (const Case& c : cases) {
    rules.kind = c.kind;
    const LineCheck check = checkImportLine(rules, c.line);
    EXPECT_EQ(check.verdict, c.verdict) << c.line;
    if (check.verdict != LineVerdict::kValid) {
      EXPECT_EQ(check.reason, c.reason) << c.line;
      continue;
    }
    const PctImportEntry& e = check.entry;
    EXPECT_EQ(e.gName + "|" + e.fName + "|" + (c.kind == 16 ? "" : e.clubName) + "|" +
                  e.regNo + "|" + e.gender + "|" + e.nation,
              c.reason)
        << c.line;
  }
}

TEST(PctImportLineTest, NamesAsWritten) {
  ImportLineRules rules;
  rules.kind = 8;
  LineCheck team = checkImportLine(rules, "Team  Aurora Jr\tRiverton SC");
  EXPECT_EQ(team.entry.gfName, "Team Aurora Jr");
  EXPECT_EQ(team.entry.gfNameC, "Team Aurora Jr");
  rules.kind = 16;
  LineCheck club = checkImportLine(rules, "  The  Riverton\tSkating Club # x");
  EXPECT_EQ(club.entry.clubName, "The Riverton Skating Club");
  EXPECT_EQ(club.entry.clubId, "0");
  EXPECT_EQ(club.text, "The Riverton\tSkating Club");
}

}  // namespace
}  // namespace tav
