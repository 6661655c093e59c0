// The one session object of the library.  It is constructed when the library
// is loaded, before any interpreter initialises it, and shared by every
// interpreter that loads the library.
#include "session/tav.h"

namespace tav {
namespace {

CTav theSession;

}  // namespace

CTav& session() { return theSession; }

}  // namespace tav
