// The register over a small database: building by kind, identifier queries,
// lists, finds, planned elements, element names, field access, additions and
// the bulk updates of the register.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "dbf/dbf.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

using Strings = std::vector<std::string>;
using Ints = std::vector<int>;

const std::vector<DbfFieldDef> kPctFields = {
    {"PCT_ID", 'N', 6},     {"PCT_TYPE", 'C', 3},   {"PCT_AFUNCT", 'C', 3}, {"PCT_CNAME", 'C', 40},
    {"PCT_GNAME", 'C', 20}, {"PCT_FNAME", 'C', 20}, {"PCT_FNAMEC", 'C', 20}, {"PCT_GNAMEI", 'C', 2},
    {"PCT_SNAME", 'C', 8},  {"PCT_REGNO", 'C', 10}, {"PCT_PCTID", 'N', 6},  {"PCT_PPCTID", 'N', 6},
    {"PCT_CLBID", 'N', 6},  {"PCT_PCLBID", 'N', 6}, {"PCT_NAT", 'C', 3},    {"PCT_PLNAME", 'C', 30},
    {"PCT_PSNAME", 'C', 16}, {"PCT_TLNAME", 'C', 24}, {"PCT_TSNAME", 'C', 12}, {"PCT_S1NAME", 'C', 16},
    {"PCT_S2NAME", 'C', 16}, {"PCT_S3NAME", 'C', 16}, {"PCT_S4NAME", 'C', 12}, {"PCT_RESCIT", 'C', 20},
    {"PCT_SPMNAM", 'C', 20}, {"PCT_FSMNAM", 'C', 20}, {"PCT_INAME", 'C', 16}};

// Record numbers of the PCT rows below.
enum Row { kStPaul, kRiverton, kKessel, kOther, kZoe, kBen, kNameless, kCouple, kTeam, kGone, kBen2 };

DbfBuilder pctTable() {
  DbfBuilder pct(kPctFields);
  // ID TYPE AFUNCT CNAME GNAME FNAME FNAMEC GNAMEI SNAME REGNO PCTID PPCTID CLBID PCLBID NAT
  // PLNAME PSNAME TLNAME TSNAME S1 S2 S3 S4 RESCIT SPMNAM FSMNAM INAME
  pct.addRecord({"1001", "CLU", "", "ST PAUL", "", "", "", "", "ST PAUL"});
  pct.addRecord({"1002", "CLU", "", "The Skating Club of Riverton, Inc.", "", "", "", "",
                 "THESKATI", "", "", "", "", "", "", "Riverton", "", "", "", "S1"});
  pct.addRecord({"2001", "PER", "JDG", "Mara KESSEL", "Mara", "Kessel", "KESSEL", "M.", "KessMara",
                 "", "0", "0", "0", "0", "GER", "", "", "", "", "Old line", "", "", "", "Undefined"});
  pct.addRecord({"2002", "PER", "XXX", "Other Person", "Other", "Person"});
  pct.addRecord({"3001", "PER", "CMP", "Zo\xE9 MARTIN", "Zo\xE9", "Martin", "MARTIN", "Z.", "MART",
                 "00123", "0", "0", "1001", "0", "FRA", "", "", "", "", "", "", "", "", "", "Bolero",
                 "Carmen", "Z. MARTIN"});
  pct.addRecord({"3002", "PER", "CMP", "Ben MARTIN", "Ben", "Martin", "MARTIN", "B.", "MART", "12A",
                 "0", "0", "1002", "0", "FRA"});
  pct.addRecord({"3003", "PER", "CMP", "", "", "", "", "", "AAAA", "456", "0", "0", "1001"});
  pct.addRecord({"4001", "COU", "", "Zo\xE9 MARTIN / Ben MARTIN", "Zo\xE9", "Martin", "", "", "MARTMART",
                 "", "3001", "3002", "1001", "1002", "FRA"});
  pct.addRecord({"5001", "PTS", "", "Team A", "", "", "", "", "Team A", "777", "0", "0", "1002"});
  pct.addRecord({"3004", "PER", "CMP", "Gone Skater", "Gone", "Skater", "", "", "GONE", "999"}, true);
  pct.addRecord({"3005", "PER", "CMP", "Ben MARTIN", "Ben", "Martin", "MARTIN", "B.", "ZZZ", "+0456"});
  return pct;
}

