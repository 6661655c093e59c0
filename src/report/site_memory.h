// SiteMemory remembers, for this process, what each category's pages of a
// results site were made from: per output folder and category, the
// fingerprint of the inputs (page_inputs.h) and the pages it wrote with
// their file times.  A publication into the same folder passes over a
// category whose fingerprint is the same and whose pages are all still there
// as regular files of the same sizes and file times, so a watcher that republishes after each save
// regenerates only the categories that changed.
//
// Nothing is kept on disk: a new process regenerates every page once (and
// still rewrites only the pages whose bytes changed, PageFile).
#ifndef TAVC_REPORT_SITE_MEMORY_H_
#define TAVC_REPORT_SITE_MEMORY_H_

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tav {

class SiteMemory {
 public:
  // The memory of this process.
  static SiteMemory& instance();

  // The number of pages of the category when its pages in `folder` were made
  // from `inputs` and are on disk as they were written; -1 otherwise.
  int unchangedPages(const std::string& folder, int catId, std::uint64_t inputs) const;

  // Notes the pages just written (or found unchanged) for the category.
  void remember(const std::string& folder, int catId, std::uint64_t inputs,
                const std::vector<std::string>& pages);
  // Forgets the category (its run failed).
  void forget(const std::string& folder, int catId);

 private:
  struct Page {
    std::string path;
    std::uint64_t size = 0;
    std::int64_t mtime = 0;
  };
  struct Entry {
    std::uint64_t inputs = 0;
    std::vector<Page> pages;
  };
  std::map<std::pair<std::string, int>, Entry> entries_;
};

}  // namespace tav

#endif  // TAVC_REPORT_SITE_MEMORY_H_
