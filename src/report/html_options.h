// The options of one run of the results site generator, as the command
// tav_eventEvtHtml passes them.
#ifndef TAVC_REPORT_HTML_OPTIONS_H_
#define TAVC_REPORT_HTML_OPTIONS_H_

#include <string>

namespace tav {

// The three page frames.
enum HtmlFormat {
  kHtmlComplete = 0,  // whole pages with their own style; credit links the federation
  kHtmlFragment = 1,  // fragments for the customer's pages; no index page
  kHtmlCustomer = 2,  // whole pages on the customer's style sheet; index may be ASP
};

struct HtmlOptions {
  int catId = 0;            // above 0: only this category's pages
  int masterIdx = 0;        // kept, no effect
  bool sssIdx = false;      // index with server-side existence tests
  bool noIndex = false;     // no index page
  bool indexOnly = false;   // only the index page
  bool genXML = false;      // kept, no effect
  bool useOmfColors = false;   // colour category rows by category type
  bool includeNation = false;  // nation column in the result tables
  int format = kHtmlComplete;
  // Format 1: link the style sheet by its absolute address on the
  // customer's server.  Format 2: the index page is ".html", not ".asp".
  bool localCopyFlag = false;
  bool startOrderFlag = false;  // starting orders of segments not started
  bool tvNameFlag = false;      // television names of categories and segments
  // 1: judges' details of every started segment; -1: of finished segments
  // (index) and of segments other than the live one (pages); else none.
  int detailFlag = 0;
  int activeSeg = 0;            // SCP_ID of the live segment
  std::string sixtyHtmlFolder;  // "60 reports" folder; empty: none
};

}  // namespace tav

#endif  // TAVC_REPORT_HTML_OPTIONS_H_