DbfBuilder pelTable() {
  std::vector<DbfFieldDef> fields = {{"PEL_ID", 'N', 6}, {"PCT_ID", 'N', 6}};
  for (const char* family : {"1NAE", "2NAE", "1NLE", "2NLE", "1TRA", "2TRA"}) {
    for (int n = 1; n <= 20; ++n) {
      char name[12];
      std::snprintf(name, sizeof name, "PEL_%s%02d", family, n);
      fields.push_back({name, 'C', 8});
    }
  }
  DbfBuilder pel(fields);
  Strings row(2 + 120);
  row[0] = "7";
  row[1] = "3001";
  row[2] = "3Lz+2T";         // PEL_1NAE01
  row[3] = "a{b";            // PEL_1NAE02
  row[22] = "4T";            // PEL_2NAE01
  row[42] = "3Lz";           // PEL_1NLE01
  row[82] = "x";             // PEL_1TRA01
  pel.addRecord(row);
  return pel;
}

std::map<std::string, DbfBuilder> registerTables() {
  std::map<std::string, DbfBuilder> tables;
  tables.emplace("PCT", pctTable());
  tables.emplace("PEL", pelTable());
  DbfBuilder nat({{"NAT_OMF", 'C', 3}, {"NAT_NAME", 'C', 20}, {"NAT_SORT", 'C', 10}});
  nat.addRecord({"fra", "France", "FRANCE"}).addRecord({"CAN", "Canada", "CANADA"});
  tables.emplace("NAT", nat);
  DbfBuilder elm({{"ELM_ID", 'N', 6}, {"ELM_GROUP", 'C', 1}, {"ELM_SNAME", 'C', 12},
                  {"ELM_SNAMWL", 'C', 12}, {"ELM_NAME", 'C', 40}, {"ELM_TYPE", 'C', 1}});
  elm.addRecord({"1", "S", "3Lz", "3Lz", "Triple Lutz", "J"})
      .addRecord({"2", "S", "2T", "2T", "Double Toe Loop", "J"})
      .addRecord({"3", "T", "I4", "I", "Intersection Level 4", "G"})
      .addRecord({"4", "T", "Bl4", "Bl", "Block Level 4", "G"})
      .addRecord({"5", "T", "ME4", "ME", "Move Element Level 4", "G"})
      .addRecord({"6", "S", "4T", "4T", "Quadruple Toe Loop", "J"}, true);
  tables.emplace("ELM", elm);
  DbfBuilder ell({{"ELL_ID", 'N', 6}, {"ELL_ELM_ID", 'N', 6}, {"ELL_DETAIL", 'C', 40}});
  ell.addRecord({"1", "5", "I4+Bl4"});
  tables.emplace("ELL", ell);
  DbfBuilder dgr({{"DGR_ID", 'N', 6}, {"DGR_NAME", 'C', 12}, {"DGR_DESC", 'C', 40}});
  dgr.addRecord({"1", "SEQ", "Jump sequences"})
      .addRecord({"2", "FSM", "Free skating movements"})
      .addRecord({"3", "SpDir", "Spins in one direction"});
  tables.emplace("DGR", dgr);
  DbfBuilder wbg({{"WBG_ID", 'N', 6}});
  wbg.addRecord({"1"}).addRecord({"2"});
  tables.emplace("WBG", wbg);
  return tables;
}

class RegisterTest : public ::testing::Test {
 protected:
  void SetUp() override { open(registerTables()); }
  void TearDown() override { session().close(); }

  void open(const std::map<std::string, DbfBuilder>& tables) {
    session().close();
    test::writeDatabase(dir_.path(), 11135, tables);
    ASSERT_TRUE(session().openDB(dir_.path())) << getErrStr();
    ASSERT_TRUE(basic().populate(0, -1)) << getErrStr();
  }

