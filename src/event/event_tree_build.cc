// Building the event tree from the tables, and closing it.
//
// The build visits the records of every table once.  A first pass groups the
// records of CAT by EVT_ID, of PAR and SCP by CAT_ID, and of PRF, TIM and TTM
// by SCP_ID, each group in table order; the nodes are then made from their
// groups.  This gives the same nodes, in the same order and with the same
// messages, as scanning each child table once per parent, but the time grows
// with the size of the tables rather than with parents times records.
#include <unordered_map>

#include "base/failure_record.h"
#include "event/event_tree.h"
#include "event/field_number.h"
#include "session/tav.h"

namespace tav {
namespace {

using RecordGroups = std::unordered_map<int, std::vector<std::uint32_t>>;

// The open table of a handle, or nullptr without recording anything.
CDbf* findTable(const char* handle) {
  const auto& tables = session().handles().tables();
  auto it = tables.find(handle);
  return it == tables.end() ? nullptr : it->second.get();
}

// Appends a construction message on a new line (fatal), naming `owner`.
bool chainFailure(const char* owner, const std::string& message) {
  setErrStr(false, std::string(owner) + ": " + message, true, true);
  return false;
}

// The non-deleted records of a table, grouped by the integer value of a
// parent identifier field.
RecordGroups groupBy(const CDbf* table, const char* parentField) {
  RecordGroups groups;
  if (table == nullptr) return groups;
  FieldSlot parent(parentField);
  const std::size_t count = table->numScannable();
  for (std::size_t recNo = 0; recNo < count; ++recNo) {
    if (table->isDeleted(recNo)) continue;
    groups[decimalInt(fieldOrEmpty(*table, recNo, parent))].push_back(
        static_cast<std::uint32_t>(recNo));
  }
  return groups;
}

const std::vector<std::uint32_t>& groupOf(const RecordGroups& groups, int id) {
  static const std::vector<std::uint32_t> kNone;
  auto it = groups.find(id);
  return it == groups.end() ? kNone : it->second;
}

class TreeBuilder {
 public:
  TreeBuilder()
      : evt_(findTable("EVT")),
        cat_(findTable("CAT")),
        par_(findTable("PAR")),
        scp_(findTable("SCP")),
        prf_(findTable("PRF")),
        catsByEvent_(groupBy(cat_, "EVT_ID")),
        parsByCategory_(groupBy(par_, "CAT_ID")),
        scpsByCategory_(groupBy(scp_, "CAT_ID")),
        prfsBySegment_(groupBy(prf_, "SCP_ID")),
        timsBySegment_(groupBy(findTable("TIM"), "SCP_ID")),
        ttmsBySegment_(groupBy(findTable("TTM"), "SCP_ID")) {}

  CDbf* eventTable() const { return evt_; }

  std::unique_ptr<CEvent> buildEvent(std::uint32_t recNo, int id);

 private:
  std::unique_ptr<CCategory> buildCategory(std::uint32_t recNo, int id, char type);
  std::unique_ptr<CSegment> buildSegment(std::uint32_t recNo, int id, char kind,
                                         const CCategory& category);
  bool needTables(std::initializer_list<const char*> handles) const;

