// The "60 reports" section: groups of another program's report files,
// matched without regard to case, listed and copied beside the site.
#include <gtest/gtest.h>

#include <string>

#include "report/html_writer.h"
#include "report/sixty_reports.h"
#include "support/test_support.h"

namespace tav {
namespace {

std::string section(const std::string& folder, const std::string& out, int* groups) {
  HtmlWriter writer;
  writer.startPage();
  SixtyReports reports(folder, out);
  *groups = reports.write(writer);
  return std::string(writer.page());
}

TEST(SixtyReportsTest, ExtractsTheTextAfterTheStartTag) {
  test::TempDir dir;
  const struct {
    const char* content;
    const char* text;
  } cases[] = {
      {"<HTML><TITLE>Event: Men</TITLE>", "Event: Men"},
      // An end tag before the start tag is not taken.
      {"</TITLE><TITLE>Ladies</TITLE>", "Ladies"},
      {"<TITLE>no end", "Unknown name"},
      {"nothing here", "Unknown name"},
  };
  for (const auto& c : cases) {
    test::writeFile(dir.file("a.htm"), c.content);
    EXPECT_EQ(extractStrFromHtml(dir.file("a.htm"), "<TITLE>", "</TITLE>"), c.text);
  }
  EXPECT_EQ(extractStrFromHtml(dir.file("none.htm"), "<TITLE>", "</TITLE>"), "");
}

TEST(SixtyReportsTest, ListsGroupsWithTheirRoundsAndCopiesTheFiles) {
  test::TempDir in;
  test::TempDir out;
  // Group MEN: results after round 1, standings 1, starting order 2; the
  // names are in mixed case as another system may write them.
  test::writeFile(in.file("MENE0.HTM"), "<TITLE>Trophy: Senior Men</TITLE>");
  test::writeFile(in.file("MenS1.htm"), "results 1");
  test::writeFile(in.file("MENC1.HTM"), "<H3>Standings for the Short Program</H3>");
  test::writeFile(in.file("meno2.htm"), "<H3>Starting Order Free Skating</H3>");
  // Group AB: no results file; round 1 has nothing to show.
  test::writeFile(in.file("ABE0.HTM"), "<TITLE>Novices</TITLE>");
  test::writeFile(in.file("ABO1.HTM"), "<H3></H3>");
  // Not taken: too short, no digit, only an event file.
  test::writeFile(in.file("X1.HTM"), "");
  test::writeFile(in.file("README.HTM"), "");
  test::writeFile(in.file("LADE0.HTM"), "<TITLE>Ladies</TITLE>");
  test::writeFile(in.file("notes.txt"), "");
  int groups = 0;
  EXPECT_EQ(section(in.path(), out.path(), &groups),
            "<!-- Start of 60 reports -->\n"
            "<TR BGCOLOR=FFFFFF>\n"
            "  <TD style=padding-top:5pt; ROWSPAN=1>Novices</TD>\n"
            "  <TD style=padding-top:5pt;>&nbsp;</TD>\n"
            "</TR>\n"
            "<TR BGCOLOR=FFFFFF>\n"
            "  <TD style=padding-top:5pt; ROWSPAN=2><A HREF=\"MENs1.html\">Senior Men</A></TD>\n"
            "  <TD style=padding-top:5pt;><A HREF=\"MENc1.html\">Short Program</A></TD>\n"
            "</TR>\n"
            "<TR BGCOLOR=FFFFFF>\n"
            "  <TD style=padding-top:5pt;><A HREF=\"MENo2.html\">Free Skating</A></TD>\n"
            "</TR>\n");
  EXPECT_EQ(groups, 2);
  EXPECT_EQ(test::folderEntries(out.path()),
            (std::vector<std::string>{"MENc1.html", "MENo2.html", "MENs1.html"}));
  EXPECT_EQ(test::readFile(out.file("MENs1.html")), "results 1");
}

TEST(SixtyReportsTest, AFolderWithoutReportsAddsNothing) {
  test::TempDir in;
  test::TempDir out;
  test::writeFile(in.file("notes.txt"), "");
  int groups = -1;
  EXPECT_EQ(section(in.path(), out.path(), &groups), "");
  EXPECT_EQ(section(in.file("missing"), out.path(), &groups), "");
  EXPECT_EQ(groups, 0);
}

}  // namespace
}  // namespace tav