  CDbf& pct() { return *session().handles().getDbfHandlePtr("PCT"); }

  std::string field(int recNo, const char* name) {
    return std::string(pct().fieldText(recNo, pct().findField(name)));
  }

  Strings names(int type) {
    Strings out;
    EXPECT_TRUE(basic().getPctNames(type, &out)) << getErrStr();
    return out;
  }

  Ints byName(int type, const std::string& name) {
    Ints out;
    EXPECT_TRUE(basic().findByName(type, name, &out)) << getErrStr();
    return out;
  }

  test::TempDir dir_;
};

TEST_F(RegisterTest, KindsAndOrderedLists) {
  EXPECT_EQ(names(kOfficials), Strings({"Mara KESSEL"}));
  // Equal sort names (MART) keep record order; an empty name is marked.
  EXPECT_EQ(names(kCompetitors),
            Strings({"<Empty Name>", "Zo\xE9 MARTIN", "Ben MARTIN", "Ben MARTIN"}));
  EXPECT_EQ(names(kCouples), Strings({"Zo\xE9 MARTIN / Ben MARTIN"}));
  EXPECT_EQ(names(kTeams), Strings({"Team A"}));
  EXPECT_EQ(names(kClubs), Strings({"ST PAUL", "The Skating Club of Riverton, Inc."}));
  // A person of another function is only in the identifier map.
  EXPECT_TRUE(basic().isValidPctId(2002));
  EXPECT_TRUE(basic().isValidPctId(0));
  EXPECT_FALSE(basic().isValidPctId(3004));  // deleted
  EXPECT_TRUE(basic().isValidWbgId(2));
  EXPECT_FALSE(basic().isValidWbgId(3));
  EXPECT_EQ(basic().nextPctId(), 5002);

  int id = 0, recNo = 0;
  EXPECT_TRUE(basic().getPctListId(kCompetitors, 1, &id));
  EXPECT_TRUE(basic().getPctListRecNo(kCompetitors, 1, &recNo));
  EXPECT_EQ(std::make_pair(id, recNo), std::make_pair(3001, static_cast<int>(kZoe)));

  struct BadIndex {
    int type, index;
    const char* message;
  };
  for (const BadIndex& c : {BadIndex{kCompetitors, -1, "Invalid index: -1"},
                            BadIndex{kCompetitors, 4, "Index: 4  >= size: 4"},
                            BadIndex{32, 0, "Invalid type: 32"}}) {
    EXPECT_FALSE(basic().getPctListId(c.type, c.index, &id));
    EXPECT_TRUE(test::keptErrorHas(c.message));
  }

  std::string club1, club2;
  EXPECT_TRUE(basic().getPctListClubIdxs(kCouples, 0, &club1, &club2));
  EXPECT_EQ(club1 + " " + club2, "0 1");
  EXPECT_TRUE(basic().getPctListClubIdxs(kTeams, 0, &club1, &club2));
  EXPECT_EQ(club1 + " " + club2, "1 -1");
  EXPECT_FALSE(basic().getPctListClubIdxs(kClubs, 0, &club1, &club2));

  Ints couples;
  for (const auto& [ids, expected] : std::vector<std::pair<std::pair<int, int>, Ints>>{
           {{3001, 0}, {4001}}, {{3002, 0}, {}}, {{0, 3002}, {4001}}, {{3001, 3002}, {4001}},
           {{3002, 3001}, {}}, {{0, 0}, {}}}) {
    EXPECT_TRUE(basic().getCoupleListId(ids.first, ids.second, &couples));
    EXPECT_EQ(couples, expected) << ids.first << " " << ids.second;
  }

  Strings nations;
  std::string code;
  EXPECT_TRUE(basic().getNatNames(&nations));
  EXPECT_EQ(nations, Strings({"CAN Canada", "fra France"}));
  EXPECT_TRUE(basic().getNatListOmf(1, &code));
  EXPECT_EQ(code, "fra");
  EXPECT_FALSE(basic().getNatListOmf(2, &code));
  EXPECT_TRUE(test::keptErrorHas("Index: 2  >= size: 2"));
}