  CDbf* evt_;
  CDbf* cat_;
  CDbf* par_;
  CDbf* scp_;
  CDbf* prf_;
  RecordGroups catsByEvent_;
  RecordGroups parsByCategory_;
  RecordGroups scpsByCategory_;
  RecordGroups prfsBySegment_;
  RecordGroups timsBySegment_;
  RecordGroups ttmsBySegment_;
};

// True when every table is open; otherwise the registry's message names the
// first one missing.
bool TreeBuilder::needTables(std::initializer_list<const char*> handles) const {
  for (const char* handle : handles) {
    if (session().handles().getDbfHandlePtr(handle) == nullptr) return false;
  }
  return true;
}

std::unique_ptr<CEvent> TreeBuilder::buildEvent(std::uint32_t recNo, int id) {
  CallTrace t("CEvent.constructor");
  auto event = std::make_unique<CEvent>(recNo, id);
  if (!needTables({"EVT", "CAT"})) return nullptr;
  FieldSlot catId("CAT_ID");
  FieldSlot catType("CAT_TYPE");
  for (std::uint32_t catRec : groupOf(catsByEvent_, id)) {
    const int childId = decimalInt(fieldOrEmpty(*cat_, catRec, catId));
    const std::string idText = std::to_string(childId);
    if (event->categories().count(childId) != 0) {
      failWith("Duplicate category id: " + idText);
      return nullptr;
    }
    const std::string_view type = fieldOrEmpty(*cat_, catRec, catType);
    auto category = buildCategory(catRec, childId, type.empty() ? '\0' : type[0]);
    if (category == nullptr || !category->isComplete()) {
      chainFailure("CEvent.constructor", "Category construction not complete for id: " + idText);
      return nullptr;
    }
    if (!event->addCategory(std::move(category))) {
      failWith("Unable to add to category map: " + idText);
      return nullptr;
    }
  }
  event->markComplete();
  t.succeed();
  return event;
}

std::unique_ptr<CCategory> TreeBuilder::buildCategory(std::uint32_t recNo, int id, char type) {
  CallTrace t("CCategory.constructor");
  auto category = std::make_unique<CCategory>(recNo, id, type);
  if (!needTables({"CAT", "PAR", "SCP"})) return nullptr;
  std::array<int, kSlotCount> slots{};
  for (int i = 0; i < kSlotCount; ++i) {
    FieldSlot slot(numberedField("CAT_SCPID0", i + 1));
    slots[i] = decimalInt(fieldOrEmpty(*cat_, recNo, slot));
  }
  category->setSlots(slots);
  FieldSlot parId("PAR_ID");
  for (std::uint32_t parRec : groupOf(parsByCategory_, id)) {
    const int childId = decimalInt(fieldOrEmpty(*par_, parRec, parId));
    const std::string idText = std::to_string(childId);
    if (category->participants().count(childId) != 0) {
      failWith("Duplicate participant id: " + idText);
      return nullptr;
    }
    auto participant = std::make_unique<CParticipant>(parRec, childId);
    if (!participant->isComplete()) {
      chainFailure("CCategory.constructor", "Participant construction not complete: " + idText);
      return nullptr;
    }
    category->addParticipant(std::move(participant));
  }
  FieldSlot scpId("SCP_ID");
  FieldSlot scpType("SCP_TYPE");
  for (std::uint32_t scpRec : groupOf(scpsByCategory_, id)) {
    const int childId = decimalInt(fieldOrEmpty(*scp_, scpRec, scpId));
    const std::string idText = std::to_string(childId);
    if (category->segments().count(childId) != 0) {
      failWith("Duplicate segment id: " + idText);
      return nullptr;
    }
    const std::string_view typeText = fieldOrEmpty(*scp_, scpRec, scpType);
    const char kind = segmentKindLetter(type, typeText.empty() ? '\0' : typeText[0]);
    auto segment = buildSegment(scpRec, childId, kind, *category);
    if (segment == nullptr || !segment->isComplete()) {
      chainFailure("CCategory.constructor", "Segment construction not complete for id: " + idText);
      return nullptr;
    }
    category->addSegment(std::move(segment));
  }
  if (!category->linkSlots()) return category;  // stays incomplete
  t.succeed();
  return category;
}

std::unique_ptr<CSegment> TreeBuilder::buildSegment(std::uint32_t recNo, int id, char kind,
                                                    const CCategory& category) {
  CallTrace t("CSegment.constructor");
  auto segment = std::make_unique<CSegment>(recNo, id, kind,
                                            static_cast<int>(category.participants().size()));
  if (!needTables({"SCP", "JPS", "PJS", "TIM", "TTM", "PRF"})) return segment;
  FieldSlot prfId("PRF_ID");
  FieldSlot parId("PAR_ID");
  const std::string kindText = std::string(1, kind) + "+";
  for (std::uint32_t prfRec : groupOf(prfsBySegment_, id)) {
    const int childId = decimalInt(fieldOrEmpty(*prf_, prfRec, prfId));
    const int owner = decimalInt(fieldOrEmpty(*prf_, prfRec, parId));
    const std::string idText = std::to_string(childId);
    if (segment->performances().count(childId) != 0) {
      failWith("Duplicate performance id: " + idText);
      return nullptr;
    }
    auto participant = category.participants().find(owner);
    if (participant == category.participants().end()) {
      failWith("No participant id: " + std::to_string(owner));
      return nullptr;
    }
    auto performance =
        std::make_unique<CPerformance>(prfRec, childId, kindText, participant->second.get());
    if (!performance->isComplete()) {
      chainFailure("CSegment.constructor", "Performance construction not complete for id: " + idText);
      return nullptr;
    }
    segment->addPerformance(std::move(performance), owner);
  }
  const auto& tims = groupOf(timsBySegment_, id);
  segment->setTiming(tims.empty() ? -1 : static_cast<int>(tims.front()),
                     groupOf(ttmsBySegment_, id));
  if (!segment->calcStage()) return segment;  // stays incomplete
  segment->markComplete();
  t.succeed();
  return segment;
}

}  // namespace

bool CEventTree::eventPopulate() {
  CallTrace t("CTav.eventPopulate");
  TreeBuilder builder;
  const CDbf* evt = builder.eventTable();
  if (evt == nullptr) return t.succeed();
  // New events are kept apart until the whole build has succeeded, so that
  // a failed build leaves the tree as it was.
  std::map<int, std::unique_ptr<CEvent>> built;
  FieldSlot evtId("EVT_ID");
  const std::size_t count = evt->numScannable();
  for (std::size_t recNo = 0; recNo < count; ++recNo) {
    if (evt->isDeleted(recNo)) continue;
    const int id = decimalInt(fieldOrEmpty(*evt, recNo, evtId));
    const std::string idText = std::to_string(id);
    if (evts_.count(id) != 0 || built.count(id) != 0) {
      setErrStr(false, "event.eventPopulate: Duplicate event id: " + idText, false, true);
      return false;
    }
    auto event = builder.buildEvent(static_cast<std::uint32_t>(recNo), id);
    if (event == nullptr || !event->isComplete()) {
      chainFailure("CTav.eventPopulate", "Event construction not complete for id: " + idText);
      return false;
    }
    if (!built.emplace(id, std::move(event)).second) {
      return failWith("Unable to add to event map: " + idText);
    }
  }
  for (auto& [id, event] : built) evts_.emplace(id, std::move(event));
  return t.succeed();
}

void CEventTree::eventClose() { evts_.clear(); }

// Visits every node in map order: per event its categories, per category
// its segments with their performances, then its participants.
bool CEventTree::eventDumpIdTree() const {
  CallTrace t("CTav.eventDumpIdTree");
  std::size_t visited = 0;
  for (const auto& [evtId, event] : evts_) {
    ++visited;
    for (const auto& [catId, category] : event->categories()) {
      ++visited;
      for (const auto& [scpId, segment] : category->segments()) {
        visited += 1 + segment->performances().size();
      }
      visited += category->participants().size();
    }
  }
  return visited >= evts_.size() && t.succeed();
}

}  // namespace tav
