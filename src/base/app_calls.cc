#include "base/app_calls.h"

#include "base/failure_record.h"

namespace tav {
namespace {

AppCalls* theAppCalls = nullptr;

bool failAppended(const std::string& message) {
  setErrStr(true, "execTclCmd: Tcl_Eval: " + message, true, true);
  return false;
}

}  // namespace

void setAppCalls(AppCalls* calls) { theAppCalls = calls; }

bool callApp(const std::vector<std::string>& words, int codePage) {
  if (theAppCalls == nullptr) return failAppended("no interpreter");
  std::string result;
  if (theAppCalls->run(words, codePage, &result)) return true;
  return failAppended(result);
}

bool callAppWithList(const std::vector<std::string>& words,
                     const std::vector<std::string>& elements, int codePage) {
  if (theAppCalls == nullptr) return failAppended("no interpreter");
  std::string result;
  if (theAppCalls->runWithList(words, elements, codePage, &result)) return true;
  return failAppended(result);
}

bool setAppVar(const std::string& name, const std::string& value, int codePage) {
  if (theAppCalls == nullptr) return failAppended("no interpreter");
  if (theAppCalls->setVar(name, value, codePage)) return true;
  return failAppended("can't set \"" + name + "\"");
}

}  // namespace tav