TEST_F(RegisterTest, IdentifierQueries) {
  struct Case {
    int id;
    std::string name, nation, regNo, type, sp;
  };
  const std::vector<Case> cases = {
      {0, "", "", "", "", ""},
      {3001, "Zo\xE9 MARTIN", "FRA", "00123", "PER", "Bolero"},
      {4001, "Zo\xE9 MARTIN / Ben MARTIN", "FRA", "", "COU", ""},
      {9999, "Not found", "Not found", "", "", "Not found"},
  };
  for (const Case& c : cases) {
    std::string name, nation, regNo, type, sp;
    EXPECT_TRUE(basic().getPctIdName(c.id, &name));
    EXPECT_TRUE(basic().getPctIdNation(c.id, &nation));
    EXPECT_TRUE(basic().getPctIdRegNo(c.id, &regNo));
    EXPECT_TRUE(basic().getPctIdType(c.id, &type));
    EXPECT_TRUE(basic().getPctIdSpMusic(c.id, &sp));
    EXPECT_EQ((Strings{name, nation, regNo, type, sp}),
              (Strings{c.name, c.nation, c.regNo, c.type, c.sp}))
        << c.id;
  }
  EXPECT_TRUE(test::keptErrorHas("No recNo for id: 9999"));

  std::string text, other;
  EXPECT_TRUE(basic().getPctIdName(3001, &text, "INAME"));
  EXPECT_EQ(text, "Z. MARTIN");
  EXPECT_TRUE(basic().getPctIdRegNos(4001, &text, &other));
  EXPECT_EQ(text + "|" + other, "00123|12A");
  EXPECT_TRUE(basic().getPctIdRegNos(3002, &text, &other));
  EXPECT_EQ(text + "|" + other, "12A|");

  int club = 0, partnerClub = 0;
  EXPECT_TRUE(basic().getPctIdClubIds(4001, &club, &partnerClub));
  EXPECT_EQ(std::make_pair(club, partnerClub), std::make_pair(1001, 1002));
  EXPECT_TRUE(basic().getPctIdClubIds(3002, &club, &partnerClub));
  EXPECT_EQ(std::make_pair(club, partnerClub), std::make_pair(1002, -1));

  EXPECT_TRUE(basic().getPctIdNameClub(3002, &text, &other));
  EXPECT_EQ(text + "|" + other, "Ben MARTIN|The Skating Club of Riverton, Inc.");
  std::string name, name1, club1, name2, club2;
  EXPECT_TRUE(basic().getPctIdNamesClubs(4001, &name, &name1, &club1, &name2, &club2));
  EXPECT_EQ((Strings{name1, club1, name2, club2}),
            (Strings{"Zo\xE9 MARTIN", "ST PAUL", "Ben MARTIN", "The Skating Club of Riverton, Inc."}));
  EXPECT_TRUE(basic().getPctIdNamesClubs(3001, &name, &name1, &club1, &name2, &club2));
  EXPECT_EQ((Strings{name1, club1, name2, club2}), (Strings{"Zo\xE9 MARTIN", "ST PAUL", "", ""}));
  EXPECT_TRUE(basic().getPctIdNamesClubs(9999, &name, &name1, &club1, &name2, &club2));
  EXPECT_EQ((Strings{name, name1, name2}), (Strings{"Not found", "Not found", "Not found"}));
}

