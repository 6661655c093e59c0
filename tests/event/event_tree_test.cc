// The event tree over the sample competition and over edited copies of it:
// status, stage, titles and result orders; the build's checks and messages;
// the score lists, panel, deductions and components; the faults mended in
// review (parallel panel lists, file names, deductions in floating point,
// venue positions, index checks, CAT_ID rewrite, a failed build discarded).
#include <gtest/gtest.h>

#include <sstream>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "dbf/dbf_builder.h"
#include "event/event_tree.h"
#include "event/field_number.h"
#include "event/node_record.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

using test::keptErrorHas;

const std::string kSample = std::string(TAVC_BINARY_DIR) + "/sample/db";

class EventTreeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(session().openDB(kSample)) << getErrStr(); }
  void TearDown() override { session().close(); }

  // Edits one record of the open database (not saved).
  void edit(const std::string& handle, const std::string& key, int id,
            const std::vector<std::string>& assignments) {
    const int recNo = session().getHandleRecNo(handle, key, std::to_string(id));
    ASSERT_GE(recNo, 0) << handle << " " << key << "=" << id;
    ASSERT_TRUE(session().updateHandleRecData(handle, recNo, assignments)) << getErrStr();
  }

  void populate() { ASSERT_TRUE(events().eventPopulate()) << getErrStr(); }
  // The register answers the names the tree asks for.
  bool basicReady() { return basic().populate(0, -1); }
  CCategory& category(int catId) { return *events().getEvtCatPtr(1, catId); }
  CSegment& segment(int catId, int scpId) { return *category(catId).getScpPtr(scpId); }
};

TEST(FieldNumberTest, ConversionsAndNames) {
  struct Int { const char* text; int value; };
  for (const Int& c : std::vector<Int>{{"  42", 42}, {"-7x", -7}, {"+3", 3}, {"", 0}, {"abc", 0},
                                       {"7.25", 7}, {"99999999999", 2147483647}}) {
    EXPECT_EQ(decimalInt(c.text), c.value) << c.text;
  }
  struct Score { const char* text; int decimals; int hundredths; };
  for (const Score& c : std::vector<Score>{{"  7.25", 2, 725}, {"-1.5", 2, -150}, {".5", 2, 50},
                                           {"7", 2, 700}, {"725", 0, 725}, {"", 2, 0},
                                           {"12.349", 2, 1234}}) {
    EXPECT_EQ(hundredthsOf(c.text, c.decimals), c.hundredths) << c.text;
  }
  EXPECT_EQ(numberedField("PRF_DED00", 5), "PRF_DED05");
  EXPECT_EQ(numberedField("PRF_DED00", 17), "PRF_DED17");
  EXPECT_EQ(numberedField("PRF_E00J00", 3, 7), "PRF_E03J07");
  EXPECT_EQ(numberedField("PRF_E00INF", 12), "PRF_E12INF");
  EXPECT_EQ(numberedField("PRF_C00PNL", 0), "PRF_C00PNL");
  EXPECT_EQ(numberedField("PRF_D00J00", 2, 15), "PRF_D02J15");
  EXPECT_EQ(numberedField("SCP_COM0", 6), "SCP_COM6");
  EXPECT_EQ(numberedField("SCP_COM0", 10), "");
  EXPECT_EQ(outFileName("CAT000", "12"), "CAT012");
  EXPECT_EQ(outFileName("CAT000", "123"), "CAT123");
  EXPECT_EQ(outFileName("CAT000", "123456"), "CAT123456");
  EXPECT_EQ(outFileName("SEG000", "123456"), "SEG123456");
  EXPECT_EQ(outFileName("CAT000", "1234567"), "CAT1234567");
}

