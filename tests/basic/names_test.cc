// The name calculation, the defaults of new records, couple names, the
// club-name cleaner and the abbreviation files.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "basic/abbreviations.h"
#include "basic/basic.h"
#include "basic/club_name.h"
#include "basic/name_case.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

// Widths: CNAME 24, PLNAME 30, PSNAME 16, TLNAME 24, TSNAME 12, S1-S3 16, S4 12.
DbfBuilder namePct() {
  return DbfBuilder({{"PCT_ID", 'N', 6},     {"PCT_TYPE", 'C', 3},   {"PCT_AFUNCT", 'C', 3},
                     {"PCT_CNAME", 'C', 24}, {"PCT_GNAME", 'C', 20}, {"PCT_FNAME", 'C', 20},
                     {"PCT_SNAME", 'C', 8},  {"PCT_REGNO", 'C', 10}, {"PCT_PCTID", 'N', 6},
                     {"PCT_PPCTID", 'N', 6}, {"PCT_PLNAME", 'C', 30}, {"PCT_PSNAME", 'C', 16},
                     {"PCT_TLNAME", 'C', 24}, {"PCT_TSNAME", 'C', 12}, {"PCT_S1NAME", 'C', 16},
                     {"PCT_S2NAME", 'C', 16}, {"PCT_S3NAME", 'C', 16}, {"PCT_S4NAME", 'C', 12}});
}

class NamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeDatabase(dir_.path(), 11135, {{"PCT", namePct()}});
    ASSERT_TRUE(session().openDB(dir_.path())) << getErrStr();
    ASSERT_TRUE(basic().populate(kPctKinds, -1)) << getErrStr();
  }
  void TearDown() override { session().close(); }

  test::TempDir dir_;
};

struct NameCase {
  const char* what;
  int type;
  bool capFName, addPfn, addSn1;
  FieldMap input;
  FieldMap expected;  // the fields checked
};

TEST_F(NamesTest, CalcNames) {
  const std::vector<NameCase> cases = {
      {"capitalised family name", kCompetitors, true, false, false,
       {{"PCT_GNAME", "Mara"}, {"PCT_FNAME", "Kessel"}},
       {{"PCT_FNAMEC", "KESSEL"}, {"gfNameC", "Mara KESSEL"}, {"PCT_CNAME", "Mara KESSEL"},
        {"PCT_GNAMEI", "M."}, {"PCT_SNAME", "KessMara"}, {"PCT_TSNAME", "Mara KESSEL"}}},
      {"accented capitals in the Western code page", kCompetitors, true, false, false,
       {{"PCT_GNAME", "Eetu"}, {"PCT_FNAME", "M\xE4kel\xE4"}},
       {{"PCT_FNAMEC", "M\xC4KEL\xC4"}, {"PCT_SNAME", "M\xE4keEetu"}}},
      {"too long: initial, then family name alone", kCompetitors, false, false, false,
       {{"PCT_GNAME", "Hubertine"}, {"PCT_FNAME", "Wolfeschlegelstein"}},
       {{"PCT_CNAME", "H. Wolfeschlegelstein"}, {"PCT_TSNAME", "Wolfeschlegelstein"},
        {"PCT_PSNAME", "Wolfeschlegelstein"}, {"PCT_S1NAME", "Wolfeschlegelstein"}}},
      {"exactly as wide as a field: kept there, shortened in the narrower", kCompetitors, false,
       false, false, {{"PCT_GNAME", "Mara"}, {"PCT_FNAME", "Kesselbachs"}},
       {{"PCT_PSNAME", "Mara Kesselbachs"}, {"PCT_S1NAME", "Mara Kesselbachs"},
        {"PCT_TSNAME", "Kesselbachs"}}},
      {"no given name: left as it is", kCompetitors, false, false, false,
       {{"PCT_GNAME", ""}, {"PCT_FNAME", "Averyveryverylongfamilyname"}},
       {{"PCT_CNAME", " Averyveryverylongfamilyname"}, {"PCT_GNAMEI", ""}}},
      {"club added to the printed name", kCompetitors, false, true, false,
       {{"PCT_GNAME", "Ben"}, {"PCT_FNAME", "Martin"}, {"clubName", "ST PAUL"}},
       {{"PCT_PLNAME", "Ben Martin, ST PAUL"}, {"PCT_CNAME", "Ben Martin"}}},
      {"long club: family name and club", kCompetitors, false, true, false,
       {{"PCT_GNAME", "Ben"}, {"PCT_FNAME", "Martin"}, {"clubName", "Riverton Figure Skating Club"}},
       {{"PCT_PLNAME", "Martin, Riverton Figure Skating Club"}}},
      {"official: an undefined residence is never added", kOfficials, false, true, true,
       {{"PCT_GNAME", "Mara"}, {"PCT_FNAME", "Kessel"}, {"PCT_RESCIT", "Undefined"},
        {"clubName", "ST PAUL"}},
       {{"PCT_PLNAME", "Mara Kessel"}, {"PCT_S1NAME", "Mara Kessel"}}},
      {"official with a residence", kOfficials, false, true, true,
       {{"PCT_GNAME", "Mara"}, {"PCT_FNAME", "Kessel"}, {"PCT_RESCIT", "Lyon"}},
       {{"PCT_PLNAME", "Mara Kessel, Lyon"}, {"PCT_S1NAME", "Lyon"}}},
      {"team: abbreviated field by field", kTeams, false, true, false,
       {{"PCT_CNAME", "Saint Petersburg Synchro Team"}, {"gfNameC", "Saint Petersburg Synchro Team"},
        {"clubName", "ST PAUL"}},
       {{"PCT_CNAME", "St-P Synchro Team"}, {"PCT_SNAME", "Saint Pe"},
        {"PCT_TSNAME", "St-P Syn T"}, {"PCT_PLNAME", "St-P Synchro Team, ST PAUL"},
        {"PCT_S4NAME", "St-P Syn T"}}},
      {"team: entries in table order, whole words; too long stays", kTeams, false, false, false,
       {{"PCT_CNAME", "Saintly Skaters of Saint Petersburg"},
        {"gfNameC", "Saintly Skaters of Saint Petersburg"}},
       {{"PCT_CNAME", "Saintly Skaters of St-P"}, {"PCT_TSNAME", "Sty Skaters of St-P"}}},
  };
  for (const NameCase& c : cases) {
    AbbreviationTable state, misc;
    ASSERT_TRUE(Abbreviations::parse("SAINT PETERSBURG\tSt-P\nSAINTLY\tSty\n", &state));
    ASSERT_TRUE(Abbreviations::parse("SYNCHRO\tSyn\nTEAM\tT\n", &misc));
    basic().setCapFNameFlag(c.capFName);
    basic().setAddPfnFlag(c.addPfn);
    basic().setAddSn1Flag(c.addSn1);
    FieldMap fields = c.input;
    basic().abbreviations().setTables(state, misc);
    ASSERT_TRUE(basic().calcNames(c.type, &fields)) << c.what << ": " << getErrStr();
    for (const auto& [key, value] : c.expected) EXPECT_EQ(fields[key], value) << c.what << " " << key;
  }
  FieldMap fields;
  EXPECT_FALSE(basic().calcNames(32, &fields));
  EXPECT_TRUE(test::keptErrorHas("Invalid type: 32"));
}

