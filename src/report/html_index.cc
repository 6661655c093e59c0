// The index page: every category of the event with its segments, linked to
// the pages that exist, and the "60 reports" of the other program.
#include "base/failure_record.h"
#include "event/category.h"
#include "event/event.h"
#include "event/segment.h"
#include "report/html.h"
#include "report/html_escape.h"
#include "report/sixty_reports.h"

namespace tav {
namespace {

const char kPad[] = "style=padding-top:5pt;";

std::string boldItalic(const std::string& text, bool live) {
  return live ? "<B><I>" + text + "</I></B>" : text;
}

}  // namespace

bool CHtml::index() {
  CallTrace trace("CHtml.index");
  // The ASP index tests on the server which pages exist.
  const bool asp = options_.format == kHtmlCustomer && !options_.localCopyFlag;
  std::string file;
  if (!createOutFileName(asp, "index", &file) || !startPage(file)) return false;
  header(false, 0);
  if (options_.sssIdx) serverScriptFunction();
  out_.openLine("BODY", "BGCOLOR=FFFFFF");
  nameDate();
  out_.element("H4", "style=margin:0pt;", htmlEscape(titleLine_));
  out_.element("H4", "style=margin-top:0pt;", htmlEscape(place_));
  out_.openLine("TABLE", "CELLSPACING=1");
  out_.openLine("THEAD");
  out_.openLine("TR", "BGCOLOR=CC33CC");
  out_.element("TH", options_.format == kHtmlCustomer ? "Event" : "Category");
  out_.element("TH", "colspan=2", "Segment");
  out_.close("TR");
  out_.close("THEAD");
  out_.openLine("TBODY");
  // Every category, whatever the category filter of the run.
  for (const auto& entry : event_.categories()) {
    const CCategory* cat = nullptr;
    if (!findCategory(entry.first, &cat)) return false;
    if (!setCatBgColor(*cat) || !indexCategory(*cat)) return false;
  }
  if (!options_.sixtyHtmlFolder.empty()) {
    SixtyReports reports(options_.sixtyHtmlFolder, path_);
    if (reports.write(out_) > 0) rowColor_ = "FFFFFF";
  }
  out_.close("TBODY");
  out_.close("TABLE");
  footer(true);
  if (!finishPage()) return false;
  return trace.succeed();
}

void CHtml::serverScriptFunction() {
  static const char* const kLines[] = {
      "<%",
      "' Function to test for server file existance",
      "Set objFSO = Nothing",
      "Function DoesFileExist(ByVal strFileName)",
      "  Dim objFSO",
      "  If InStr(strFileName, \":\") = 0 Then",
      "    strFileName = Server.MapPath(strFileName)",
      "  End If",
      "  Set objFSO = Server.CreateObject(\"Scripting.FileSystemObject\")",
      "  DoesFileExist = objFSO.FileExists(strFileName)",
      "  Set objFSO = Nothing",
      "End Function",
      "%>",
  };
  for (const char* line : kLines) out_.line(line);
}

// The server writes the link when the page exists, else (withElse) the
// plain name.  `name` is escaped, so it cannot end the script's string.
void CHtml::serverScriptLink(const std::string& target, const std::string& name,
                             bool withElse) {
  out_.endLine();
  out_.line("<%");
  out_.line("If DoesFileExist(\"" + target + "\")=True then");
  out_.line("    Response.Write(\"<A HREF=" + target + ">" + name + "</A>\")");
  if (withElse) {
    out_.line("Else");
    out_.line("    Response.Write(\"" + name + "\")");
  }
  out_.line("End If");
  out_.line("%>");
}

bool CHtml::indexCategory(const CCategory& category) {
  // The category's HTML name (its television name when asked for and not
  // empty), as on its result page, so an empty television name never gives
  // an empty row.
  std::string name;
  std::string base;
  bool started = false;
  if (!category.getHtmlName(options_.tvNameFlag, &name) || !category.hasStarted(&started) ||
      !category.getOutFileBaseName(prefix_, &base)) {
    return false;
  }
  name = htmlEscape(name);
  std::string target;
  if (!pageLink(base, &target)) return false;
  bool live = false;
  int rows = 0;
  for (int scpId : category.slots()) {
    if (scpId != 0) ++rows;
    if (scpId != 0 && scpId == options_.activeSeg) live = true;
  }
  out_.openLine("TR", "BGCOLOR=" + rowColor_);
  // The cell spans the segment rows written below; a category without
  // segments gets one closed row of its own.
  out_.openWithNumber("TD", kPad, {}, "ROWSPAN=", rows > 0 ? rows : 1, HtmlWriter::kSameLine);
  if (options_.sssIdx) {
    serverScriptLink(target, name, true);
  } else if (started) {
    anchor(target, boldItalic(name, live));
  } else {
    out_.text(name);
  }
  out_.close("TD");
  bool first = true;
  for (int scpId : category.slots()) {
    if (scpId == 0) continue;
    if (!first) out_.openLine("TR", "BGCOLOR=" + rowColor_);
    first = false;
    if (!indexSegment(category, scpId)) return false;
    out_.close("TR");
  }
  if (first) out_.close("TR");
  return true;
}

bool CHtml::indexSegment(const CCategory& category, int scpId) {
  const CSegment* segment = nullptr;
  if (!findSegment(category, scpId, &segment)) return false;
  std::string name;
  std::string summary;
  std::string detail;
  SegmentState state;
  if (!segment->getHtmlName(options_.tvNameFlag, &name) || !segmentState(*segment, &state) ||
      !segment->getOutFileBaseName(0, prefix_, &summary) ||
      !segment->getOutFileBaseName(1, prefix_, &detail)) {
    return false;
  }
  if (!pageLink(summary, &summary) || !pageLink(detail, &detail)) return false;
  name = htmlEscape(name);
  const bool live = scpId == options_.activeSeg;
  const bool startOrder = !state.started && state.hasStartOrder && options_.startOrderFlag;
  out_.open("TD", kPad);
  if (options_.sssIdx) {
    serverScriptLink(summary, name, true);
  } else if (state.started || startOrder) {
    anchor(summary, boldItalic(name, live) + (startOrder ? " Start Order" : ""));
  } else {
    out_.text(name);
  }
  out_.close("TD");
  if (options_.sssIdx) {
    out_.open("TD", kPad);
    serverScriptLink(detail, "Detail", false);
    out_.close("TD");
  } else if (detailLinked(*segment, state)) {
    out_.open("TD", kPad);
    anchor(detail, boldItalic("Detail", live));
    out_.close("TD");
  } else {
    out_.element("TD", kPad, "&nbsp;");
  }
  return true;
}

// The index links pages by their names relative to the index.
bool CHtml::pageLink(const std::string& base, std::string* link) {
  std::string file;
  if (!createOutFileName(false, base, &file)) return false;
  *link = base + ".html";
  return true;
}

// The index links a details page only where the run writes one: every
// started segment with detailFlag 1; with -1 the finished segments other
// than the live one (the live segment gets no details page even when it is
// already finished).
bool CHtml::detailLinked(const CSegment& segment, const SegmentState& state) const {
  if (options_.detailFlag == 1) return state.started;
  if (options_.detailFlag == -1) return state.finished && segment.id() != options_.activeSeg;
  return false;
}

}  // namespace tav
