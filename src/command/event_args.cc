#include "command/event_args.h"

#include "command/interp_helpers.h"

namespace tav {

bool intArgs(Call& call, int first, int count, std::vector<int>* values) {
  values->assign(count, 0);
  for (int i = 0; i < count; ++i) {
    if (!call.intArg(first + i, &(*values)[i])) return false;
  }
  return true;
}

std::string utf8(Call& call, const char* handle, const std::string& text) {
  return call.tableText(handle).toUtf8(text);
}

std::vector<std::string> utf8(Call& call, const char* handle, std::vector<std::string> texts) {
  call.tableText(handle).toUtf8(&texts);
  return texts;
}

std::string joinInts(const std::vector<int>& values) { return intListToTcl(values); }

}  // namespace tav
