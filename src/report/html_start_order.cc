// The starting order page of a segment that has not started, grouped by
// warm-up group, and the officials table of the segment pages.
#include "base/failure_record.h"
#include "event/performance.h"
#include "event/segment.h"
#include "report/html.h"
#include "report/html_escape.h"

namespace tav {

namespace {
// Official slots 0 to 19: judges, referee, technical panel and the assistant
// or ice level referee.
constexpr int kOfficialsMask = 1048575;
}  // namespace

void CHtml::warmupGroupRow(bool fragment) {
  out_.openLine("TR");
  out_.element("TD", fragment ? "" : "&nbsp;");
  out_.element("TD", "Warmup Group");
  out_.close("TR");
}

bool CHtml::segStOrder(const CSegment& segment, const std::string& catName, char catType) {
  CallTrace trace("CHtml.segStOrder");
  std::string base;
  std::string file;
  std::string name;
  PerformanceMap order;
  // The same file as the later summary page, so the index link stays valid
  // when the segment starts.
  if (!segment.getOutFileBaseName(0, prefix_, &base) || !createOutFileName(false, base, &file) ||
      !startPage(file) || !segment.getHtmlName(options_.tvNameFlag, &name) ||
      !segment.getStartOrderMap(false, &order)) {
    return false;
  }
  header(false, 0);
  const bool fragment = options_.format == kHtmlFragment;
  const bool groups = catType != 'T';
  bool headOpen = false;
  if (fragment) {
    out_.openLine("THEAD");
    out_.openLine("TR");
    out_.element("TD", "StN.");
    out_.element("TD", "Name");
    if (options_.includeNation) out_.element("TD", "Nation");
    out_.close("TR");
    out_.close("THEAD");
    if (groups) {
      out_.openLine("THEAD");
      warmupGroupRow(true);
      headOpen = true;
    }
  } else {
    out_.openLine("BODY", "BGCOLOR=FFFFFF");
    nameDate();
    out_.element("H2", htmlEscape(catName));
    out_.openLine("TABLE", "BORDER=1 ", "CELLSPACING=1");
    out_.openLine("CAPTION");
    out_.element("H2", htmlEscape(name));
    out_.element("H3", "Starting Order");
    out_.close("CAPTION");
    out_.openLine("THEAD");
    out_.openLine("TR");
    out_.element("TH", "Start #");
    out_.element("TH", "Name");
    if (options_.includeNation) out_.element("TH", "Nation");
    out_.close("TR");
    if (groups) warmupGroupRow(false);
    headOpen = true;
  }
  if (headOpen) out_.close("THEAD");
  out_.openLine("TBODY");
  const bool couple = catType == 'P' || catType == 'D';
  int currentGroup = 1;
  int row = 0;
  for (const auto& entry : order) {
    const CPerformance& performance = *entry.second;
    int groupNo = 0;
    if (!performance.getWarmupGroupNo(&groupNo)) return false;
    if (groups && groupNo != currentGroup) {
      currentGroup = groupNo;
      if (fragment) {
        out_.close("TBODY");
        out_.openLine("THEAD");
        warmupGroupRow(true);
        out_.close("THEAD");
        out_.openLine("TBODY");
      } else {
        warmupGroupRow(false);
      }
    }
    std::vector<std::string> texts;
    std::string nation;
    if (!participantTexts(performance, couple, &texts) || !performance.getParNation(&nation)) {
      return false;
    }
    out_.openLine("TR", fragment ? (row % 2 == 0 ? "class=rowOdd" : "class=rowEven") : "");
    ++row;
    cell("align=center", std::to_string(entry.first));
    nameCell(couple, texts);
    if (options_.includeNation) {
      if (nation.empty()) emptyCell(); else cell("align=center", htmlEscape(nation));
    }
    out_.close("TR");
  }
  out_.close("TBODY");
  out_.close("TABLE");
  if (!fragment) {
    out_.element("P", "");
    out_.element("P", "");
    if (!officials(catType, segment)) return false;
  }
  footer(false);
  if (!finishPage()) return false;
  return trace.succeed();
}

bool CHtml::officials(char catType, const CSegment& segment) {
  CallTrace trace("CHtml.officials");
  out_.openLine("TABLE", "BORDER=1 ", "CELLSPACING=1");
  out_.openLine("CAPTION");
  out_.element("H3", "Officials");
  out_.close("CAPTION");
  out_.openLine("THEAD");
  out_.openLine("TR");
  out_.element("TH", "Function");
  out_.element("TH", "Name");
  if (options_.includeNation) out_.element("TH", "Nation");
  out_.close("TR");
  out_.close("THEAD");
  out_.openLine("TBODY");
  PanelList panel;
  if (!segment.getOffNames(catType, kOfficialsMask, "", true, 3, &panel)) return false;
  for (std::size_t i = 0; i < panel.functionNames.size(); ++i) {
    out_.openLine("TR");
    out_.element("TD", htmlEscape(panel.functionNames[i]));
    out_.element("TD", i < panel.names.size() ? htmlEscape(panel.names[i]) : "");
    if (options_.includeNation) {
      out_.element("TD", "align=center", i < panel.nations.size() ? htmlEscape(panel.nations[i]) : "");
    }
    out_.close("TR");
  }
  out_.close("TBODY");
  out_.close("TABLE");
  return trace.succeed();
}

}  // namespace tav
