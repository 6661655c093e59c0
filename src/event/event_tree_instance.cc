// The one event tree of the library, emptied whenever the session closes its
// database or drops or re-reads a table the tree was built from.
#include "event/event_tree.h"
#include "session/tav.h"

namespace tav {

CEventTree& events() {
  static CEventTree tree;
  static const bool registered = [] {
    session().addCloseListener([] { tree.eventClose(); });
    return true;
  }();
  (void)registered;
  return tree;
}

}  // namespace tav
