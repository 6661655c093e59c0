// Argument helpers shared by the event command families: the identifiers
// that name an event, category, segment and performance, and the node they
// name in the event tree.  Identifiers come from the application and are
// untrusted; every one is checked by the tree's lookups, whose messages the
// command returns.
#ifndef TAVC_COMMAND_EVENT_ARGS_H_
#define TAVC_COMMAND_EVENT_ARGS_H_

#include <string>
#include <vector>

#include "command/command_frame.h"
#include "command/table_text.h"
#include "event/event_tree.h"

namespace tav {

// Reads the integer arguments first..first+count-1 into `values`.
bool intArgs(Call& call, int first, int count, std::vector<int>* values);

// The text of a table's code page as UTF-8, for names read from a table.
std::string utf8(Call& call, const char* handle, const std::string& text);
std::vector<std::string> utf8(Call& call, const char* handle, std::vector<std::string> texts);

std::string joinInts(const std::vector<int>& values);

}  // namespace tav

#endif  // TAVC_COMMAND_EVENT_ARGS_H_
