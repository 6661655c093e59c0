#include "report/site_memory.h"

#include "base/platform.h"

namespace tav {

SiteMemory& SiteMemory::instance() {
  static SiteMemory memory;
  return memory;
}

int SiteMemory::unchangedPages(const std::string& folder, int catId,
                               std::uint64_t inputs) const {
  const auto it = entries_.find({folder, catId});
  if (it == entries_.end() || it->second.inputs != inputs) return -1;
  for (const Page& page : it->second.pages) {
    Page now;
    if (!platform::regularFileStatus(page.path, &now.size, &now.mtime) ||
        now.size != page.size || now.mtime != page.mtime) {
      return -1;
    }
  }
  return static_cast<int>(it->second.pages.size());
}

void SiteMemory::remember(const std::string& folder, int catId, std::uint64_t inputs,
                          const std::vector<std::string>& pages) {
  Entry entry;
  entry.inputs = inputs;
  for (const std::string& path : pages) {
    Page page;
    page.path = path;
    if (!platform::regularFileStatus(path, &page.size, &page.mtime)) {
      return forget(folder, catId);
    }
    entry.pages.push_back(std::move(page));
  }
  entries_[{folder, catId}] = std::move(entry);
}

void SiteMemory::forget(const std::string& folder, int catId) {
  entries_.erase({folder, catId});
}

}  // namespace tav
