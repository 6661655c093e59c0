#include "report/results_json.h"

#include "base/failure_record.h"
#include "event/category.h"
#include "event/event_tree.h"
#include "event/field_number.h"
#include "event/participant.h"
#include "report/page_file.h"
#include "report/score_sheet.h"

namespace tav {
namespace {

constexpr int kEveryOfficial = (1 << kOfficialSlotCount) - 1;
constexpr int kNoGrade = 9;  // stored grade + 4 of a judge without a grade
constexpr int kResultsFormatVersion = 1;

// "20171207" as "2017-12-07"; other texts as null.
void dateValue(JsonWriter& out, const std::string& date) {
  const bool digits = date.size() == 8 && date.find_first_not_of("0123456789") == std::string::npos;
  if (!digits) return out.null();
  out.text(date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2));
}

std::string segmentStatus(bool started, bool finished) {
  return finished ? "finished" : started ? "in progress" : "not started";
}

class ResultsDocument {
 public:
  explicit ResultsDocument(const TextDecoder& decode) : out_(decode) {}

  bool write(const CEvent& event, std::string* document) {
    EventHtmlInfo info;
    if (!event.getHtmlInfo(&info)) return false;
    out_.beginObject();
    out_.key("format").text("tavC results");
    out_.key("version").integer(kResultsFormatVersion);
    out_.key("event").beginObject();
    out_.key("id").integer(event.id());
    out_.key("name").text(info.name);
    out_.key("place").text(info.place);
    dateValue(out_.key("begin"), info.beginDate);
    dateValue(out_.key("end"), info.endDate);
    out_.key("categories").beginArray();
    for (std::size_t i = 0; i < event.categories().size(); ++i) {
      int catId = 0;
      if (!event.getCatListId(static_cast<int>(i), &catId)) return false;
      const CCategory* category = event.getCatPtr(catId);
      if (category == nullptr || !writeCategory(*category)) return false;
    }
    out_.endArray();
    out_.endObject();
    out_.endObject();
    *document = out_.finish();
    return true;
  }

 private:
  bool writeCategory(const CCategory& category) {
    std::string name;
    char gender = 0, type = 0, level = 0;
    if (!category.getName(&name) || !category.getGenderType(&gender, &type) ||
        !category.getLevel(&level)) {
      return false;
    }
    out_.beginObject();
    out_.key("id").integer(category.id());
    out_.key("name").text(name);
    out_.key("type").text(std::string(type ? 1 : 0, type));
    out_.key("gender").text(std::string(gender ? 1 : 0, gender));
    out_.key("level").text(std::string(level ? 1 : 0, level));
    out_.key("segments").beginArray();
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const CSegment* segment = category.segmentInSlot(slot);
      if (segment != nullptr && !writeSegment(*segment, category.getType())) return false;
    }
    out_.endArray();
    out_.endObject();
    return true;
  }

  bool writeSegment(const CSegment& segment, char catType) {
    std::string name, shortName;
    char type = 0, group = 0;
    bool started = false, finished = false;
    SheetLayout layout;
    PanelList panel;
    SegmentResults results;
    if (!segment.getName(&name) || !segment.getSName(&shortName) || !segment.getType(&type) ||
        !segment.getGroup(&group) || !segment.hasStarted(&started) || !segment.isFinished(&finished) ||
        !readSheetLayout(segment, &layout) ||
        !segment.getOffNames(catType, kEveryOfficial, "", false, 3, &panel) ||
        !segment.sortResults(&results)) {
      return false;
    }
    out_.beginObject();
    out_.key("id").integer(segment.id());
    out_.key("name").text(name);
    out_.key("shortName").text(shortName);
    out_.key("type").text(std::string(type ? 1 : 0, type));
    out_.key("status").text(segmentStatus(started, finished));
    out_.key("judges").integer(layout.judges);
    out_.key("officials").beginArray();
    for (std::size_t i = 0; i < panel.functionNames.size(); ++i) {
      out_.beginObject(true);
      out_.key("function").text(panel.functionNames[i]);
      out_.key("name").text(i < panel.names.size() ? panel.names[i] : "");
      out_.key("nation").text(i < panel.nations.size() ? panel.nations[i] : "");
      out_.endObject();
    }
    out_.endArray();
    out_.key("components").beginArray();
    for (int c = 0; c < kComponentCount; ++c) {
      if (layout.componentFactors[c] == 0) continue;
      out_.beginObject(true);
      out_.key("name").text(layout.componentNames[c]);
      out_.key("shortName").text(layout.componentShortNames[c]);
      out_.key("factor").points(layout.componentFactors[c]);
      out_.endObject();
    }
    out_.endArray();
    if (!writeStartOrder(segment)) return false;
    out_.key("performances").beginArray();
    for (const PerformanceMap* group : {&results.placed, &results.withStatus, &results.toSkate}) {
      for (const auto& entry : *group) {
        if (!writePerformance(segment, layout, *entry.second, group == &results.placed)) {
          return false;
        }
      }
    }
    out_.endArray();
    out_.endObject();
    return true;
  }

