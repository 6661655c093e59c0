// Helpers shared by the ordered lists of the event tree: the check of a list
// position that comes from the application, the placeholder of a node
// without a name, and the names of every node of an identifier-ordered map.
#ifndef TAVC_EVENT_NODE_LISTS_H_
#define TAVC_EVENT_NODE_LISTS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "base/failure_record.h"

namespace tav {

// True when `index` names a position of a list of `size` entries; otherwise
// records why and answers false.
inline bool listIndexFails(int index, std::size_t size) {
  if (index < 0) return failWith("Invalid index: " + std::to_string(index));
  if (static_cast<std::size_t>(index) >= size) {
    return failWith("Index: " + std::to_string(index) + "  >= size: " + std::to_string(size));
  }
  return true;
}

// The name shown for a node whose name field is empty.
inline std::string orEmptyName(const std::string& name) {
  return name.empty() ? "<Empty Name>" : name;
}

// The names of the nodes of `nodes` (identifier to owned node) in map order.
template <typename NodeMap>
bool nodeNames(const NodeMap& nodes, std::vector<std::string>* names) {
  names->clear();
  for (const auto& entry : nodes) {
    std::string name;
    if (!entry.second->getName(&name)) return false;
    names->push_back(orEmptyName(name));
  }
  return true;
}

}  // namespace tav

#endif  // TAVC_EVENT_NODE_LISTS_H_
