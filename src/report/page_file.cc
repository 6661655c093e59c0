#include "report/page_file.h"

#include <memory>

#include "base/failure_record.h"
#include "base/platform.h"

namespace tav {
namespace {

// True when the page file at `path` already holds `bytes` (apart from the
// stamp).  A file that cannot be read counts as different.
bool holdsPage(const std::string& path, std::string_view bytes, PageStamp stamp) {
  std::string existing;
  return readFileBytes(path, &existing) && samePage(existing, bytes, stamp);
}

}  // namespace

bool PageFile::open(const std::string& path) {
  if (!file_.open(path)) return failWith("Unable to open: " + path + " - " + errnoText());
  return true;
}

bool PageFile::finish(std::string_view bytes, PageStamp stamp, PageCounts* counts) {
  if (holdsPage(file_.target(), bytes, stamp)) {
    file_.discard();
    if (counts != nullptr) ++counts->unchanged;
    return true;
  }
  if (!file_.write(bytes.data(), bytes.size()) || !file_.replace()) {
    const std::string reason = errnoText();
    file_.discard();
    return failWith("Unable to write: " + file_.target() + " - " + reason);
  }
  if (counts != nullptr) ++counts->written;
  return true;
}

bool readFileBytes(const std::string& path, std::string* bytes) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(platform::openFile(path, "rb"),
                                                              &std::fclose);
  std::uint64_t size = 0;
  if (!file || !platform::openFileSize(file.get(), &size)) return false;
  bytes->resize(static_cast<std::size_t>(size));
  return std::fread(&(*bytes)[0], 1, bytes->size(), file.get()) == bytes->size();
}

bool samePage(std::string_view file, std::string_view page, PageStamp stamp) {
  if (stamp.size == 0 || stamp.at + stamp.size > page.size()) return file == page;
  const std::string_view head = page.substr(0, stamp.at);
  const std::string_view tail = page.substr(stamp.at + stamp.size);
  if (file.size() < head.size() + tail.size() ||
      file.substr(0, head.size()) != head || file.substr(file.size() - tail.size()) != tail) {
    return false;
  }
  const std::string_view other =
      file.substr(head.size(), file.size() - head.size() - tail.size());
  return other.size() <= 64 && other.find_first_of("<>\n") == std::string_view::npos;
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

bool writePageFile(const std::string& path, std::string_view bytes, PageStamp stamp,
                   PageCounts* counts) {
  PageFile file;
  return file.open(path) && file.finish(bytes, stamp, counts);
}

}  // namespace tav
