// The special achievement award page (CHtml.saa): for each chosen segment,
// the skaters with the most points in the element families of the category
// type, and every entry that received a +2 or +3 from any judge.
//
// The page uses the generator as the award command builds it, without
// options: format 0 (a complete page), plain category and segment names.
// It is built in memory and put in place under its final name, "SAA_" and
// the event name, or, for a single segment, "SAA_" and the category and
// segment names; characters that cannot stand in a file name become "_", and
// the name is made UTF-8 from the database's code page, as the platform layer
// expects file names.  An earlier page of that name is replaced (unless it
// holds the same page); a failed run leaves it.  A segment list that is empty
// or names a segment the event does not hold fails before anything is
// written.
#include "report/saa.h"

#include <algorithm>

#include "base/failure_record.h"
#include "base/windows_1252.h"
#include "dbf/file_io.h"
#include "event/category.h"
#include "event/event.h"
#include "event/event_tree.h"
#include "event/segment.h"
#include "report/html.h"
#include "report/html_escape.h"
#include "report/saa_families.h"

namespace tav {

namespace {

const char kFirstHeadingStyle[] = "style=margin-top:10pt;margin-bottom:0pt";
const char kLaterHeadingStyle[] =
    "style=margin-top:10pt;margin-bottom:0pt;page-break-before:always";
const char kAwardStyle[] = "style=margin-top:50pt;margin-bottom:5pt";

// A placed performance and what it contributes.
struct SaaEntry {
  const CPerformance* performance;
  SaaFigures figures;
};

struct Award {
  SaaFamily family;
  const char* heading;
  const char* emptyMessage;
};

const Award kSpinAward = {kSpins, "The skater who achieved the most points for spins was:",
                          "Empty spin map."};
const Award kPairSpinAward = {
    kSpins, "The pair who achieved the most points for side by side spins was:",
    "Empty spin map."};
const Award kTwistAward = {kTwistLifts,
                           "The pair who achieved the most points for twist lifts was:",
                           "Empty twist map."};
const Award kSpiralAward = {kDeathSpirals,
                            "The pair who achieved the most points for death spirals was:",
                            "Empty spiral map."};
const Award kLiftAward = {kLifts, "The couple who achieved the most points for lifts was:",
                          "Empty lift map."};
const Award kTwizzleAward = {kTwizzles,
                             "The couple who achieved the most points for twizzles was:",
                             "Empty twizzle map."};

std::vector<Award> awardsFor(char type, char level) {
  switch (type) {
    case 'S': return {kSpinAward};
    case 'P':
      if (level == '3') return {kPairSpinAward};
      return {kPairSpinAward, kTwistAward, kSpiralAward};
    case 'D': return {kLiftAward, kTwizzleAward};
    default: return {};
  }
}

const char* plusTwoHeading(char type) {
  switch (type) {
    case 'P':
      return "The pairs who received at least one +2 GOE or higher by any judge for any "
             "element:";
    case 'D':
      return "The couples who received at least one +2 GOE or higher by any judge for any "
             "element:";
    default:
      return "The skaters who received at least one +2 GOE or higher by any judge for any "
             "element:";
  }
}

// The placed performances of the segment in place order, with their figures.
bool segmentEntries(const CSegment& segment, std::vector<SaaEntry>* entries) {
  SegmentResults results;
  if (!segment.sortResults(&results)) return false;
  for (const auto& placed : results.placed) {
    SaaEntry entry{placed.second, SaaFigures()};
    std::vector<ElementDetail> elements;
    if (!entry.performance->getElmScoreDetail(false, false, &elements) ||
        !saaFigures(segment.kind(), elements, &entry.figures)) {
      return false;
    }
    entries->push_back(std::move(entry));
  }
  return true;
}

bool nameRow(HtmlWriter& out, const CPerformance& performance, const std::string& second) {
  std::string name;
  std::string club;
  if (!performance.getParNameClub(&name, &club)) return false;
  out.openLine("TR");
  out.element("TD", "style=padding-right:10pt", htmlEscape(name));
  out.element("TD", "style=padding-left:10pt", second);
  out.close("TR");
  return true;
}

// The heading of an award and, when the highest sum is above 0, the table
// of every entry that reached it.
bool writeAward(HtmlWriter& out, const std::vector<SaaEntry>& entries, const Award& award) {
  if (entries.empty()) return failWith(award.emptyMessage);
  long long highest = entries.front().figures.sums[award.family];
  for (const SaaEntry& entry : entries) {
    highest = std::max(highest, entry.figures.sums[award.family]);
  }
  out.element("H3", kAwardStyle, award.heading);
  if (highest <= 0) return true;
  out.openLine("TABLE");
  for (const SaaEntry& entry : entries) {
    if (entry.figures.sums[award.family] != highest) continue;
    if (!nameRow(out, *entry.performance, pointsText(highest))) return false;
  }
  out.close("TABLE");
  return true;
}

bool writePlusTwo(HtmlWriter& out, char type, const std::vector<SaaEntry>& entries) {
  out.element("H3", kAwardStyle, plusTwoHeading(type));
  out.openLine("TABLE");
  for (const SaaEntry& entry : entries) {
    if (entry.figures.plusTwo.empty()) continue;
    if (!nameRow(out, *entry.performance, htmlEscape(entry.figures.plusTwo))) return false;
  }
  out.close("TABLE");
  return true;
}

// Fails unless every identifier names a segment of the event and there is
// at least one: an award page of nothing must not replace a real one.
bool checkAwardedSegments(const CEvent& event, const std::vector<int>& scpIds) {
  if (scpIds.empty()) return failWith("No segment to award");
  for (int scpId : scpIds) {
    bool found = false;
    for (const auto& category : event.categories()) {
      if (category.second->segments().count(scpId) != 0) found = true;
    }
    if (!found) {
      return failWith("No segment " + std::to_string(scpId) + " in event " +
                      std::to_string(event.id()));
    }
  }
  return true;
}

}  // namespace

std::string saaFileName(const std::string& base) {
  std::string name = "SAA_";
  for (char c : base) {
    const bool unfit = c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
    name += unfit ? '_' : c;
  }
  return windows1252ToUtf8(name) + ".html";
}

bool CHtml::saa(const std::vector<int>& scpIds) {
  CallTrace trace("CHtml.saa");
  if (!checkAwardedSegments(event_, scpIds) || !readEventBlock()) return false;
  out_.startPage();
  stamp_ = PageStamp();
  header(false, 0);
  out_.openLine("BODY", "BGCOLOR=FFFFFF");
  const char* headingStyle = kFirstHeadingStyle;
  std::string singleName;  // category and segment names of a single segment
  const int count = static_cast<int>(event_.categories().size());
  for (int i = 0; i < count; ++i) {
    int catId = 0;
    const CCategory* category = nullptr;
    std::string catHtmlName;
    char gender = 0;
    char type = 0;
    char level = 0;
    if (!event_.getCatListId(i, &catId) || !findCategory(catId, &category) ||
        !category->getHtmlName(options_.tvNameFlag, &catHtmlName) ||
        !category->getGenderType(&gender, &type) || !category->getLevel(&level)) {
      return false;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const int scpId = category->slots()[slot];
      if (scpId == 0) break;
      const CSegment* segment = nullptr;
      if (!findSegment(*category, scpId, &segment)) return false;
      if (std::find(scpIds.begin(), scpIds.end(), scpId) == scpIds.end()) continue;
      std::string segHtmlName;
      std::vector<SaaEntry> entries;
      if (!segment->getHtmlName(options_.tvNameFlag, &segHtmlName) ||
          !segmentEntries(*segment, &entries)) {
        return false;
      }
      out_.element("H1", headingStyle, htmlEscape(eventName_));
      headingStyle = kLaterHeadingStyle;
      out_.element("H2", "style=margin-top:2pt", "Special Achievement Awards");
      out_.element("H2", "style=margin-top:40pt", htmlEscape(catHtmlName + " " + segHtmlName));
      for (const Award& award : awardsFor(type, level)) {
        if (!writeAward(out_, entries, award)) return false;
      }
      if (!writePlusTwo(out_, type, entries)) return false;
      if (scpIds.size() == 1) {
        std::string catName;
        std::string segName;
        if (!category->getName(&catName) || !segment->getName(&segName)) return false;
        singleName = catName + " " + segName;
      }
    }
  }
  footer(false);
  const std::string name = saaFileName(singleName.empty() ? eventName_ : singleName);
  if (!writePageFile(joinPath(path_, name), out_.page(), stamp_, &counts_)) return false;
  return trace.succeed();
}

bool eventEvtSaa(const std::string& path, int evtId, const std::vector<int>& scpIds,
                 PageCounts* counts) {
  CallTrace trace("CTav.eventEvtSaa");
  const CEvent* event = events().getEvtPtr(evtId);
  if (event == nullptr) return false;
  CHtml html(*event, path);
  if (!html.saa(scpIds)) return false;
  if (counts != nullptr) *counts = html.counts();
  return trace.succeed();
}

}  // namespace tav