// Every category of the sample: status, stage and result title.
TEST_F(EventTreeTest, SampleStatusStageAndTitles) {
  populate();
  std::ostringstream out;
  for (const auto& [catId, c] : events().getEvtPtr(1)->categories()) {
    int finished = 0, segments = 0;
    std::string marker, title, name;
    bool live = false;
    ASSERT_TRUE(c->getStatus(&finished, &marker, &segments));
    if (!c->getResultTitle(0, &title, &live)) title = "<" + getErrStr() + ">";
    ASSERT_TRUE(c->getOutFileBaseName('M', &name));
    out << catId << " [" << finished << marker << " of " << segments << "] stage " << c->stage()
        << " " << name << " " << title << "\n";
    for (const auto& [scpId, s] : c->segments()) {
      ASSERT_TRUE(s->getOutFileBaseName(-1, 'x', &name));
      out << "  " << scpId << " slot " << s->slot() << (s->isFirst() ? " first" : "")
          << (s->isLast() ? " last" : "") << " stage " << s->stage() << " " << name << "\n";
    }
  }
  EXPECT_EQ(out.str(),
            "1 [2   of 2] stage 14 M-CAT001 Final Results\n"
            "  11 slot 0 first stage 3 SEGSO011\n"
            "  12 slot 1 last stage 3 SEGSO012\n"
            "2 [1+ of 2] stage 4 M-CAT002 Results during Free Skating\n"
            "  21 slot 0 first stage 3 SEGSO021\n"
            "  22 slot 1 last stage 2 SEGSO022\n"
            "3 [1   of 2] stage 3 M-CAT003 Results after Short Program\n"
            "  31 slot 0 first stage 3 SEGSO031\n"
            "  32 slot 1 last stage 1 SEGSO032\n"
            "4 [3   of 3] stage 14 M-CAT004 Final Results\n"
            "  41 slot 0 first stage 3 SEGSO041\n"
            "  42 slot 1 stage 3 SEGSO042\n"
            "  43 slot 2 last stage 3 SEGSO043\n"
            "5 [2   of 2] stage 14 M-CAT005 Final Results\n"
            "  51 slot 0 first stage 3 SEGSO051\n"
            "  52 slot 1 last stage 3 SEGSO052\n"
            "6 [0+ of 3] stage 4 M-CAT006 Intermediate Results\n"
            "  61 slot 0 first stage 2 SEGSO061\n"
            "  62 slot 1 stage 2 SEGSO062\n"
            "  63 slot 2 last stage 0 SEGSO063\n"
            "7 [0   of 2] stage 1 M-CAT007 <Inconsistant cat/seg status. Unable to create result title: Junior Men>\n"
            "  71 slot 0 first stage 1 SEGSO071\n"
            "  72 slot 1 last stage 0 SEGSO072\n");
}

