#include "report/deviation_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "dbf/file_io.h"
#include "event/category.h"
#include "event/event.h"
#include "event/event_tree.h"
#include "event/segment.h"
#include "report/deviation_segment.h"

namespace tav {

namespace {

constexpr int kPanelSlotMask = 4095;  // panel slots 1-12
constexpr std::size_t kFlushSize = 1 << 16;

// The columns before the judges, in header order.  kLabel is always there
// (the event name, the totals label, the category name).
enum Column { kLabel, kSegment, kSkater, kElement, kNumDev, kMedian, kAllGoe, kFixedColumns };
using FixedFields = std::array<std::string, kFixedColumns>;
using JudgeCounts = std::map<int, int>;  // PCT_ID: deviations

// The figures of one category: its segments and its totals.
struct CategoryFigures {
  std::string name;
  int numDev = 0;
  JudgeCounts judgeCounts;
  std::vector<SegmentDeviation> segments;
};

// The figures of the whole report, gathered before the file is opened.
struct ReportFigures {
  std::string eventName;
  std::set<int> judges;  // every judge of the included segments' panels
  JudgeCounts totals;
  std::vector<CategoryFigures> categories;
};

bool included(const DeviationOptions& options, int catId) {
  return options.catIds.empty() ||
         std::find(options.catIds.begin(), options.catIds.end(), catId) != options.catIds.end();
}

bool addPanelJudges(const CSegment& segment, char categoryType, std::set<int>* judges) {
  PanelList panel;
  if (!segment.getOffIds(categoryType, kPanelSlotMask, 0, &panel)) return false;
  for (int id : panel.ids) {
    if (id > 0) judges->insert(id);
  }
  return true;
}

bool categoryFigures(const CCategory& category, const DeviationOptions& options,
                     ReportFigures* report) {
  CategoryFigures figures;
  if (!category.getName(&figures.name)) return false;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int slotId = category.slots()[slot];
    if (slotId == 0) continue;
    const CSegment* segment = category.segmentInSlot(slot);
    if (segment == nullptr) {
      return failWith("Invalid segment pointer for id: " + std::to_string(-slotId));
    }
    if (!addPanelJudges(*segment, category.getType(), &report->judges)) return false;
    SegmentDeviation seg;
    if (!segmentDeviation(*segment, category.getType(), options.threshold, options.sortByPlace,
                          &seg)) {
      return false;
    }
    figures.numDev += seg.numDev;
    for (const auto& count : seg.judgeCounts) {
      figures.judgeCounts[count.first] += count.second;
      report->totals[count.first] += count.second;
    }
    figures.segments.push_back(std::move(seg));
  }
  report->categories.push_back(std::move(figures));
  return true;
}

bool gatherFigures(const CEvent& event, const DeviationOptions& options, ReportFigures* report) {
  if (!event.getName(&report->eventName)) return false;
  for (const auto& entry : event.categories()) {  // ascending CAT_ID
    if (!included(options, entry.first)) continue;
    if (!categoryFigures(*entry.second, options, report)) return false;
  }
  return true;
}

std::string medianText(long long median10) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", median10 / 10.0);
  return text;
}

// Writes the lines of the report into the file, buffered.
class DeviationWriter {
 public:
  DeviationWriter(const DeviationOptions& options, const std::set<int>& judges)
      : options_(options), judges_(judges.begin(), judges.end()) {
    for (std::size_t i = 0; i < judges_.size(); ++i) judgeColumn_[judges_[i]] = i;
  }

  bool open(const std::string& path) {
    if (!file_.open(path)) return failWith("Unable to open: " + path + " - " + errnoText());
    return true;
  }

  bool finish() {
    if (!flush() || !file_.replace()) return writeFailure();
    return true;
  }

  long long lines() const { return lines_; }
  bool ok() const { return ok_; }
  bool writeFailure() {
    const std::string reason = errnoText();
    file_.discard();
    return failWith("Unable to write: " + file_.target() + " - " + reason);
  }

  void header(const std::string& eventName, const std::vector<std::string>& judgeNames) {
    FixedFields fields;
    fields[kLabel] = eventName;
    fields[kSegment] = "Segment";
    fields[kSkater] = "Skater";
    fields[kElement] = "Element";
    fields[kNumDev] = "numDev";
    fields[kMedian] = "median GOE";
    fields[kAllGoe] = "AllGoe";
    line(fields, judgeNames);
  }

  void totals(const JudgeCounts& totals) {
    FixedFields fields;
    fields[kLabel] = "Judge deviation totals";
    std::vector<std::string> judgeFields(judges_.size(), "0");
    for (const auto& total : totals) judgeFields[judgeColumn_.at(total.first)] =
        std::to_string(total.second);
    line(fields, judgeFields);
  }

  void category(const CategoryFigures& category) {
    if (!shown(category.numDev)) return;
    if (options_.expandCat) countLine(kLabel, category.name, category.numDev,
                                      countFields(category.judgeCounts));
    for (const SegmentDeviation& segment : category.segments) this->segment(segment);
  }

 private:
  bool shown(int numDev) const { return numDev > 0 || options_.showZeroDev; }

