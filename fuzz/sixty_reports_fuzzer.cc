// libFuzzer entry for the "60 reports" section of the index page: the input
// is a folder of another program's report files.  It is split at NUL bytes
// into name, content, name, content, ...; names keep only letters, digits
// and dots (at most 16 characters).  The files are written into a fresh
// folder, the section is written and its files copied; then the promises
// are checked: the writer is back at level 0, every row opened is closed,
// and each group's first cell spans exactly the rows written for it (the
// last two when no file holds text that looks like the section's markup).
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "finding.h"
#include "report/html_writer.h"
#include "report/sixty_reports.h"

namespace {

using tav::fuzz::require;

void emptyFolder(const std::string& folder) {
  ::mkdir(folder.c_str(), 0700);
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") ::unlink((folder + "/" + name).c_str());
    }
    ::closedir(dir);
  }
}

std::string cleanName(const std::string& raw) {
  std::string name;
  for (char c : raw) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.') {
      name += c;
    }
    if (name.size() == 16) break;
  }
  return name == "." || name == ".." ? std::string() : name;
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::string::size_type at = text.find(what); at != std::string::npos;
       at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string root = "/tmp/tavc-sixty-fuzz-" + std::to_string(::getpid());
  const std::string in = root + "/in";
  const std::string out = root + "/out";
  ::mkdir(root.c_str(), 0700);
  emptyFolder(in);
  emptyFolder(out);

  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) pieces.emplace_back(); else pieces.back() += static_cast<char>(data[i]);
  }
  // Texts from the files are copied into the page as they are (they are
  // HTML already), so the page's structure is only checked when no file
  // could imitate the section's own markup.
  bool imitable = false;
  for (std::size_t i = 0; i + 1 < pieces.size() && i < 40; i += 2) {
    const std::string name = cleanName(pieces[i]);
    if (name.empty()) continue;
    for (const char* markup : {"TR", "ROWSPAN", "<!--"}) {
      if (pieces[i + 1].find(markup) != std::string::npos) imitable = true;
    }
    std::ofstream(in + "/" + name, std::ios::binary) << pieces[i + 1];
    tav::extractStrFromHtml(in + "/" + name, "<H3>", "</H3>");
  }

  tav::HtmlWriter writer;
  writer.startPage();
  tav::SixtyReports reports(in, out);
  const int groups = reports.write(writer);
  const std::string page(writer.page());
  require(writer.indent() == 0, "the section leaves elements open");
  if (imitable) return 0;
  require(count(page, "<TR ") == count(page, "</TR>"), "rows opened and closed differ");
  require(groups == count(page, "ROWSPAN="), "one spanning cell per group");
  require((groups > 0) == (page.find("<!-- Start of 60 reports -->") == 0),
          "the comment starts a section with groups and only then");
  // Each group's spanning cell covers exactly the rows written for it.
  static const std::regex span("ROWSPAN=(\\d+)>");
  std::vector<std::string::size_type> starts;
  std::vector<int> spans;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), span);
       it != std::sregex_iterator(); ++it) {
    starts.push_back(static_cast<std::string::size_type>(it->position()));
    spans.push_back(std::atoi((*it)[1].str().c_str()));
  }
  starts.push_back(page.size());
  for (std::size_t g = 0; g < spans.size(); ++g) {
    const std::string group = page.substr(starts[g], starts[g + 1] - starts[g]);
    require(count(group, "</TR>") == spans[g], "a title spans other rows than its group's");
  }
  return 0;
}