// Segment and category result orders: placed by place, to skate by start
// number, entries with a status after them.
TEST_F(EventTreeTest, ResultOrders) {
  populate();
  std::ostringstream out;
  auto dumpSegment = [&](int catId, int scpId) {
    SegmentResults r;
    ASSERT_TRUE(segment(catId, scpId).sortResults(&r)) << getErrStr();
    out << scpId << " placed";
    for (const auto& [key, p] : r.placed) out << " " << key << ":" << p->id();
    out << " toSkate";
    for (const auto& [key, p] : r.toSkate) out << " " << key << ":" << p->id();
    out << " withStatus";
    for (const auto& [key, p] : r.withStatus) out << " " << key << ":" << p->id();
    out << (r.bonus ? " bonus" : "") << "\n";
  };
  auto dumpCategory = [&](int catId, int slot) {
    CategoryResults r;
    ASSERT_TRUE(category(catId).sortResults(slot, &r)) << getErrStr();
    out << "cat " << catId << " slot " << r.slot << " placed";
    for (const auto& [key, p] : r.placed) out << " " << key << ":" << p->id();
    out << " toSkate";
    for (const auto& [key, p] : r.toSkate) out << " " << key << ":" << p->id();
    out << " withStatus";
    for (const auto& [key, p] : r.withStatus) out << " " << key << ":" << p->id();
    out << " [" << r.toSkateSegName << "]\n";
  };
  dumpSegment(1, 12);
  dumpSegment(2, 22);
  dumpSegment(6, 61);
  dumpCategory(1, -1);
  dumpCategory(1, 0);
  dumpCategory(2, -1);
  dumpCategory(7, -1);
  // A withdrawn entry (109 did not reach the final, 108 withdrew) is listed
  // after the placed ones, highest points first; asked for the short
  // program explicitly, both skated it and are placed.
  EXPECT_EQ(out.str(),
            "12 placed 1:14 2:15 3:17 4:10 5:13 6:16 7:12 toSkate withStatus 0:11\n"
            "22 placed 1:34 2:31 3:30 4:33 5:32 toSkate 6:35 7:36 8:37 9:38 10:39 11:40 withStatus\n"
            "61 placed 1:90 2:88 3:89 4:87 toSkate 5:91 6:92 7:93 withStatus bonus\n"
            "cat 1 slot 1 placed 1:101 2:102 3:107 4:104 5:105 6:103 7:106 toSkate withStatus 193406:109 195107:108 200000:110 []\n"
            "cat 1 slot 0 placed 1:101 2:102 3:104 4:107 5:105 6:103 7:106 8:109 9:108 toSkate withStatus 200000:110 []\n"
            "cat 2 slot 1 placed 1:210 2:208 3:206 4:209 5:211 toSkate 6:204 7:203 8:202 9:205 10:207 11:201 withStatus 200000:212 [Free Skating]\n"
            "cat 7 slot -1 placed toSkate withStatus []\n");
  CategoryResults r;
  EXPECT_FALSE(category(1).sortResults(2, &r));
  EXPECT_TRUE(keptErrorHas("CCategory.sortResults: Invalid segment: 2"));
  EXPECT_FALSE(category(1).sortResults(-5, &r));
  EXPECT_TRUE(keptErrorHas("Invalid segment: -5"));
  // Segment slots of a participant are checked at both ends.
  const CParticipant& p = *category(1).getParPtr(101);
  char letter = 0;
  bool in = false;
  int points = 0, place = 0;
  EXPECT_FALSE(p.getSegStatus(-1, &letter));
  EXPECT_TRUE(keptErrorHas("CParticipant.getSegStatus: Invalid segment: -1"));
  EXPECT_FALSE(p.inSegment(6, 0, &in));
  EXPECT_TRUE(keptErrorHas("Invalid segment: 6"));
  EXPECT_FALSE(p.getSegPointPlace(-3, &points, &place));
  EXPECT_TRUE(keptErrorHas("Invalid segment: -3"));
}

// The build: a slot naming no segment, a segment no slot names, and the
// messages of a foreign participant, a duplicate and a second build.
TEST_F(EventTreeTest, BuildChecksAndMessages) {
  edit("CAT", "CAT_ID", 1, {"CAT_SCPID3=999"});
  edit("SCP", "SCP_ID", 63, {"CAT_ID=1"});  // no slot of category 1 names it
  populate();
  CCategory& c = category(1);
  std::vector<int> ids;
  std::vector<std::string> shortNames, names;
  ASSERT_TRUE(c.getScpIds(&ids));
  ASSERT_TRUE(c.getScpNames(&shortNames, &names));
  EXPECT_EQ(ids, (std::vector<int>{11, 12}));
  EXPECT_EQ(shortNames, (std::vector<std::string>{"SP", "FS", "XX"}));
  EXPECT_EQ(names.back(), "<Missing segment>");
  int id = 0;
  ASSERT_TRUE(c.getScpListId(2, &id));
  EXPECT_EQ(id, -999);
  EXPECT_FALSE(c.getScpListId(3, &id));
  EXPECT_TRUE(keptErrorHas("Invalid index: 3"));
  EXPECT_FALSE(c.getScpListId(6, &id));
  EXPECT_TRUE(keptErrorHas("Invalid segment index: 6"));
  EXPECT_FALSE(c.getScpListId(-1, &id));
  EXPECT_TRUE(keptErrorHas("Invalid index: -1"));
  const CSegment* stray = c.getScpPtr(63);
  ASSERT_NE(stray, nullptr);
  EXPECT_EQ(stray->slot(), -1);
  EXPECT_FALSE(stray->isFirst() || stray->isLast());
  EXPECT_EQ(c.segmentInSlot(1)->isLast(), true);

  // A second build over the complete tree fails on its first event and
  // leaves the tree as it was.
  EXPECT_FALSE(events().eventPopulate());
  EXPECT_EQ(getErrStr(), "event.eventPopulate: Duplicate event id: 1");
  EXPECT_NE(events().getEvtPtr(1), nullptr);
}

