// Path joining and splitting, the same on every system; only what counts as
// a separator differs (isPathSeparator, in the system's own file).
#include "base/platform.h"

namespace tav {
namespace platform {

std::string joinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && isPathSeparator(folder.back())) return folder + name;
  return folder + "/" + name;
}

std::string folderOf(const std::string& path) {
  for (std::string::size_type i = path.size(); i > 0; --i) {
    if (isPathSeparator(path[i - 1])) return path.substr(0, i);
  }
  return ".";
}

}  // namespace platform
}  // namespace tav