  bool writeStartOrder(const CSegment& segment) {
    std::vector<int> prfIds;
    if (!segment.getStartList(&prfIds)) return false;
    out_.key("startOrder").beginArray();
    for (int prfId : prfIds) {
      const CPerformance* performance = segment.getPrfPtr(prfId);
      int startNo = 0, groupNo = 0;
      if (performance == nullptr || !performance->getStartNo(&startNo) ||
          !performance->getWarmupGroupNo(&groupNo)) {
        return false;
      }
      out_.beginObject(true);
      out_.key("startNumber").integer(startNo);
      out_.key("warmupGroup").integer(groupNo);
      out_.key("performance").integer(prfId);
      out_.endObject();
    }
    out_.endArray();
    return true;
  }

  bool writePerformance(const CSegment& segment, const SheetLayout& layout,
                        const CPerformance& performance, bool placed) {
    ScoreSheet sheet;
    std::vector<std::string> names;  // name, first name, first club, second name, second club
    std::string nation, status;
    bool couple = false;
    char group = 0;
    if (!readScoreSheet(segment, layout, performance, &sheet) ||
        !performance.getParNamesClubs(&names) || !performance.getParNation(&nation) ||
        !performance.participant().isCouple(&couple) || !segment.getGroup(&group) ||
        !performance.getHtmlStatus(group, true, &status)) {
      return false;
    }
    names.resize(5);
    out_.beginObject();
    out_.key("id").integer(performance.id());
    out_.key("participant").integer(performance.participant().id());
    if (placed) {
      out_.key("place").integer(sheet.summary.place);
    } else {
      out_.key("place").null();
    }
    out_.key("startNumber").integer(sheet.summary.startNo);
    out_.key("name").text(names[0]);
    out_.key("members").beginArray(true);
    out_.text(names[1]);
    if (couple) out_.text(names[3]);
    out_.endArray();
    out_.key("club").text(names[2]);
    out_.key("nation").text(nation);
    out_.key("status").text(status);
    out_.key("segmentScore").points(sheet.summary.points);
    out_.key("elementScore").points(sheet.summary.elements);
    out_.key("componentScore").points(sheet.summary.components);
    out_.key("totalDeductions").points(sheet.deductionTotal);
    out_.key("bonus").points(sheet.summary.bonus);
    writeElements(sheet, layout.judges);
    writeComponents(sheet);
    out_.key("deductions").beginArray();
    for (const SheetDeduction& deduction : sheet.deductions) {
      out_.beginObject(true);
      out_.key("name").text(deduction.name);
      out_.key("points").points(deduction.points);
      out_.endObject();
    }
    out_.endArray();
    out_.endObject();
    return true;
  }

  void writeElements(const ScoreSheet& sheet, int judges) {
    out_.key("elements").beginArray();
    for (const ElementDetail& element : sheet.elements) {
      out_.beginObject(true);
      out_.key("number").integer(element.number);
      out_.key("code").text(element.name);
      out_.key("info").text(element.info);
      out_.key("secondHalf").boolean(decimalInt(element.half) == 1);
      out_.key("baseValue").points(element.baseValuePoints);
      out_.key("goe").points(element.panelPoints);
      out_.key("judges").beginArray(true);
      for (int j = 0; j < judges; ++j) {
        if (element.grades[j] == kNoGrade) {
          out_.null();
        } else {
          out_.integer(element.grades[j] - 4);
        }
      }
      out_.endArray();
      out_.key("score").points(element.resultPoints);
      out_.endObject();
    }
    out_.endArray();
  }

  void writeComponents(const ScoreSheet& sheet) {
    out_.key("components").beginArray();
    for (const SheetComponent& component : sheet.components) {
      out_.beginObject(true);
      out_.key("name").text(component.name);
      out_.key("factor").points(component.factor);
      out_.key("judges").beginArray(true);
      for (const auto& mark : component.marks) {
        if (mark) {
          out_.points(*mark);
        } else {
          out_.null();
        }
      }
      out_.endArray();
      out_.key("score").points(component.panel);
      out_.key("factoredScore").points(component.factored);
      out_.endObject();
    }
    out_.endArray();
  }

  JsonWriter out_;
};

}  // namespace

bool resultsJson(const CEvent& event, const TextDecoder& decode, std::string* document) {
  CallTrace trace("ResultsJson.write");
  if (!ResultsDocument(decode).write(event, document)) return false;
  return trace.succeed();
}

bool eventEvtJson(const std::string& folder, int evtId, const TextDecoder& decode,
                  std::string* path) {
  CallTrace trace("CTav.eventEvtJson");
  const CEvent* event = events().getEvtPtr(evtId);
  std::string document;
  if (event == nullptr || !outputFileName(folder, "event" + event->idText(), ".json", path) ||
      !resultsJson(*event, decode, &document) || !writePageFile(*path, document)) {
    return false;
  }
  return trace.succeed();
}

}  // namespace tav