TEST_F(EventTreeTest, FailedBuildIsDiscardedAndRetryWorks) {
  // Performance 12 of segment 12 now names a participant of category 2.
  edit("PRF", "PRF_ID", 12, {"PAR_ID=201"});
  EXPECT_FALSE(events().eventPopulate());
  EXPECT_EQ(getErrStr(),
            "CSegment.constructor: No participant id: 201\n"
            "CCategory.constructor: Segment construction not complete for id: 12\n"
            "CEvent.constructor: Category construction not complete for id: 1\n"
            "CTav.eventPopulate: Event construction not complete for id: 1");
  EXPECT_TRUE(events().eventMap().empty());
  edit("PRF", "PRF_ID", 12, {"PAR_ID=102"});
  edit("PAR", "PAR_ID", 102, {"CAT_ID=1"});
  populate();
  EXPECT_EQ(events().eventMap().size(), 1u);
}

// A slot keeps a field's index for the layout it found it in: a table read
// again with its fields in another order, or another table, is looked up
// again; a node finds its table again once the handle was closed and opened.
TEST(FieldSlotTest, FollowsTheLayoutAndTheRegistry) {
  test::TempDir dir;
  const auto writeCat = [&](bool nameFirst) {
    DbfBuilder table(nameFirst ? std::vector<DbfFieldDef>{{"CAT_NAME", 'C', 20}, {"CAT_ID", 'N', 4}}
                               : std::vector<DbfFieldDef>{{"CAT_ID", 'N', 4}, {"CAT_NAME", 'C', 20}});
    table.addRecord(nameFirst ? std::vector<std::string>{"Ladies", "7"}
                              : std::vector<std::string>{"7", "Men"});
    test::writeFile(dir.file("CAT.DBF"), table.bytes());
  };
  FieldSlot name("CAT_NAME");
  CDbf cat;
  writeCat(false);
  ASSERT_TRUE(cat.populate("CAT", dir.path()));
  EXPECT_EQ(name.resolve(cat), 1);
  writeCat(true);
  ASSERT_TRUE(cat.populate("CAT", dir.path()));
  EXPECT_EQ(name.resolve(cat), 0);
  EXPECT_EQ(fieldOrEmpty(cat, 0, name), "Ladies");

  ASSERT_TRUE(session().setDirectoryPath(dir.path()));
  ASSERT_TRUE(session().loadHandle("CAT"));
  const NodeRecord node("CAT", 0);
  std::string text;
  ASSERT_TRUE(node.text(name, &text));
  EXPECT_EQ(text, "Ladies");
  session().close();
  EXPECT_FALSE(node.text(name, &text));
  EXPECT_TRUE(keptErrorHas("Handle does not exist: CAT"));
  writeCat(false);
  ASSERT_TRUE(session().setDirectoryPath(dir.path()));
  ASSERT_TRUE(session().loadHandle("CAT"));
  ASSERT_TRUE(node.text(name, &text));
  EXPECT_EQ(text, "Men");
  session().close();
}