TEST_F(NamesTest, InitPctDefaults) {
  const std::vector<std::pair<int, FieldMap>> cases = {
      {kOfficials, {{"PCT_TYPE", "PER"}, {"PCT_AFUNCT", "JDG"}, {"PCT_ODRYT1", "0"}, {"PCT_PCTID", "0"}}},
      {kCouples, {{"PCT_TYPE", "COU"}, {"PCT_ODRYT3", "48"}, {"PCT_GENDER", "M"}, {"PCT_CSNAM", "/"}}},
      {kTeams, {{"PCT_TYPE", "PTS"}, {"PCT_AFUNCT", ""}, {"PCT_COMPOF", "a"}, {"PCT_PCLBID", "0"}}},
      {kClubs, {{"PCT_TYPE", "CLU"}, {"PCT_CLBID", "0"}, {"PCT_GENDER", "M"}, {"PCT_STAT", "A"}}},
  };
  for (const auto& [type, expected] : cases) {
    FieldMap fields;
    ASSERT_TRUE(basic().initPCT(type, &fields));
    for (const auto& [key, value] : expected) EXPECT_EQ(fields.at(key), value) << type << key;
    EXPECT_EQ(fields.count("PCT_AFUNCT"), type == kCouples || type == kClubs ? 0u : 1u);
    EXPECT_EQ(fields.count("PCT_PCTID"), type == kCouples ? 0u : 1u);
  }
  FieldMap fields;
  EXPECT_FALSE(basic().initPCT(64, &fields));
}

TEST_F(NamesTest, CombineNames) {
  const FieldMap cole = {{"PCT_GNAME", "Haven"}, {"PCT_GNAMEI", "H."}, {"PCT_FNAMEC", "COLE"},
                         {"PCT_CLBID", "1"}, {"clubName", "Bayview"}};
  const FieldMap lane = {{"PCT_GNAME", "Timothy"}, {"PCT_GNAMEI", "T."}, {"PCT_FNAMEC", "LANE"},
                         {"PCT_CLBID", "0"}, {"clubName", "None"}};
  struct Case {
    bool addClub;
    int max;
    bool familyOnly;
    const char* name;
  };
  for (const Case& c : {Case{false, 30, true, "COLE/LANE"},
                        Case{false, 30, false, "Haven COLE / Timothy LANE"},
                        Case{false, 23, false, "Haven COLE/Timothy LANE"},
                        Case{false, 24, false, "Haven COLE/ Timothy LANE"},
                        Case{false, 20, false, "H. COLE / T. LANE"},
                        Case{true, 30, false, "H. COLE, Bayview / T. LANE"},
                        Case{false, 12, false, "H. CO/T. LAN"},
                        Case{true, 16, false, "H. COLE,/T. LANE"}}) {
    EXPECT_EQ(basic().combineNames(cole, lane, c.addClub, c.max, c.familyOnly), c.name) << c.max;
  }
}