TEST_F(RegisterTest, Finds) {
  Ints found;
  struct RegCase {
    int type, regNo;
    Ints recNos;
  };
  // 00123 is indexed as 123, +0456 as 456; 12A is in no index.
  for (const RegCase& c : {RegCase{kCompetitors, 123, {kZoe}}, RegCase{kCompetitors, 456, {kNameless, kBen2}},
                           RegCase{kTeams, 777, {kTeam}}, RegCase{kCompetitors, 12, {}},
                           RegCase{kCompetitors, 999, {}}}) {
    EXPECT_TRUE(basic().findByRegNo(c.type, c.regNo, &found));
    EXPECT_EQ(found, c.recNos) << c.regNo;
  }
  EXPECT_FALSE(basic().findByRegNo(kClubs, 1, &found));
  EXPECT_TRUE(test::keptErrorHas("Invalid type: 16"));

  struct NameCase {
    int type;
    std::string name;
    Ints recNos;
  };
  const std::vector<NameCase> cases = {
      {kCompetitors, "zo\xE9 martin", {kZoe}},  // only a-z change case; é matches as stored
      {kCompetitors, "ZO\xC9 MARTIN", {}},
      {kCompetitors, "ben martin", {kBen, kBen2}},
      {kClubs, "ST. PAUL", {kStPaul}},
      {kClubs, "st paul", {kStPaul}},
      {kOfficials, "Other Person", {}},
      {kElements, "S+3lz", {0}},        // element keys give ELM record numbers
      {kElements, "T+I4+BL4", {4}},     // an element named by its parts
      {kElements, "S+5Lz", {}},
  };
  for (const NameCase& c : cases) EXPECT_EQ(byName(c.type, c.name), c.recNos) << c.name;
  EXPECT_TRUE(basic().findByName(kCompetitors, "ben", "MARTIN", &found));
  EXPECT_EQ(found, Ints({kBen, kBen2}));
  EXPECT_TRUE(basic().findByName(kCouples, "ben", "MARTIN", &found));
  EXPECT_EQ(found, Ints());
  EXPECT_FALSE(basic().findByName(32, "x", &found));

  Strings duplicates;
  EXPECT_TRUE(basic().duplicatePCT(kCompetitors, &duplicates));
  EXPECT_EQ(duplicates, Strings({"BEN MARTIN"}));
  EXPECT_TRUE(basic().duplicatePCT(kClubs, &duplicates));
  EXPECT_EQ(duplicates, Strings());
}

TEST_F(RegisterTest, PlannedElementsAndElementNames) {
  Strings first, second;
  EXPECT_TRUE(basic().getPctPelData(3001, 0, false, &first, &second));
  ASSERT_EQ(first.size(), 40u);
  ASSERT_EQ(second.size(), 40u);
  EXPECT_EQ((Strings{first[0], first[1], first[20], second[0]}), (Strings{"3Lz+2T", "a{b", "4T", "x"}));
  EXPECT_TRUE(basic().getPctPelData(3001, 1, true, &first, &second));
  EXPECT_EQ(first.size(), 20u);
  EXPECT_EQ(first[0], "3Lz");
  EXPECT_TRUE(basic().getPctPelData(3002, 0, false, &first, &second));
  EXPECT_TRUE(first.empty() && second.empty());

  struct NameCase {
    std::string key, name;
  };
  for (const NameCase& c : {NameCase{"S+3Lz", "Triple Lutz"},
                            NameCase{"S+3Lz*", "Triple Lutz (Invalid)"},
                            NameCase{"T+I4+Bl4", "Move Element Level 4"},
                            NameCase{"S+9Q", "Unknown"}}) {
    std::string name;
    EXPECT_TRUE(basic().getElmFullName(c.key, &name)) << getErrStr();
    EXPECT_EQ(name, c.name);
  }
  std::string type = "?", nameWl = "?";
  EXPECT_TRUE(basic().getElmNameType("T+ME4", &type, &nameWl));
  EXPECT_EQ(type + nameWl, "GME");
  EXPECT_TRUE(basic().getElmNameType("T+XX", &type, &nameWl));
  EXPECT_EQ(type + nameWl, "GME");  // unchanged when not found

  for (const auto& [code, shortName] : std::vector<std::pair<std::string, std::string>>{
           {"seq", "Jump seq"}, {"FSM", "FS movements"}, {"spdir", "Spins in one dir"}, {"3T", ""}}) {
    std::string name = "x";
    EXPECT_TRUE(basic().getElmShortName(code, &name));
    EXPECT_EQ(name, shortName);
  }
  int recNo = 0;
  EXPECT_TRUE(basic().getElmIdRecNo(5, &recNo));
  EXPECT_EQ(recNo, 4);
  EXPECT_FALSE(basic().getElmIdRecNo(6, &recNo));  // deleted
}