  bool present(int column) const {
    switch (column) {
      case kLabel: return true;
      case kSegment: return options_.expandSeg;
      case kSkater: return options_.expandSk;
      case kElement: return options_.expandEl;
      case kNumDev: return options_.expandCat;
      case kMedian: return options_.expandEl;
      case kAllGoe: return options_.showAllGoe;
      default: return false;
    }
  }

  void segment(const SegmentDeviation& segment) {
    if (!shown(segment.numDev)) return;
    // Which header column each mark position of this segment feeds.
    std::array<int, kJudgeCount> positionColumn;
    for (int k = 0; k < kJudgeCount; ++k) {
      const auto found = judgeColumn_.find(segment.judges[k]);
      positionColumn[k] = found == judgeColumn_.end() ? -1 : static_cast<int>(found->second);
    }
    if (options_.expandSeg) {
      countLine(kSegment, segment.name, segment.numDev,
                countFields(segment.judgeCounts));
    }
    for (const SkaterDeviation& skater : segment.skaters) {
      if (!shown(skater.numDev)) continue;
      if (options_.expandSk) {
        countLine(kSkater, skater.name, skater.numDev,
                  positionFields(skater.positionCounts, positionColumn, 0, 0));
      }
      if (!options_.expandEl) continue;
      for (const ElementDeviation& element : skater.elements) {
        FixedFields fields;
        fields[kElement] = element.code;
        fields[kMedian] = medianText(element.median10);
        fields[kAllGoe] = element.allGoe;
        line(fields, positionFields(element.deviating, positionColumn, kNoGradeMark, 4));
      }
    }
  }

  // A category, segment or skater line: the name in its column, the count
  // in numDev.
  void countLine(int column, const std::string& name, int numDev,
                 const std::vector<std::string>& judgeFields) {
    FixedFields fields;
    fields[column] = name;
    fields[kNumDev] = std::to_string(numDev);
    line(fields, judgeFields);
  }

  std::vector<std::string> countFields(const JudgeCounts& counts) const {
    std::vector<std::string> fields(judges_.size());
    for (const auto& count : counts) {
      const auto found = judgeColumn_.find(count.first);
      if (found != judgeColumn_.end() && count.second != 0) {
        fields[found->second] = std::to_string(count.second);
      }
    }
    return fields;
  }

  // Values by mark position; `blank` gives an empty field, others are
  // written less `offset` (marks become grades).
  std::vector<std::string> positionFields(const std::array<int, kJudgeCount>& values,
                                          const std::array<int, kJudgeCount>& positionColumn,
                                          int blank, int offset) const {
    std::vector<std::string> fields(judges_.size());
    for (int k = 0; k < kJudgeCount; ++k) {
      if (positionColumn[k] < 0 || values[k] == blank) continue;
      std::string& field = fields[positionColumn[k]];
      if (field.empty()) field = std::to_string(static_cast<long long>(values[k]) - offset);
    }
    return fields;
  }

  void line(const FixedFields& fields, const std::vector<std::string>& judgeFields) {
    for (int column = 0; column < kFixedColumns; ++column) {
      if (!present(column)) continue;
      buffer_ += csvField(fields[column]);
      buffer_ += ',';
    }
    for (const std::string& field : judgeFields) {
      buffer_ += csvField(field);
      buffer_ += ',';
    }
    buffer_ += '\n';
    ++lines_;
    if (buffer_.size() >= kFlushSize) flush();
  }

  bool flush() {
    if (ok_ && !buffer_.empty()) ok_ = file_.write(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok_;
  }

  const DeviationOptions& options_;
  std::vector<int> judges_;  // header order: ascending PCT_ID
  std::map<int, std::size_t> judgeColumn_;
  SafeFileWriter file_;
  std::string buffer_;
  long long lines_ = 0;
  bool ok_ = true;
};

}  // namespace

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

bool eventDeviation(const CEvent& event, const std::string& path,
                    const DeviationOptions& options, long long* lines) {
  CallTrace trace("CEvent.deviation");
  ReportFigures figures;
  if (!gatherFigures(event, options, &figures)) return false;
  std::vector<std::string> judgeNames;
  for (int id : figures.judges) {
    std::string name;
    if (!basic().getPctIdName(id, &name, "INAME")) return false;
    judgeNames.push_back(std::move(name));
  }
  DeviationWriter writer(options, figures.judges);
  if (!writer.open(path)) return false;
  writer.header(figures.eventName, judgeNames);
  writer.totals(figures.totals);
  for (const CategoryFigures& category : figures.categories) writer.category(category);
  if (!writer.ok()) return writer.writeFailure();
  if (!writer.finish()) return false;
  if (lines != nullptr) *lines = writer.lines();
  return trace.succeed();
}

bool eventEvtDeviation(const std::string& path, int evtId, const DeviationOptions& options) {
  CallTrace trace("CTav.eventEvtDeviation");
  const CEvent* event = events().getEvtPtr(evtId);
  if (event == nullptr) return false;
  if (!eventDeviation(*event, path, options)) return false;
  return trace.succeed();
}

}  // namespace tav
