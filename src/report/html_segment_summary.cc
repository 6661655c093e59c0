// The segment summary page: the segment's results with scores, components,
// deductions and start numbers, the officials and the legend.
#include "base/failure_record.h"
#include "event/performance.h"
#include "event/segment.h"
#include "report/html.h"
#include "report/html_escape.h"

namespace tav {

bool CHtml::participantTexts(const CPerformance& performance, bool couple,
                             std::vector<std::string>* texts) {
  if (!couple) {
    texts->assign(2, std::string());
    return performance.getParNameClub(&(*texts)[0], &(*texts)[1]);
  }
  std::vector<std::string> all;
  if (!performance.getParNamesClubs(&all)) return false;
  *texts = {all[1], all[2], all[3], all[4]};
  return true;
}

bool CHtml::segSum(const CSegment& segment, const std::string& catName, char catType) {
  CallTrace trace("CHtml.segSum");
  std::string base;
  std::string file;
  std::string name;
  SegmentResults results;
  SegmentState state;
  if (!segment.getOutFileBaseName(0, prefix_, &base) || !createOutFileName(false, base, &file) ||
      !startPage(file) || !segment.getHtmlName(options_.tvNameFlag, &name) ||
      !segment.sortResults(&results) || !segmentState(segment, &state)) {
    return false;
  }
  const bool live = segment.id() == options_.activeSeg;
  const char* label = live ? "Live Unofficial" : state.finished ? "Final" : "Intermediate";
  header(false, live ? 30 : 0);
  const bool fragment = options_.format == kHtmlFragment;
  if (!fragment) {
    out_.openLine("BODY", "BGCOLOR=FFFFFF");
    nameDate();
    out_.element("H2", htmlEscape(catName));
    out_.openLine("TABLE", "BORDER=1 CELLSPACING=1");
    out_.openLine("CAPTION");
    out_.element("H2", htmlEscape(name));
    out_.element("H3", std::string(label) + " Result Details");
    out_.close("CAPTION");
  }
  out_.openLine("THEAD");
  out_.openLine("TR");
  headerCell(fragment ? "Pl." : "Place");
  headerCell("Name");
  if (options_.includeNation) headerCell("Nation");
  headerCell(fragment ? "TSS=" : "TSS<BR>=");
  headerCell(fragment ? "TES+" : "TES<BR>+");
  if (results.bonus) headerCell(fragment ? "Bonus+" : "Bonus<BR>+");
  headerCell(fragment ? "PCS+" : "PCS<BR>+");
  ComponentFactors components{};
  std::vector<std::string> longNames;
  std::vector<std::string> shortNames;
  DeductionFactors deductions{};
  if (!segment.getValidCompIndexes(false, &components) ||
      !segment.getCompNames(components, &longNames, &shortNames)) {
    return false;
  }
  for (int i = 0; i < kComponentCount; ++i) {
    if (components[i] != 0) headerCell(htmlEscape(shortNames[i]));
  }
  headerCell(fragment ? "Ded." : "Ded<BR>-");
  headerCell(fragment ? "StN." : "Start<BR>#");
  out_.close("TR");
  out_.close("THEAD");
  out_.openLine("TBODY");
  if (!segment.getValidDedIndexes(&deductions)) return false;
  char group = 0;
  if (!segment.getGroup(&group)) return false;
  const bool couple = catType == 'P' || catType == 'D';
  enum Group { kPlaced, kToSkate, kWithStatus };
  const PerformanceMap* groups[] = {&results.placed, &results.toSkate, &results.withStatus};
  int row = 0;
  for (int g = kPlaced; g <= kWithStatus; ++g) {
    for (const auto& entry : *groups[g]) {
      const CPerformance& performance = *entry.second;
      ScoreSummary score;
      std::string placeText;
      std::string startText;
      if (g == kPlaced) {
        if (!performance.getScoreSummaryInt(&score)) return false;
        placeText = std::to_string(entry.first);
        startText = std::to_string(score.startNo);
      } else if (g == kToSkate) {
        placeText = fragment ? "" : "&nbsp;";
        startText = std::to_string(entry.first);
      } else {
        if (!performance.getHtmlStatus(group, true, &placeText)) return false;
        placeText = htmlEscape(placeText);
        startText = "-";
      }
      if (!fragment && g != kWithStatus) startText = "#" + startText;
      std::vector<std::string> texts;
      std::string nation;
      if (!participantTexts(performance, couple, &texts) || !performance.getParNation(&nation)) {
        return false;
      }
      out_.openLine("TR", fragment ? (row % 2 == 0 ? "class=rowOdd" : "class=rowEven") : "");
      ++row;
      cell("align=center", placeText);
      nameCell(couple, texts);
      if (options_.includeNation) {
        if (nation.empty()) emptyCell(); else cell("align=center", htmlEscape(nation));
      }
      const bool placed = g == kPlaced;
      if (placed) {
        numberCell(score.points);
        numberCell(score.elements);
      } else {
        emptyCell();
        emptyCell();
      }
      if (results.bonus) {
        if (placed && score.bonus >= 1) numberCell(score.bonus); else emptyCell();
      }
      if (placed) numberCell(score.components); else emptyCell();
      for (int i = 0; i < kComponentCount; ++i) {
        if (components[i] == 0) continue;
        int panel = 0;
        int result = 0;
        if (!placed) {
          emptyCell();
          continue;
        }
        if (!performance.getCompScoreSummaryInt(i, &panel, &result)) return false;
        numberCell(panel);
      }
      if (placed) {
        float total = 0;
        if (!segment.getDedTotal(deductions, performance, &total)) return false;
        cell("align=center", fixedNumber(total, 2));
      } else {
        emptyCell();
      }
      cell("align=center", startText);
      out_.close("TR");
    }
  }
  out_.close("TBODY");
  out_.close("TABLE");
  if (!fragment) {
    out_.element("P", "");
    out_.element("P", "");
    if (!officials(catType, segment)) return false;
    out_.element("P", "");
    out_.element("P", "");
    legend(results.bonus, components, longNames, shortNames);
  }
  footer(false);
  if (!finishPage()) return false;
  return trace.succeed();
}

void CHtml::legend(bool bonus, const ComponentFactors& components,
                   const std::vector<std::string>& longNames,
                   const std::vector<std::string>& shortNames) {
  out_.openLine("TABLE", "BORDER=0 ", "CELLSPACING=0");
  out_.openLine("THEAD");
  out_.openLine("TR");
  out_.element("TH", "COLSPAN=2", "Legend");
  out_.close("TR");
  out_.close("THEAD");
  out_.openLine("TBODY");
  const auto row = [this](const std::string& abbreviation, const std::string& meaning) {
    out_.openLine("TR");
    out_.element("TD", "align=right", abbreviation);
    out_.element("TD", "style=padding-left:5px", meaning);
    out_.close("TR");
  };
  row("TSS", "Total Segment Score");
  row("TES", "Total Element Score");
  if (bonus) row("Bonus", "Bonus Score");
  row("PCS", "Program Component Score");
  for (int i = 0; i < kComponentCount; ++i) {
    if (components[i] != 0) row(htmlEscape(shortNames[i]), htmlEscape(longNames[i]));
  }
  out_.close("TBODY");
  out_.close("TABLE");
}

}  // namespace tav
