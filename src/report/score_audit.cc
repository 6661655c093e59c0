#include "report/score_audit.h"

#include <algorithm>

#include "base/failure_record.h"
#include "event/category.h"
#include "event/event_tree.h"
#include "report/html_writer.h"
#include "report/score_sheet.h"

namespace tav {
namespace {

constexpr std::size_t kMarksForTrimming = 5;

// One placed performance with what the audit needs of it.
struct Audited {
  const CPerformance* performance = nullptr;
  std::string skater;
  ScoreSheet sheet;
};

class Auditor {
 public:
  explicit Auditor(std::vector<AuditFinding>* findings) : findings_(*findings) {}

  bool category(const CCategory& category) {
    if (!category.getName(&category_)) return false;
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const CSegment* segment = category.segmentInSlot(slot);
      if (segment != nullptr && !this->segment(*segment)) return false;
    }
    return true;
  }

 private:
  bool segment(const CSegment& segment) {
    bool started = false;
    if (!segment.getName(&segment_) || !segment.hasStarted(&started)) return false;
    if (!started) return true;
    SheetLayout layout;
    SegmentResults results;
    if (!readSheetLayout(segment, &layout) || !segment.sortResults(&results)) return false;
    std::vector<Audited> placed;
    for (const auto& entry : results.placed) {
      Audited audited;
      audited.performance = entry.second;
      std::string club;
      if (!entry.second->getParNameClub(&audited.skater, &club) ||
          !readScoreSheet(segment, layout, *entry.second, &audited.sheet)) {
        return false;
      }
      placed.push_back(std::move(audited));
    }
    for (const Audited& audited : placed) {
      checkScores(audited);
      checkPlace(audited, placed);
    }
    return true;
  }

  void report(const Audited& audited, const std::string& field, const std::string& stored,
              const std::string& expected) {
    if (stored == expected) return;
    findings_.push_back({category_, segment_, audited.skater, field, stored, expected});
  }

  void reportPoints(const Audited& audited, const std::string& field, long long stored,
                    long long expected) {
    report(audited, field, pointsText(stored), pointsText(expected));
  }

  void checkScores(const Audited& audited) {
    const ScoreSheet& sheet = audited.sheet;
    long long componentTotal = 0;
    for (const SheetComponent& component : sheet.components) {
      std::vector<int> marks;
      for (const auto& mark : component.marks) {
        if (mark) marks.push_back(*mark);
      }
      if (!marks.empty()) {
        reportPoints(audited, component.name + " panel score", component.panel, panelMark(marks));
      }
      reportPoints(audited, component.name + " factored score", component.factored,
                   roundedDivision(static_cast<long long>(component.panel) * component.factor, 100));
      componentTotal += component.factored;
    }
    long long elementTotal = 0;
    for (const ElementDetail& element : sheet.elements) elementTotal += element.resultPoints;
    const ScoreSummary& total = sheet.summary;
    reportPoints(audited, "component total", total.components, componentTotal);
    reportPoints(audited, "element total", total.elements, elementTotal);
    reportPoints(audited, "segment total", total.points,
                 static_cast<long long>(total.elements) + total.components - sheet.deductionTotal +
                     total.bonus);
  }

  void checkPlace(const Audited& audited, const std::vector<Audited>& placed) {
    const ScoreSummary& mine = audited.sheet.summary;
    const auto ahead = [&](const Audited& other) {
      const ScoreSummary& theirs = other.sheet.summary;
      if (theirs.points != mine.points) return theirs.points > mine.points;
      if (theirs.elements != mine.elements) return theirs.elements > mine.elements;
      return other.performance->id() < audited.performance->id();
    };
    int place = 1;
    for (const Audited& other : placed) {
      if (ahead(other)) ++place;
    }
    report(audited, "place", std::to_string(mine.place), std::to_string(place));
  }

  std::vector<AuditFinding>& findings_;
  std::string category_, segment_;
};

}  // namespace

int panelMark(std::vector<int> marks) {
  if (marks.empty()) return 0;
  std::sort(marks.begin(), marks.end());
  const std::size_t dropped = marks.size() >= kMarksForTrimming ? 1 : 0;
  long long sum = 0;
  for (std::size_t i = dropped; i + dropped < marks.size(); ++i) sum += marks[i];
  return static_cast<int>(roundedDivision(sum, static_cast<long long>(marks.size() - 2 * dropped)));
}

bool auditEvent(const CEvent& event, std::vector<AuditFinding>* findings) {
  CallTrace trace("ScoreAudit.auditEvent");
  findings->clear();
  Auditor auditor(findings);
  for (std::size_t i = 0; i < event.categories().size(); ++i) {
    int catId = 0;
    if (!event.getCatListId(static_cast<int>(i), &catId)) return false;
    const CCategory* category = event.getCatPtr(catId);
    if (category == nullptr || !auditor.category(*category)) return false;
  }
  return trace.succeed();
}

bool eventEvtAudit(int evtId, std::vector<AuditFinding>* findings) {
  CallTrace trace("CTav.eventEvtAudit");
  const CEvent* event = events().getEvtPtr(evtId);
  if (event == nullptr || !auditEvent(*event, findings)) return false;
  return trace.succeed();
}

}  // namespace tav
