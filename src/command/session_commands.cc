// Commands of the session: folders, opening, loading, saving, closing, file
// times and modification marks.
#include "basic/basic.h"
#include "command/commands.h"
#include "command/interp_helpers.h"
#include "session/tav.h"

namespace tav {

// The application's folder also holds the abbreviation files of the name
// calculation; they are loaded here, and a missing or faulty file does not
// change the answer (the reason stays for tav_getErrStr).
Outcome tav_set_exec(Call& call) {
  if (!session().setExecPath(call.arg(1))) return call.failed();
  basic().loadAbbreviations(call.arg(1));
  return call.ok("1");
}

Outcome tav_set_dir(Call& call) {
  return session().setDirectoryPath(call.arg(1)) ? call.ok("1") : call.failed();
}

Outcome tav_get_dir(Call& call) {
  std::string folder;
  return session().getDirectoryPath(&folder) ? call.ok(folder) : call.failed();
}

Outcome tav_openDB(Call& call) {
  return session().openDB(call.arg(1)) ? call.ok("1") : call.failed();
}

Outcome tav_load(Call& call) {
  return session().loadHandle(call.arg(1)) ? call.ok("1") : call.failed();
}

Outcome tav_closeDB(Call& call) {
  return session().close() ? call.ok("1") : call.failed();
}

Outcome tav_save(Call& call) {
  return session().saveAll() ? call.ok("1") : call.failed();
}

Outcome tav_saveAs(Call& call) {
  return session().saveAsAll(call.arg(1)) ? call.ok("1") : call.failed();
}

Outcome tav_getMtime(Call& call) {
  std::int64_t time = 0;
  return session().getLatestModified(&time) ? call.ok(time) : call.failed();
}

Outcome tav_getDbfMtime(Call& call) {
  std::int64_t time = 0;
  return session().getHandleMtime(call.arg(1), &time) ? call.ok(time) : call.failed();
}

Outcome tav_isMod(Call& call) {
  bool modified = false;
  if (!session().isHandleModified(call.arg(1), &modified)) return call.failed();
  return call.ok(boolToStr(modified, "Yn"));
}

Outcome tav_anyMod(Call& call) {
  bool modified = false;
  if (!session().anyHandleModified(&modified)) return call.failed();
  return call.ok(boolToStr(modified, "10"));
}

Outcome tav_cdxExists(Call& call) {
  bool exists = false;
  if (!session().cdxHandleExists(call.arg(1), &exists)) return call.failed();
  return call.ok(boolToStr(exists, "Yn"));
}

Outcome tav_setDbfMod(Call& call) {
  return session().setHandleModified(call.arg(1)) ? call.ok("1") : call.failed();
}

Outcome tav_updateDbfMtime(Call& call) {
  return session().updateHandleMtime(call.arg(1)) ? call.ok("1") : call.failed();
}

Outcome tav_getHandleList(Call& call) {
  std::vector<std::string> names;
  return session().getHandleList(&names) ? call.ok(listToTcl(names)) : call.failed();
}

}  // namespace tav
