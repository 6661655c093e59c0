// CHtml writes the results site of one event into an output folder: the
// index page listing every category and segment, and for each category the
// pages of its segments (summary, judges' details, starting order) and its
// result page.  It reads the event tree and never changes the database.
//
// One generator serves one run: build it, call `create`, destroy it.  Every
// page is built in memory by the writer and put in place by PageFile, so a
// page is either the complete new version or the earlier one; a page that
// is already there as it is stays untouched, and a category whose inputs
// have not changed since this process last published it into the same
// folder is passed over (SiteMemory, page_inputs.h).  The first
// failure (unopenable file, missing category or segment, failing getter)
// ends the run with the reason in the kept error text; pages already
// written stay.
//
// Text from the database is escaped by htmlEscape() wherever it is written;
// the fixed markup of the pages is written as it is.
#ifndef TAVC_REPORT_HTML_H_
#define TAVC_REPORT_HTML_H_

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "event/segment.h"
#include "report/html_options.h"
#include "report/html_writer.h"
#include "report/page_file.h"

namespace tav {

class CEvent;
class CCategory;
class CSegment;
class CPerformance;

// Addresses the pages link to.  Placeholders: a deployment sets its own.
// The federation's web site, linked by the credit of format-0 pages.
extern const char kFederationAddress[];
// The customer's results style sheet, linked by format-1 pages with
// localCopyFlag.
extern const char kCustomerStyleSheet[];

// The credit that opens every page (as a comment) and closes pages of
// formats 0 and 2, and the pattern of the time stamp under it.
extern const char kCreditComment[];
extern const char kCreditText[];
extern const char kTimeStampPattern[];

// The row colour of a category: "FFFFFF", or by category type and gender
// when `useOmfColors` is set.
std::string categoryColor(bool useOmfColors, char gender, char type);

// "MM/DD/YYYY" dates of the title block: both joined by " - ", one alone,
// or nothing (a date that is not 8 characters is not written).
std::string eventDates(const std::string& begin, const std::string& end);

class CHtml {
 public:
  CHtml(const CEvent& event, std::string path);

  // Runs the generator over the event with `options`.
  bool create(const HtmlOptions& options);

  // Writes the special achievement award page of the segments `scpIds`
  // (saa.cc).  The options keep their defaults: format 0, plain names.
  bool saa(const std::vector<int>& scpIds);

  // What the run's pages did to the output folder.
  const PageCounts& counts() const { return counts_; }

  // The time stamp of page footers (the local time by default; tests set a
  // fixed one).
  void setClock(std::function<std::string()> clock) { clock_ = std::move(clock); }

 private:
  // State of a segment, computed once per run.
  struct SegmentState {
    bool hasStartOrder = false;
    bool started = false;
    bool finished = false;
  };

  bool event();
  bool readEventBlock();
  // The category's pages, unless they were made from the same inputs in an
  // earlier run of this process and are still there (SiteMemory).
  bool categoryIfChanged(const CCategory& category, std::uint64_t shared);

  // ---- Frame and shared parts (html.cc) ------------------------------------
  // path + "/" + name + ".asp" or ".html"; the name must be a plain file name.
  bool createOutFileName(bool asp, const std::string& name, std::string* file);
  bool startPage(const std::string& file);
  bool finishPage();
  void header(bool inlineStyle, int refreshSeconds);
  void inlineStyleRules();
  void footer(bool liveLegend);
  void nameDate();
  bool setCatBgColor(const CCategory& category);
  bool segmentState(const CSegment& segment, SegmentState* state);
  bool findCategory(int catId, const CCategory** category);
  bool findSegment(const CCategory& category, int scpId, const CSegment** segment);
  // Cell helpers of the result tables, by format.
  void emptyCell();
  void cell(const char* attr, const std::string& content);
  void numberCell(long long hundredths);
  void headerCell(const std::string& content);
  // The name cell of a results row: `texts` are name and club, or name 1,
  // club 1, name 2, club 2 for pairs and dance (escaped here).
  void nameCell(bool couple, const std::vector<std::string>& texts);
  // A link to `target` around `content`.
  void anchor(const std::string& target, const std::string& content);

  // ---- Index page (html_index.cc) ------------------------------------------
  bool index();
  void serverScriptFunction();
  void serverScriptLink(const std::string& target, const std::string& name, bool withElse);
  bool indexCategory(const CCategory& category);
  bool indexSegment(const CCategory& category, int scpId);
  bool detailLinked(const CSegment& segment, const SegmentState& state) const;
  // The link to the page of out-file base name `base` (checked like a file
  // name).
  bool pageLink(const std::string& base, std::string* link);

  // ---- Category pages (html_category.cc) -----------------------------------
  bool category(const CCategory& category);
  bool categoryPage(const CCategory& category, const std::string& name);
  bool categoryRows(const CCategory& category);

  // ---- Segment summary (html_segment_summary.cc) ----------------------------
  bool segSum(const CSegment& segment, const std::string& catName, char catType);
  // Name and club, or name 1, club 1, name 2, club 2 for pairs and dance.
  bool participantTexts(const CPerformance& performance, bool couple,
                        std::vector<std::string>* texts);
  void legend(bool bonus, const ComponentFactors& components,
              const std::vector<std::string>& longNames,
              const std::vector<std::string>& shortNames);

  // ---- Judges' details (html_segment_detail.cc) -----------------------------
  struct DetailSettings;
  bool segDetail(const CSegment& segment, const std::string& catName, char catType);
  bool detailBlock(const CSegment& segment, const CPerformance& performance, char catType,
                   const DetailSettings& settings);
  bool elementsTable(const CPerformance& performance, char catType,
                     const std::vector<ElementDetail>& elements, const DetailSettings& settings);
  // The deduction table of a performance's deduction points and their sum.
  void deductionTable(const std::vector<float>& points, float sum,
                      const DetailSettings& settings, std::vector<std::string>* listed);
  bool majorityTable(const CPerformance& performance, const DetailSettings& settings,
                     const std::vector<std::string>& listed);
  // A header cell with a width and an alignment.
  void th(const char* width, const char* align, std::string_view content);

  // ---- Starting order and officials (html_start_order.cc) -------------------
  bool segStOrder(const CSegment& segment, const std::string& catName, char catType);
  bool officials(char catType, const CSegment& segment);
  void warmupGroupRow(bool fragment);

  const CEvent& event_;
  std::string path_;
  HtmlOptions options_;
  std::function<std::string()> clock_;

  // The event block.
  std::string eventName_;
  std::string beginDate_;
  std::string endDate_;
  std::string place_;
  std::string titleLine_;
  const char prefix_ = ' ';  // file-name prefix of every out-file name

  HtmlWriter out_;
  PageFile page_;
  PageStamp stamp_;                        // the footer's time stamp in the page
  PageCounts counts_;
  std::vector<std::string> pagesWritten_;  // files of the current category
  std::string rowColor_ = "FFFFFF";
  std::map<int, SegmentState> segmentStates_;
};

}  // namespace tav

#endif  // TAVC_REPORT_HTML_H_
