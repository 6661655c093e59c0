#include "report/event_evt_html.h"

#include "base/failure_record.h"
#include "event/event_tree.h"
#include "report/html.h"

namespace tav {

bool eventEvtHtml(const std::string& path, int evtId, const HtmlOptions& options,
                  PageCounts* counts) {
  CallTrace trace("CTav.eventEvtHtml");
  const CEvent* event = events().getEvtPtr(evtId);
  if (event == nullptr) return false;
  CHtml html(*event, path);
  const bool done = html.create(options);
  if (counts != nullptr) *counts = html.counts();
  if (!done) return false;
  return trace.succeed();
}

bool eventEvtMissPpe(int evtId) {
  CallTrace trace("CTav.eventEvtMissPpe");
  if (events().getEvtPtr(evtId) == nullptr) return false;
  return trace.succeed();
}

}  // namespace tav