TEST_F(RegisterTest, DeletedElementAndUnresolvedDetail) {
  auto tables = registerTables();
  DbfBuilder elm({{"ELM_ID", 'N', 6}, {"ELM_GROUP", 'C', 1}, {"ELM_SNAME", 'C', 12},
                  {"ELM_SNAMWL", 'C', 12}, {"ELM_NAME", 'C', 40}, {"ELM_TYPE", 'C', 1}});
  elm.addRecord({"1", "S", "3Lz", "3Lz", "Triple Lutz", "J"});
  tables.erase("ELM");
  tables.emplace("ELM", elm);
  session().close();
  test::writeDatabase(dir_.path(), 11135, tables);
  ASSERT_TRUE(session().openDB(dir_.path()));
  EXPECT_FALSE(basic().populate(kElements, -1));
  EXPECT_TRUE(test::keptErrorHas("Invalid element detail: I4+Bl4"));
  // An element deleted after the register was built.
  open(registerTables());
  ASSERT_TRUE(session().handles().getDbfHandlePtr("ELM")->deleteRec(0));
  std::string name;
  EXPECT_FALSE(basic().getElmFullName("S+3Lz", &name));
  EXPECT_TRUE(test::keptErrorHas("Record deleted: 0"));
}

TEST_F(RegisterTest, RepopulateLeavesNothingStale) {
  // One record changes identifier, name and kind, and is repopulated alone.
  ASSERT_TRUE(pct().updateRec(kBen, {"PCT_ID=3100", "PCT_CNAME=Benjamin MARTIN", "PCT_AFUNCT=JDG",
                                     "PCT_REGNO=55"}));
  ASSERT_TRUE(basic().populate(0, kBen));
  EXPECT_FALSE(basic().isValidPctId(3002));
  EXPECT_TRUE(basic().isValidPctId(3100));
  EXPECT_EQ(names(kCompetitors), Strings({"<Empty Name>", "Zo\xE9 MARTIN", "Ben MARTIN"}));
  EXPECT_EQ(names(kOfficials), Strings({"Mara KESSEL", "Benjamin MARTIN"}));
  EXPECT_EQ(byName(kCompetitors, "BEN MARTIN"), Ints({kBen2}));
  Ints found;
  EXPECT_TRUE(basic().findByRegNo(kOfficials, 55, &found));
  EXPECT_EQ(found, Ints({kBen}));

  // A masked rebuild after a deletion: the identifier map loses the entry.
  ASSERT_TRUE(pct().deleteRec(kTeam));
  ASSERT_TRUE(basic().populate(kTeams, -1));
  EXPECT_FALSE(basic().isValidPctId(5001));
  EXPECT_EQ(names(kTeams), Strings());
  EXPECT_EQ(names(kOfficials).size(), 2u);  // other kinds stay

  EXPECT_FALSE(basic().populate(0, 99));
  EXPECT_TRUE(test::keptErrorHas("Invalid pct record number: 99"));
}

TEST_F(RegisterTest, NothingPopulatedAnswersClearly) {
  basic().close(0);
  Ints found;
  Strings list;
  FieldMap fields;
  int recNo = 0;
  std::string name;
  const std::vector<std::pair<const char*, bool>> calls = {
      {"findByName", basic().findByName(kCompetitors, "X", &found)},
      {"findByRegNo", basic().findByRegNo(kCompetitors, 1, &found)},
      {"findByName elements", basic().findByName(kElements, "S+3LZ", &found)},
      {"calcNames", basic().calcNames(kCompetitors, &fields)},
      {"updateAddRec", basic().updateAddRec("PCT", &recNo, {}, 0)},
      {"updateAddRec PEL", basic().updateAddRec("PEL", &recNo, {}, 0)},
  };
  for (const auto& [what, ok] : calls) EXPECT_FALSE(ok) << what;
  EXPECT_TRUE(test::keptErrorHas("Register not populated"));
  // The identifier queries need no table: the identifier map is empty, so
  // every identifier is not found.
  EXPECT_TRUE(basic().getPctIdName(0, &name));
  EXPECT_EQ(name, "");
  EXPECT_TRUE(basic().getPctIdName(3001, &name));
  EXPECT_EQ(name, "Not found");
  std::string regNo = "x";
  EXPECT_TRUE(basic().getPctIdRegNo(3001, &regNo));
  EXPECT_EQ(regNo, "");
  // Reading a table again, or closing the session, empties the register.
  ASSERT_TRUE(basic().populate(0, -1));
  ASSERT_TRUE(session().loadHandle("NAT"));
  EXPECT_FALSE(basic().isPopulated());
  ASSERT_TRUE(basic().populate(0, -1));
  session().close();
  EXPECT_FALSE(basic().isPopulated());
  EXPECT_FALSE(basic().isValidPctId(3001));
}

