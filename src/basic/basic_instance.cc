// The one register of the library.  It is created on first use and empties
// itself whenever the session discards its tables, so it never refers to a
// table that is gone.
#include "basic/basic.h"
#include "session/tav.h"

namespace tav {

CBasic& basic() {
  static CBasic* const theBasic = [] {
    static CBasic instance;
    session().addCloseListener([] { instance.close(0); });
    return &instance;
  }();
  return *theBasic;
}

}  // namespace tav