TEST(ClubNameTest, Cleaner) {
  struct Case {
    int bits;
    const char* in;
    const char* out;
  };
  for (const Case& c : {
           Case{15, "The Skating Club of Riverton, Inc.", "SC of Riverton"},
           Case{15, "\"Blue\" Blades  ", "Blue Blades"},
           Case{1, "THEATRE ON ICE", "THEATRE ON ICE"},
           Case{1, "The Theatre Club", "Theatre Club"},
           Case{1, "THE", ""},
           Case{2, "ZINC", "ZINC"},
           Case{2, "Zinc Skaters Inc", "Zinc Skaters"},
           Case{2, "Acme, Inc", "Acme"},
           Case{2, "Acme Inc.", "Acme"},
           Case{4, "Riverton Figure Skating Club", "Riverton FSC"},
           Case{8, "Bayview skating club", "Bayview SC"},
           Case{12, "Riverton Figure Skating Club", "Riverton FSC"},
           Case{0, " The Club, Inc. ", "The Club, Inc."},
       }) {
    std::string name = c.in;
    cleanClubNameWith(&name, c.bits);
    EXPECT_EQ(name, c.out) << c.in << " / " << c.bits;
  }
}

TEST(AbbreviationsTest, FileFormatAndShortening) {
  AbbreviationTable table;
  ASSERT_TRUE(Abbreviations::parse(
      "# comment\n\n  NEW YORK \t NY \r\nNEW YORK\tN.Y.\n\t\nBRITISH COLUMBIA\tBC", &table));
  EXPECT_EQ(table, (AbbreviationTable{{"NEW YORK", "N.Y."}, {"BRITISH COLUMBIA", "BC"}}));
  table.clear();
  EXPECT_TRUE(Abbreviations::parse(std::string("\x01\xFF\x00" "ab\tc\n", 8), &table));
  EXPECT_EQ(table.size(), 1u);

  EXPECT_FALSE(Abbreviations::parse("A\tB\nno tab here\n", &table));
  EXPECT_TRUE(test::keptErrorHas("Invalid abbrev line: no tab here"));
  EXPECT_FALSE(Abbreviations::parse(std::string(100000, 'x'), &table));
  EXPECT_LT(getErrStr().size(), 300u);
  EXPECT_TRUE(test::keptErrorHas("Invalid abbrev line: xxxx"));

  test::TempDir dir;
  Abbreviations files;
  EXPECT_FALSE(files.load(dir.path()));
  EXPECT_TRUE(test::keptErrorHas("Unable to open: " + dir.path() +
                                 "/state_abbrev  for reading: No such file or directory"));
  test::writeFile(dir.file("state_abbrev"), "BRITISH COLUMBIA\tBC\n");
  test::writeFile(dir.file("misc_abbrev"), "SKATING\tSk\nCLUB\tCl\n");
  ASSERT_TRUE(files.load(dir.path())) << getErrStr();

  struct Case {
    const char* value;
    int width;
    const char* out;
  };
  for (const Case& c : {Case{"British Columbia Skating Club", 40, "British Columbia Skating Club"},
                        Case{"British Columbia Skating Club", 20, "BC Skating Club"},
                        Case{"British Columbia Skating Club", 10, "BC Sk Club"},
                        Case{"British Columbia Skating Club", 9, "BC Sk Cl"},
                        Case{"Northbritish Columbia Skating", 22, "Northbritish Columbia Sk"},
                        Case{"  Skating   Union  ", 10, "Sk Union"}}) {
    EXPECT_EQ(files.abbreviate(c.value, c.width), c.out) << c.value << " " << c.width;
  }
  EXPECT_EQ(Abbreviations().abbreviate("British Columbia Skating Club", 5),
            "British Columbia Skating Club");
  // Only the first occurrence of an entry counts, and only as whole words.
  Abbreviations saint;
  saint.setTables({{"SAINT", "St"}}, {});
  EXPECT_EQ(saint.abbreviate("Saintly Skaters of Saint Paul", 10), "Saintly Skaters of Saint Paul");
  EXPECT_EQ(saint.abbreviate("Saint Paul Saintly", 10), "St Paul Saintly");
}

TEST(NameCaseTest, WesternCodePageOnly) {
  EXPECT_EQ(upperName("M\xE4kel\xE4 \xF7 \xFF", 0x03), "M\xC4KEL\xC4 \xF7 \x9F");
  EXPECT_EQ(upperName("M\xE4kel\xE4", 0xC9), "M\xE4KEL\xE4");
}

}  // namespace
}  // namespace tav
