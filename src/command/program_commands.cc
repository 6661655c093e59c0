// Program information, the failure record and text measurement.
#include <tk.h>

#include "command/commands.h"
#include "base/failure_record.h"
#include "command/table_text.h"

namespace tav {

Outcome getProgramVersion(Call& call) { return call.ok("3.7.3"); }

Outcome getProgramBDate(Call& call) { return call.ok("11/17/14"); }

Outcome tav_getErrStr(Call& call) { return call.ok(messageToUtf8(getErrStr())); }

Outcome getStackTrace(Call& call) { return call.ok(tav::getStackTrace()); }

// The library never opens a debug file, so there is nothing to close.
Outcome closeDebugFile(Call& call) { return call.ok("1"); }

Outcome tav_getTextWidth(Call& call) {
  // Loaded without Tk (the Tavc entry point) there is nothing to measure with.
  if (tkStubsPtr == nullptr) {
    return call.answer("tav_getTextWidth: Tk is not loaded in this interpreter", TCL_ERROR);
  }
  const std::string window = call.arg(1);
  const std::string font = call.arg(2);
  const std::string text = call.arg(3);
  Tk_Window main = Tk_MainWindow(call.interp());
  Tk_Window tkwin =
      main == nullptr ? nullptr : Tk_NameToWindow(call.interp(), window.c_str(), main);
  if (tkwin == nullptr) {
    return call.answer("tav_getTextWidth: Invalid tkwin: " + window, TCL_ERROR);
  }
  Tk_Font tkfont = Tk_GetFont(call.interp(), tkwin, font.c_str());
  if (tkfont == nullptr) {
    return call.answer("tav_getTextWidth: Invalid tkfont: " + font, TCL_ERROR);
  }
  const int width = Tk_TextWidth(tkfont, text.c_str(), static_cast<int>(text.size()));
  Tk_FreeFont(tkfont);
  return call.ok(width);
}

}  // namespace tav
