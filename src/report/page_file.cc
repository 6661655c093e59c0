#include "report/page_file.h"

#include "base/failure_record.h"

namespace tav {

bool PageFile::open(const std::string& path) {
  if (!file_.open(path)) return failWith("Unable to open: " + path + " - " + errnoText());
  return true;
}

bool PageFile::finish(std::string_view bytes) {
  if (!file_.write(bytes.data(), bytes.size()) || !file_.replace()) {
    const std::string reason = errnoText();
    file_.discard();
    return failWith("Unable to write: " + file_.target() + " - " + reason);
  }
  return true;
}

bool outputFileName(const std::string& folder, const std::string& name,
                    const std::string& extension, std::string* path) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
    return failWith("Invalid file name: " + name);
  }
  *path = joinPath(folder, name + extension);
  return true;
}

bool writePageFile(const std::string& path, std::string_view bytes) {
  PageFile file;
  return file.open(path) && file.finish(bytes);
}

}  // namespace tav