TEST_F(RegisterTest, FieldReadAndWrite) {
  Strings fieldNames = {"PCT_CNAME", "PCT_NAT"}, values;
  EXPECT_TRUE(basic().getFieldData(3001, &fieldNames, &values));
  EXPECT_EQ(values, Strings({"Zo\xE9 MARTIN", "FRA"}));
  fieldNames.clear();
  EXPECT_TRUE(basic().getFieldData(3001, &fieldNames, &values));
  EXPECT_EQ(fieldNames.size(), kPctFields.size());
  EXPECT_EQ(fieldNames.front(), "PCT_AFUNCT");  // ascending by name

  // A person's new club goes to the couple it skates in.
  Strings changed;
  EXPECT_TRUE(basic().setFieldData(3002, {"PCT_CLBID", "PCT_NAT", "PCT_CNAME"},
                                   {"1001", "CAN", "Ben MARTIN"}, &changed));
  EXPECT_EQ(changed, Strings({"PCT_CLBID", "PCT_NAT"}));
  EXPECT_EQ(field(kCouple, "PCT_PCLBID"), "1001");
  EXPECT_EQ(field(kCouple, "PCT_CLBID"), "1001");
  EXPECT_EQ(field(kBen, "PCT_NAT"), "CAN");

  for (int id : {0, -4}) {
    EXPECT_FALSE(basic().setFieldData(id, {"PCT_NAT"}, {"XYZ"}));
    EXPECT_TRUE(test::keptErrorHas("Invalid pctId: " + std::to_string(id)));
  }
  EXPECT_EQ(field(kZoe, "PCT_NAT"), "FRA");

  ASSERT_TRUE(pct().deleteRec(kTeam));
  EXPECT_FALSE(basic().setFieldData(5001, {"PCT_NAT"}, {"XYZ"}));
  EXPECT_TRUE(test::keptErrorHas("Record deleted: 8"));
}

TEST_F(RegisterTest, UpdateAddRec) {
  int recNo = -1;
  EXPECT_TRUE(basic().updateAddRec("PCT", &recNo, {"PCT_CNAME=New One", "PCT_TYPE=CLU"}, 0));
  EXPECT_EQ(recNo, 11);
  EXPECT_EQ(field(11, "PCT_ID"), "5002");
  EXPECT_TRUE(basic().updateAddRec("PCT", &recNo, {"PCT_CNAME=Newer"}, 0));
  EXPECT_EQ(field(12, "PCT_ID"), "5003");
  EXPECT_TRUE(basic().updateAddRec("PCT", &recNo, {"PCT_NAT=SUI"}, 3001));
  EXPECT_EQ(recNo, kZoe);
  EXPECT_EQ(field(kZoe, "PCT_NAT"), "SUI");

  // Planned elements are found by their owner; a second call for a new owner
  // updates the record the first one added.
  EXPECT_TRUE(basic().updateAddRec("PEL", &recNo, {"PEL_1NAE01=3A"}, 3001));
  EXPECT_EQ(recNo, 0);
  EXPECT_TRUE(basic().updateAddRec("PEL", &recNo, {"PCT_ID=3002", "PEL_1NAE01=2A"}, 3002));
  EXPECT_EQ(recNo, 1);
  EXPECT_TRUE(basic().updateAddRec("PEL", &recNo, {"PEL_1NAE01=2Lz"}, 3002));
  EXPECT_EQ(recNo, 1);
  CDbf& pel = *session().handles().getDbfHandlePtr("PEL");
  EXPECT_EQ(pel.getNumRecs(), 2u);
  EXPECT_EQ(std::string(pel.fieldText(1, pel.findField("PEL_ID"))), "8");

  EXPECT_TRUE(basic().updateAddRec("ELM", &recNo, {"ELM_NAME=Other"}, 0));
  EXPECT_EQ(recNo, 6);
  EXPECT_FALSE(basic().updateAddRec("NAT", &recNo, {}, 0));
  EXPECT_TRUE(test::keptErrorHas("Invalid handle: NAT"));
}