TEST_F(EventTreeTest, DuplicateIdentifiers) {
  struct Case { const char* handle; const char* key; int id; std::string assignment; const char* message; };
  const std::vector<Case> cases = {
      {"CAT", "CAT_ID", 2, "CAT_ID=1", "CEvent.constructor: Duplicate category id: 1"},
      {"PAR", "PAR_ID", 102, "PAR_ID=101", "CCategory.constructor: Duplicate participant id: 101"},
      {"SCP", "SCP_ID", 12, "SCP_ID=11", "CCategory.constructor: Duplicate segment id: 11"},
      {"PRF", "PRF_ID", 2, "PRF_ID=1", "CSegment.constructor: Duplicate performance id: 1"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(session().openDB(kSample));
    edit(c.handle, c.key, c.id, {c.assignment});
    EXPECT_FALSE(events().eventPopulate());
    EXPECT_TRUE(keptErrorHas(c.message)) << c.handle;
    EXPECT_TRUE(events().eventMap().empty());
  }
}

// A record deleted after the build reads as deleted; so does one the table
// no longer holds, or a table that was closed.
TEST_F(EventTreeTest, RecordDeletedAfterBuild) {
  populate();
  CSegment& s = segment(1, 11);
  const int recNo = static_cast<int>(s.recNo());
  ASSERT_TRUE(session().delHandleRec("SCP", recNo));
  std::string name;
  EXPECT_FALSE(s.getName(&name));
  EXPECT_EQ(getErrStr(), "CSegment.getName: Record deleted: " + std::to_string(recNo));
  CPerformance* p = segment(1, 12).getPrfPtr(10);
  ASSERT_NE(p, nullptr);
  ASSERT_TRUE(session().clearHandleRecs("PRF"));
  int startNo = 0;
  EXPECT_FALSE(p->getStartNo(&startNo));
  EXPECT_TRUE(keptErrorHas("Record deleted: "));
}

// The protocol of the free skating winner: elements, components,
// deductions and the summary, in hundredths where integers are asked for.
TEST_F(EventTreeTest, ScoreLists) {
  populate();
  const CSegment& s = segment(1, 12);
  const CPerformance& p = *s.getPrfPtr(14);
  std::ostringstream out;
  std::vector<ElementDetail> elements;
  ASSERT_TRUE(p.getElmScoreDetail(false, false, &elements)) << getErrStr();
  for (const ElementDetail& e : elements) {
    out << e.number << " " << e.name << " [" << e.info << "] " << e.baseValue << " " << e.panel
        << " " << e.result << " h" << e.half << " grades";
    for (int g : e.grades) out << " " << g;
    out << " values";
    for (int v : e.judgeValues) out << " " << v;
    out << " = " << e.baseValuePoints << "+" << e.panelPoints << "=" << e.resultPoints << "\n";
  }
  ScoreSummaryText text;
  ScoreSummary sum;
  ASSERT_TRUE(p.getScoreSummaryStr(&text));
  ASSERT_TRUE(p.getScoreSummaryInt(&sum));
  out << "summary " << text.startNo << " " << text.place << " " << text.points << " "
      << text.elements << " " << text.components << " " << text.bonus << " | " << sum.points << " "
      << sum.elements << " " << sum.components << "\n";
  ComponentFactors factors{};
  ASSERT_TRUE(s.getValidCompIndexes(false, &factors));
  for (int c = 0; c < kComponentCount; ++c) {
    if (factors[c] == 0) continue;
    std::string panel, result;
    int panelH = 0, resultH = 0;
    std::vector<std::string> marks;
    ASSERT_TRUE(p.getCompScoreSummaryStr(c, &panel, &result));
    ASSERT_TRUE(p.getCompScoreSummaryInt(c, &panelH, &resultH));
    ASSERT_TRUE(p.getCompScoreDetail(c, &marks));
    out << "component " << c << " x" << factors[c] << " " << panel << " " << result << " "
        << panelH << " " << resultH << " marks";
    for (const std::string& m : marks) out << " " << m;
    out << "\n";
  }
  DeductionFactors dedFactors{};
  float total = 0;
  std::vector<std::string> dedNames;
  ASSERT_TRUE(s.getValidDedIndexes(&dedFactors));
  ASSERT_TRUE(s.getDedNames(dedFactors, &dedNames));
  ASSERT_TRUE(s.getDedTotal(dedFactors, p, &total));
  out << "deductions " << dedNames.size() << " " << dedNames.front() << " total " << total << "\n";
  EXPECT_EQ(out.str(),
            "1 4S [] 10.50 2.14 12.64 h0 grades 6 6 6 7 6 6 7 5 6 9 values 1250 1250 1250 1350 1250 1250 1350 1150 1250 0 = 1050+214=1264\n"
            "2 4T+3T [] 14.60 2.71 17.31 h0 grades 7 6 7 7 7 6 7 6 7 9 values 1760 1660 1760 1760 1760 1660 1760 1660 1760 0 = 1460+271=1731\n"
            "3 3A+2T [] 9.80 2.00 11.80 h0 grades 6 6 6 6 6 6 6 6 6 9 values 1180 1180 1180 1180 1180 1180 1180 1180 1180 0 = 980+200=1180\n"
            "4 3Lo [] 5.10 1.60 6.70 h0 grades 6 6 6 7 6 6 7 7 6 9 values 650 650 650 720 650 650 720 720 650 0 = 510+160=670\n"
            "5 FCCoSp4 [] 3.50 1.21 4.71 h0 grades 6 7 6 6 7 7 6 7 6 9 values 450 500 450 450 500 500 450 500 450 0 = 350+121=471\n"
            "6 StSq3 [] 3.30 1.70 5.00 h0 grades 6 7 7 6 7 6 6 7 6 9 values 470 540 540 470 540 470 470 540 470 0 = 330+170=500\n"
            "7 3A [] 9.35 1.71 11.06 h1 grades 6 6 6 6 5 6 5 6 5 9 values 1135 1135 1135 1135 1035 1135 1035 1135 1035 0 = 935+171=1106\n"
            "8 3Lz+2T+2Lo [] 10.01 1.70 11.71 h1 grades 6 6 7 7 6 6 6 7 7 9 values 1141 1141 1211 1211 1141 1141 1141 1211 1211 0 = 1001+170=1171\n"
            "9 3F [] 5.83 1.40 7.23 h1 grades 6 6 6 6 5 6 6 6 7 9 values 723 723 723 723 653 723 723 723 793 0 = 583+140=723\n"
            "10 3S [] 4.62 1.40 6.02 h1 grades 6 6 6 5 6 6 6 6 6 9 values 602 602 602 532 602 602 602 602 602 0 = 462+140=602\n"
            "11 CSSp4 [] 3.00 1.29 4.29 h0 grades 7 6 7 7 7 6 6 7 6 9 values 450 400 450 450 450 400 400 450 400 0 = 300+129=429\n"
            "12 ChSq1 [] 2.00 1.30 3.30 h0 grades 6 5 6 6 6 5 7 5 7 9 values 340 270 340 340 340 270 410 270 410 0 = 200+130=330\n"
            "13 CCoSp4 [] 3.50 0.93 4.43 h0 grades 6 6 5 5 6 6 6 6 6 9 values 450 450 400 400 450 450 450 450 450 0 = 350+93=443\n"
            "summary 5 1 197.12 106.20 90.92 0 | 19712 10620 9092\n"
            "component 0 x200 9.11 18.22 911 1822 marks 900 875 900 900 900 925 925 950 925 -9\n"
            "component 1 x200 9.32 18.64 932 1864 marks 950 900 950 950 900 925 950 900 975 -9\n"
            "component 2 x200 9.50 19.00 950 1900 marks 975 925 975 925 925 950 900 975 975 -9\n"
            "component 3 x200 8.64 17.28 864 1728 marks 825 875 850 875 825 875 900 850 925 -9\n"
            "component 4 x200 8.89 17.78 889 1778 marks 925 875 875 875 875 925 950 850 875 -9\n"
            "deductions 8 Falls total 0\n");
  // Out-of-range indexes: "0" or an empty list above the range, a failure
  // below it.
  std::string value;
  std::vector<std::string> marks;
  ASSERT_TRUE(p.getDedScoreStr(18, &value));
  EXPECT_EQ(value, "0");
  ASSERT_TRUE(p.getCompScoreDetail(11, &marks));
  EXPECT_TRUE(marks.empty());
  EXPECT_FALSE(p.getDedScoreStr(-1, &value));
  EXPECT_TRUE(keptErrorHas("CPerformance.getDedScoreStr: Invalid index: -1"));
  EXPECT_FALSE(p.getCompScoreDetail(-3, &marks));
  EXPECT_TRUE(keptErrorHas("Invalid index: -3"));
}

// Deductions are counted in hundredths and divided in floating point.
TEST_F(EventTreeTest, DeductionPoints) {
  edit("PRF", "PRF_ID", 14, {"PRF_DED00=150", "PRF_DED04=100"});
  edit("SCP", "SCP_ID", 12, {"SCP_DEFR05=200"});
  populate();
  const CSegment& s = segment(1, 12);
  DeductionFactors factors{};
  std::vector<float> points;
  float total = 0;
  ASSERT_TRUE(s.getValidDedIndexes(&factors));
  ASSERT_TRUE(s.getDedScores(factors, *s.getPrfPtr(14), &points));
  ASSERT_TRUE(s.getDedTotal(factors, *s.getPrfPtr(14), &total));
  EXPECT_FLOAT_EQ(points[0], 1.5f);
  EXPECT_FLOAT_EQ(points[4], 2.0f);
  EXPECT_FLOAT_EQ(total, 3.5f);
}

// Panel lists stay parallel: an identifier of 0 kept for the video slot
// has an empty name and nation; flag 0 gives empty function names.
TEST_F(EventTreeTest, PanelListsStayParallel) {
  edit("SCP", "SCP_ID", 11, {"SCP_JID22=0"});
  populate();
  ASSERT_TRUE(basicReady());
  const CSegment& s = segment(1, 11);
  PanelList panel;
  ASSERT_TRUE(s.getOffNames('S', (1 << 15) | (1 << 21), "", false, 2, &panel)) << getErrStr();
  EXPECT_EQ(panel.functionNames, (std::vector<std::string>{"Ref.", "Vid."}));
  EXPECT_EQ(panel.ids, (std::vector<int>{2015, 0}));
  EXPECT_EQ(panel.names, (std::vector<std::string>{"Robert FAIRBANKS", ""}));
  EXPECT_EQ(panel.nations.size(), 2u);
  EXPECT_EQ(panel.nations[1], "");
  ASSERT_TRUE(s.getOffIds('S', 3, 0, &panel));
  EXPECT_EQ(panel.functionNames, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(panel.ids, (std::vector<int>{2001, 2002}));
  // A dance segment does not keep the empty video slot.
  edit("SCP", "SCP_ID", 41, {"SCP_JID22=0"});
  ASSERT_TRUE(segment(4, 41).getOffIds('D', 1 << 21, 2, &panel));
  EXPECT_TRUE(panel.ids.empty());
}

// Venues count fixed positions; major deduction indexes outside 0-16 name
// no deduction; general factors round half up.
TEST_F(EventTreeTest, VenuesMajorDeductionsAndFactors) {
  edit("EVT", "EVT_ID", 1, {"EVT_TITLE1=", "EVT_TITLE2=Hall B"});
  edit("SCP", "SCP_ID", 62, {"SCP_EXTDT=3"});
  edit("SCP", "SCP_ID", 12, {"SCP_CRFRGN=15", "SCP_CRFR01=133", "SCP_DEMJ02=17"});
  populate();
  const CEvent& event = *events().getEvtPtr(1);
  std::vector<std::string> venues;
  ASSERT_TRUE(event.getVenueList(&venues));
  // The list drops the empty title; positions do not move with it.
  EXPECT_EQ(venues, (std::vector<std::string>{venues[0], "Hall B"}));
  std::vector<std::string> found;
  for (int index : {0, 1, 2, 3, 4, 5, -1}) {
    std::string venue;
    ASSERT_TRUE(event.getVenue(index, &venue));
    found.push_back(venue);
  }
  EXPECT_EQ(found, (std::vector<std::string>{venues[0], venues[0], venues[0], "Hall B", venues[0],
                                             venues[0], venues[0]}));
  const CSegment& s = segment(1, 12);
  int first = 0, second = 0, third = 0;
  ASSERT_TRUE(s.getMajDedIndexes(&first, &second, &third));
  EXPECT_EQ(second, 17);
  MajorDeductionNames names;
  ASSERT_TRUE(s.getMajDedNames(2, 17, -4, &names));
  EXPECT_EQ(names[0], (std::vector<std::string>{"Costume/Prop violation"}));
  EXPECT_TRUE(names[1].empty());
  EXPECT_TRUE(names[2].empty());
  ComponentFactors factors{};
  ASSERT_TRUE(s.getValidCompIndexes(true, &factors));
  EXPECT_EQ(factors[0], 200);  // 15 x 133 = 1995, rest 5: 2005 / 10
  ASSERT_TRUE(s.getValidCompIndexes(false, &factors));
  EXPECT_EQ(factors[0], 133);
}

// Two major deductions before database version 11127, three from it on.
TEST(EventTreeVersionTest, MajorDeductionsByVersion) {
  for (int version : {11126, 11127}) {
    test::TempDir dir;
    for (const std::string& name : test::folderEntries(kSample)) {
      test::writeFile(dir.file(name), test::readFile(kSample + "/" + name));
    }
    DbfBuilder({{"CFG_ID", 'N', 4}, {"CFG_DBFVER", 'C', 10}, {"CFG_PROG", 'C', 20}})
        .addRecord({"1", std::to_string(version), "OmfCalcFs"})
        .writeFile(dir.file("CFG.DBF"));
    ASSERT_TRUE(session().openDB(dir.path())) << getErrStr();
    ASSERT_TRUE(session().updateHandleRecData("SCP", session().getHandleRecNo("SCP", "SCP_ID", "12"),
                                              {"SCP_DEMJ03=4"}));
    ASSERT_TRUE(events().eventPopulate()) << getErrStr();
    const CSegment& s = *events().getEvtCatScpPtr(1, 1, 12);
    std::vector<MajorDeduction> records;
    int first = 0, second = 0, third = 0;
    ASSERT_TRUE(s.getPrfPtr(14)->getMajDedData(&records));
    ASSERT_TRUE(s.getMajDedIndexes(&first, &second, &third));
    EXPECT_EQ(records.size(), version < 11127 ? 2u : 3u) << version;
    EXPECT_EQ(third == -1, version < 11127) << version;
    session().close();
  }
}

// A changed CAT_ID is written into every segment of the category, also one
// no slot names, and every participant; identifiers other records refer to
// are not changed through a node.
TEST_F(EventTreeTest, IdentifierChanges) {
  edit("SCP", "SCP_ID", 63, {"CAT_ID=1"});
  populate();
  ASSERT_TRUE(events().eventSetFieldData(1, 1, 0, 0, 0, {"CAT_ID", "CAT_NAME"}, {"88", "Men"}))
      << getErrStr();
  std::vector<std::string> lines;
  ASSERT_TRUE(session().getHandleFieldRecData("SCP", {"SCP_ID"}, {{"CAT_ID", "88"}}, "SCP_ID",
                                              false, &lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"11", "12", "63"}));
  EXPECT_EQ(category(1).id(), 88);
  EXPECT_FALSE(events().eventSetFieldData(1, 2, 0, 0, 0, {"CAT_ID"}, {"88"}));
  EXPECT_TRUE(keptErrorHas("CAT_ID already used by another category: 88"));
  struct Case { int cat, par, scp; const char* field; const char* message; };
  for (const Case& c : std::vector<Case>{{0, 0, 0, "EVT_ID", "EVT_ID of a built node cannot change: 5"},
                                         {2, 0, 21, "SCP_ID", "SCP_ID of a built node cannot change: 5"},
                                         {2, 201, 0, "PAR_ID", "PAR_ID of a built node cannot change: 5"}}) {
    EXPECT_FALSE(events().eventSetFieldData(1, c.cat, c.par, c.scp, 0, {c.field}, {"5"}));
    EXPECT_TRUE(keptErrorHas(c.message));
  }
}

}  // namespace
}  // namespace tav
