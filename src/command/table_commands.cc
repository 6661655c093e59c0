// Table access commands about a table's shape: counts, header date and
// field descriptions.
#include "command/commands.h"
#include "command/table_text.h"
#include "session/tav.h"

namespace tav {
namespace {

using CountQuery = bool (CTav::*)(const std::string&, int*);

Outcome answerCount(Call& call, CountQuery query) {
  int count = -1;
  if (!(session().*query)(call.arg(1), &count) || count == -1) return call.failed();
  return call.ok(count);
}

// A field name argument in the table's code page.
std::string fieldNameArg(Call& call) {
  return call.tableText(call.arg(1)).fromUtf8(call.arg(2));
}

}  // namespace

Outcome tav_getNF(Call& call) { return answerCount(call, &CTav::getHandleNumFields); }

Outcome tav_getNR(Call& call) { return answerCount(call, &CTav::getHandleNumRecs); }

Outcome tav_getNDR(Call& call) { return answerCount(call, &CTav::getHandleNumDelRecs); }

Outcome tav_getDbfHdate(Call& call) {
  std::string date;
  return session().getHandleHdate(call.arg(1), &date) ? call.ok(date) : call.failed();
}

Outcome tav_getFinfo(Call& call) {
  int index = 0;
  if (!call.intArg(2, &index)) return call.done();
  std::string name;
  char type = 'C';
  int length = 0;
  int offset = 0;
  if (!session().getHandleFieldParams(call.arg(1), index, &name, &type, &length, &offset)) {
    return call.failed();
  }
  name = call.tableText(call.arg(1)).toUtf8(name);
  return call.ok(name + " " + type + " " + std::to_string(length) + " " +
                 std::to_string(offset));
}

Outcome tav_fieldExists(Call& call) {
  const int index = session().getHandleFieldIndex(call.arg(1), fieldNameArg(call));
  if (index == -2) return call.failed();
  return call.ok(index >= 0 ? "1" : "0");
}

Outcome tav_getFidx(Call& call) {
  const int index = session().getHandleFieldIndex(call.arg(1), fieldNameArg(call));
  if (index == -2) return call.failed();
  if (index < 0) {
    return call.answer("tav_getFidx:Unable to get field index from: " + call.arg(2) + "\n",
                       TCL_ERROR);
  }
  return call.ok(index);
}

}  // namespace tav
