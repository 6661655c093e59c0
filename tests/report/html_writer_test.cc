// The page writer, the escape of database text and the atomic page files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <utime.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "base/failure_record.h"
#include "base/platform.h"
#include "report/html_escape.h"
#include "report/html_writer.h"
#include "report/page_file.h"
#include "support/test_support.h"

namespace tav {
namespace {

TEST(HtmlEscapeTest, EscapesMarkupAndWritesCharactersOutsideAsciiAsReferences) {
  const struct {
    const char* text;
    const char* escaped;  // htmlEscape: database text
    const char* markup;   // asciiMarkup: another program's HTML
    const char* link;     // linkAddress: a UTF-8 file name in a quoted address
  } cases[] = {
      {"Skate & Ski", "Skate &amp; Ski", "Skate & Ski", "Skate &amp; Ski"},
      {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;",
       "<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"Skaters' Cup", "Skaters&#39; Cup", "Skaters' Cup", "Skaters&#39; Cup"},
      {"say \"hi\")", "say &quot;hi&quot;)", "say \"hi\")", "say &quot;hi&quot;)"},
      // Windows-1252: e acute, u diaeresis, the euro sign, an unassigned byte.
      {"Ren\xe9 M\xfcller", "Ren&#233; M&#252;ller", "Ren&#233; M&#252;ller",
       "Ren%E9 M%FCller"},
      {"<b>\x80 5</b>\x81", "&lt;b&gt;&#8364; 5&lt;/b&gt;&#129;", "<b>&#8364; 5</b>&#129;",
       "&lt;b&gt;%80 5&lt;/b&gt;%81"},
      {"Z\xc3\xbcrich.htm", "Z&#195;&#188;rich.htm", "Z&#195;&#188;rich.htm",
       "Z%C3%BCrich.htm"},
      {"Plain ASCII, 12:00", "Plain ASCII, 12:00", "Plain ASCII, 12:00", "Plain ASCII, 12:00"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(htmlEscape(c.text), c.escaped) << c.text;
    EXPECT_EQ(asciiMarkup(c.text), c.markup) << c.text;
    EXPECT_EQ(linkAddress(c.text), c.link) << c.text;
  }
}

TEST(HtmlWriterTest, IndentsElementsTextAndComments) {
  HtmlWriter out;
  out.startPage();
  out.comment("Summary table");
  out.openLine("TABLE", "BORDER=1 ", "WIDTH=700");
  out.openLine("TR");
  out.openWithNumber("TD", "style=padding-top:5pt;", {}, "ROWSPAN=", 2, HtmlWriter::kSameLine);
  out.open("A", "HREF=CAT001.html");
  out.text("Senior Men");
  out.closeInline("A");
  out.close("TD");
  out.elementInt("TD", "align=center", 3);
  out.elementNumber("TD", "align=right", 168.745, 2);
  out.element("TD", "&nbsp;");
  out.close("TR");
  out.line("<HR style=margin:30px />");
  out.close("TABLE");
  EXPECT_EQ(out.page(),
            "<!-- Summary table -->\n"
            "<TABLE BORDER=1 WIDTH=700>\n"
            "  <TR>\n"
            "    <TD style=padding-top:5pt; ROWSPAN=2><A HREF=CAT001.html>Senior Men</A></TD>\n"
            "    <TD align=center>3</TD>\n"
            "    <TD align=right>168.75</TD>\n"
            "    <TD>&nbsp;</TD>\n"
            "  </TR>\n"
            "  <HR style=margin:30px />\n"
            "</TABLE>\n");
  EXPECT_EQ(out.indent(), 0);
}

TEST(HtmlWriterTest, ANewPageStartsAtLevelZeroWhateverThePageBefore) {
  HtmlWriter out;
  out.startPage();
  out.openLine("HTML");
  out.open("BODY");  // left open, mid-line
  out.startPage();
  out.openLine("TABLE");
  out.close("TABLE");
  EXPECT_EQ(out.page(), "<TABLE>\n</TABLE>\n");
  // Closing more than was opened writes no indentation.
  out.close("TABLE");
  out.line("x");
  EXPECT_EQ(out.page(), "<TABLE>\n</TABLE>\n</TABLE>\nx\n");
}

TEST(HtmlWriterTest, PointsInHundredths) {
  EXPECT_EQ(pointsText(16874), "168.74");
  EXPECT_EQ(pointsText(-100), "-1.00");
  EXPECT_EQ(pointsText(5), "0.05");
  EXPECT_EQ(pointsText(-5), "-0.05");
  EXPECT_EQ(pointsText(0), "0.00");
  EXPECT_EQ(pointsText(1234567), "12345.67");
  EXPECT_EQ(fixedNumber(1.0, 1), "1.0");
}

// Fixed notation is written without snprintf where the value is a whole
// number of its last decimal; every text must still be what "%.*f" writes,
// ties, negative zeros and huge values included.
TEST(HtmlWriterTest, FixedNumbersAreWhatPrintfWrites) {
  auto printf = [](double value, int decimals) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return std::string(buffer);
  };
  const struct {
    double value;
    int decimals;
  } cases[] = {{-0.0, 2},   {0.0, 2},     {-0.001, 2}, {0.125, 2},    {2.5, 0},  {-3, 0},
               {1.5f, 2},   {-0.7f, 2},   {168.745, 2}, {1e30, 2},    {-1e14, 1}, {0.1, 6},
               {7.0, 7},    {1.0 / 3, 2}, {-2.675, 2}, {99.995, 2}};
  for (const auto& c : cases) {
    EXPECT_EQ(fixedNumber(c.value, c.decimals), printf(c.value, c.decimals)) << c.value;
  }
  // Every deduction and factor a page shows: hundredths of points, and
  // their products in single precision as the segment computes them.
  for (int h = -2000; h <= 2000; ++h) {
    const float points = static_cast<float>(h) / 100.0f;
    EXPECT_EQ(fixedNumber(points, 2), printf(points, 2)) << h;
    EXPECT_EQ(fixedNumber(points * 1.5f, 2), printf(points * 1.5f, 2)) << h;
    EXPECT_EQ(fixedNumber(h / 10.0, 1), printf(h / 10.0, 1)) << h;
  }
  EXPECT_EQ(NumberText::fixed(1e30, 2).view(), "");  // too wide for the stack text
}

TEST(PageFileTest, APageAppearsOnlyWhenComplete) {
  test::TempDir dir;
  const std::string page = dir.file("index.html");
  test::writeFile(page, "earlier");
  {
    PageFile file;
    ASSERT_TRUE(file.open(page));
    // While the page is being written readers still see the earlier one.
    EXPECT_EQ(test::readFile(page), "earlier");
    // A run that fails before finishing leaves it, and no temporary file.
  }
  EXPECT_EQ(test::readFile(page), "earlier");
  EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"index.html"});
  ASSERT_TRUE(writePageFile(page, "new page"));
  EXPECT_EQ(test::readFile(page), "new page");
  EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"index.html"});
}