// The next PCT_ID counts deleted records, never goes back on a rebuild within
// the session, and a new entry passes every identifier the tables refer to.
TEST_F(RegisterTest, NextPctIdNeverGoesBack) {
  EXPECT_EQ(basic().nextPctId(), 5002);
  // The largest identifier is deleted, then renumbered low: a rebuild keeps 5002.
  ASSERT_TRUE(pct().deleteRec(kTeam));
  ASSERT_TRUE(basic().populate(0, -1));
  EXPECT_EQ(basic().nextPctId(), 5002);
  ASSERT_TRUE(pct().updateRec(kTeam, {"PCT_ID=10"}));
  ASSERT_TRUE(basic().populate(0, -1));
  EXPECT_EQ(basic().nextPctId(), 5002);
  // A planned element still refers to an erased entry 6000.
  CDbf& pel = *session().handles().getDbfHandlePtr("PEL");
  ASSERT_TRUE(pel.updateRec(0, {"PCT_ID=6000"}));
  ASSERT_TRUE(basic().populate(0, -1));
  int recNo = -1;
  ASSERT_TRUE(basic().updateAddRec("PCT", &recNo, {"PCT_CNAME=New One", "PCT_TYPE=CLU"}, 0));
  EXPECT_EQ(field(recNo, "PCT_ID"), "6001");
  EXPECT_EQ(basic().nextPctId(), 6002);
  // Closing the database ends the count; the files on disk start it again.
  session().close();
  ASSERT_TRUE(session().openDB(dir_.path())) << getErrStr();
  ASSERT_TRUE(basic().populate(0, -1)) << getErrStr();
  EXPECT_EQ(basic().nextPctId(), 5002);
}

TEST_F(RegisterTest, BulkUpdatesOfTheRegister) {
  // Residences: a usable one replaces the first scoreboard line of an
  // official; "Undefined" or an empty one leaves it.
  ASSERT_TRUE(pct().updateRec(kOther, {"PCT_AFUNCT=JDG", "PCT_RESCIT=Lyon", "PCT_S1NAME=Keep"}));
  ASSERT_TRUE(basic().updateOffScoreboardName1());
  EXPECT_EQ(field(kKessel, "PCT_S1NAME"), "Old line");
  EXPECT_EQ(field(kOther, "PCT_S1NAME"), "Lyon");

  ASSERT_TRUE(basic().updateNatCodes(3001, "ITA"));
  EXPECT_EQ(field(kZoe, "PCT_NAT") + field(kBen, "PCT_NAT"), "ITAFRA");
  ASSERT_TRUE(basic().updateNatCodes(0, "AUT"));
  EXPECT_EQ(field(kZoe, "PCT_NAT") + field(kStPaul, "PCT_NAT") + field(kGone, "PCT_NAT"), "AUTAUT");
  EXPECT_FALSE(basic().updateNatCodes(-1, "X"));

  ASSERT_TRUE(basic().cleanAllClubNames());
  EXPECT_EQ(field(kRiverton, "PCT_CNAME"), "SC of Riverton");
  EXPECT_EQ(field(kRiverton, "PCT_SNAME"), "SC OF RI");
  EXPECT_EQ(field(kRiverton, "PCT_PLNAME"), "Riverton");
  EXPECT_EQ(field(kStPaul, "PCT_CNAME"), "ST PAUL");
}

}  // namespace
}  // namespace tav
