// The import of the library.
#include "basic/pct_import.h"
#include "session/tav.h"

namespace tav {

PctImport& pctImport() {
  static PctImport* const instance = [] {
    static PctImport import;
    session().addCloseListener([] { import.forgetIdentifiers(); });
    return &import;
  }();
  return *instance;
}

}  // namespace tav