TEST(PageFileTest, APageThatIsAlreadyThereIsNotWrittenAgain) {
  test::TempDir dir;
  const std::string page = dir.file("SEG011.html");
  const std::string stamped = "<P>Results<BR>Sunday, 04:25 PM</P>\n";
  const PageStamp stamp{14, 16};  // "Sunday, 04:25 PM"
  PageCounts counts;
  ASSERT_TRUE(writePageFile(page, stamped, stamp, &counts));
  // An hour-old file; the same page a minute later leaves it alone.
  const std::int64_t old = std::time(nullptr) - 3600;
  const struct utimbuf times = {static_cast<std::time_t>(old), static_cast<std::time_t>(old)};
  ASSERT_EQ(::utime(page.c_str(), &times), 0);
  ASSERT_TRUE(writePageFile(page, "<P>Results<BR>Sunday, 04:26 PM</P>\n", stamp, &counts));
  EXPECT_EQ(test::readFile(page), stamped);
  std::int64_t mtime = 0;
  ASSERT_TRUE(platform::fileMtime(page, &mtime));
  EXPECT_EQ(mtime, old);
  // A changed page is written.
  ASSERT_TRUE(writePageFile(page, "<P>Result<BR>Sunday, 04:26 PM</P>\n", {13, 16}, &counts));
  EXPECT_EQ(test::readFile(page), "<P>Result<BR>Sunday, 04:26 PM</P>\n");
  EXPECT_EQ(counts.written, 2);
  EXPECT_EQ(counts.unchanged, 1);
  EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"SEG011.html"});
}

TEST(PageFileTest, SamePageAllowsOnlyAnotherStamp) {
  const std::string page = "<P>x<BR>Monday</P>";
  const PageStamp stamp{8, 6};
  const struct {
    std::string file;
    PageStamp stamp;
    bool same;
  } cases[] = {
      {page, stamp, true},
      {"<P>x<BR>Wednesday, 10:00 PM  CET</P>", stamp, true},
      {"<P>x<BR></P>", stamp, true},
      {"<P>y<BR>Monday</P>", stamp, false},
      {"<P>x<BR>Monday</P>\n", stamp, false},
      {"<P>x<BR>Mon<B>day</P>", stamp, false},
      {"<P>x<BR>Mon\nday</P>", stamp, false},
      {"<P>x<BR>" + std::string(65, 'a') + "</P>", stamp, false},
      {"<P>x<BR>Tuesday</P>", PageStamp{}, false},
      {page, PageStamp{}, true},
      {"<P>x", stamp, false},
  };
  for (const auto& c : cases) EXPECT_EQ(samePage(c.file, page, c.stamp), c.same) << c.file;
}

TEST(PageFileTest, FailuresAreReportedAndLeaveTheEarlierPage) {
  test::TempDir dir;
  clearErrStr();
  EXPECT_FALSE(writePageFile(dir.file("missing/index.html"), "x"));
  EXPECT_TRUE(test::keptErrorHas("Unable to open: " + dir.file("missing/index.html") +
                                 " - No such file or directory"));

  // A full disk: the write fails, the message says so, the earlier page
  // stays and no temporary file is left behind.
  const std::string page = dir.file("CAT001.html");
  test::writeFile(page, "earlier");
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = writePageFile(page, std::string(4096, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_TRUE(test::keptErrorHas("Unable to write: " + page + " - File too large"));
  EXPECT_EQ(test::readFile(page), "earlier");
  EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"CAT001.html"});
}

TEST(PageFileTest, FileNamesStayInsideTheOutputFolder) {
  const struct {
    std::string name;
    bool ok;
  } cases[] = {
      {"CAT001", true},  {"SEGM1234", true}, {"X-SEG007", true}, {"", false},
      {".", false},      {"..", false},      {"../CAT001", false}, {"a/b", false},
      {"a\\b", false},   {std::string("a\0b", 3), false},
  };
  for (const auto& c : cases) {
    std::string path = "unchanged";
    clearErrStr();
    EXPECT_EQ(outputFileName("/site", c.name, ".html", &path), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(path, "/site/" + c.name + ".html");
    } else {
      EXPECT_EQ(path, "unchanged");
      EXPECT_TRUE(test::keptErrorHas("Invalid file name: "));
    }
  }
}

}  // namespace
}  // namespace tav
