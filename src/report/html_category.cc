// The pages of one category: its segments' pages, then its result page.
#include "base/failure_record.h"
#include "event/category.h"
#include "event/participant.h"
#include "event/segment.h"
#include "report/html.h"
#include "report/html_escape.h"

namespace tav {

bool CHtml::category(const CCategory& category) {
  CallTrace trace("CHtml.category");
  std::string name;
  char gender = 0;
  char type = 0;
  if (!category.getHtmlName(options_.tvNameFlag, &name) ||
      !category.getGenderType(&gender, &type)) {
    return false;
  }
  for (int scpId : category.slots()) {
    if (scpId == 0) continue;
    const CSegment* segment = nullptr;
    SegmentState state;
    if (!findSegment(category, scpId, &segment) || !segmentState(*segment, &state)) return false;
    if (!state.started) {
      if (state.hasStartOrder && options_.startOrderFlag &&
          !segStOrder(*segment, name, type)) {
        return false;
      }
      continue;
    }
    if (!segSum(*segment, name, type)) return false;
    if ((options_.detailFlag == 1 ||
         (options_.detailFlag == -1 && scpId != options_.activeSeg)) &&
        !segDetail(*segment, name, type)) {
      return false;
    }
  }
  bool started = false;
  if (!category.hasStarted(&started)) return false;
  if (started && !categoryPage(category, name)) return false;
  return trace.succeed();
}

bool CHtml::categoryPage(const CCategory& category, const std::string& name) {
  CallTrace trace("CHtml.categoryPage");
  std::string title;
  bool isLive = false;
  std::string base;
  std::string file;
  if (!category.getResultTitle(options_.activeSeg, &title, &isLive) ||
      !category.getOutFileBaseName(prefix_, &base) || !createOutFileName(false, base, &file) ||
      !startPage(file)) {
    return false;
  }
  header(false, 30);
  const bool fragment = options_.format == kHtmlFragment;
  if (fragment) {
    out_.openLine("THEAD");
    out_.openLine("TR");
    headerCell("FPl.");
  } else {
    out_.openLine("BODY", "BGCOLOR=FFFFFF");
    nameDate();
    out_.element("H2", htmlEscape(name));
    out_.openLine("TABLE", "BORDER=1 CELLSPACING=1");
    out_.openLine("CAPTION");
    out_.element("H3", htmlEscape(title));
    out_.close("CAPTION");
    out_.openLine("THEAD");
    out_.openLine("TR");
    headerCell("Place");
  }
  headerCell("Name");
  if (options_.includeNation) headerCell("Nation");
  headerCell("Score");
  if (!categoryRows(category)) return false;
  footer(false);
  if (!finishPage()) return false;
  return trace.succeed();
}

bool CHtml::categoryRows(const CCategory& category) {
  CategoryResults results;
  if (!category.sortResults(-1, &results)) return false;
  for (const std::string& shortName : results.shortNames) headerCell(htmlEscape(shortName));
  out_.close("TR");
  out_.close("THEAD");
  out_.openLine("TBODY");
  const bool fragment = options_.format == kHtmlFragment;
  const bool couple = category.getType() == 'P' || category.getType() == 'D';
  enum Group { kPlaced, kToSkate, kWithStatus };
  const ParticipantMap* groups[] = {&results.placed, &results.toSkate, &results.withStatus};
  for (int group = kPlaced; group <= kWithStatus; ++group) {
    for (const auto& entry : *groups[group]) {
      const CParticipant& participant = *entry.second;
      std::vector<std::string> texts;
      std::vector<std::string> cellTexts;
      std::string nation;
      int points = 0;
      int place = 0;
      if (!participant.getNamesClubs(&texts) || !participant.getNation(&nation) ||
          (group == kPlaced && !participant.getTotalPointPlace(&points, &place))) {
        return false;
      }
      if (couple) {
        cellTexts = {texts[1], texts[2], texts[3], texts[4]};
      } else {
        cellTexts = {texts[0], texts[2]};
      }
      std::string placeText;
      if (group == kPlaced) {
        placeText = std::to_string(entry.first);
      } else if (group == kToSkate) {
        placeText = fragment ? "" : "&nbsp;";
      } else if (participant.getHtmlStatus(true, &placeText)) {
        placeText = htmlEscape(placeText);
      } else {
        return false;
      }
      out_.openLine("TR", fragment ? "class=rowOdd" : "");
      cell("align=center", placeText);
      nameCell(couple, cellTexts);
      if (options_.includeNation) {
        if (nation.empty()) emptyCell(); else cell("align=center", htmlEscape(nation));
      }
      if (group == kPlaced) numberCell(points); else emptyCell();
      for (int slot = 0; slot < kSlotCount; ++slot) {
        const int scpId = category.slots()[slot];
        if (scpId == 0) continue;
        const CSegment* segment = nullptr;
        int segPoints = 0;
        int segPlace = 0;
        if (!findSegment(category, scpId, &segment) ||
            !participant.getSegPointPlace(slot, &segPoints, &segPlace)) {
          return false;
        }
        if (segPlace < 1) emptyCell(); else cell("align=center", std::to_string(segPlace));
      }
      out_.close("TR");
    }
  }
  out_.close("TBODY");
  out_.close("TABLE");
  if (!fragment && results.toSkate.size() >= 2) {
    out_.element("P", "Note: Remaining skaters are listed in " +
                          htmlEscape(results.toSkateSegName) + " segment start order.");
  }
  return true;
}

}  // namespace tav
