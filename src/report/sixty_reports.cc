#include "report/sixty_reports.h"

#include <cctype>
#include <cerrno>
#include <cstdio>

#include "base/failure_record.h"
#include "base/platform.h"
#include "dbf/file_io.h"
#include "report/html_escape.h"
#include "report/page_file.h"

namespace tav {
namespace {

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The text after the last occurrence of `marker`, or the text itself.
std::string after(const std::string& text, const std::string& marker, bool last) {
  std::string::size_type at = last ? text.rfind(marker) : text.find(marker);
  return at == std::string::npos ? text : text.substr(at + marker.size());
}

const char kPad[] = "style=padding-top:5pt;";

}  // namespace

std::string extractStrFromHtml(const std::string& path, const std::string& startTag,
                               const std::string& endTag) {
  std::string bytes;
  if (!readFileBytes(path, &bytes)) return std::string();
  std::string::size_type start = bytes.find(startTag);
  if (start == std::string::npos) return "Unknown name";
  start += startTag.size();
  // The end tag is looked for after the start tag only, so that an end tag
  // earlier in the file cannot give a negative length.
  std::string::size_type end = bytes.find(endTag, start);
  if (end == std::string::npos) return "Unknown name";
  return bytes.substr(start, end - start);
}

SixtyReports::SixtyReports(const std::string& folder, const std::string& outFolder)
    : folder_(folder), outFolder_(outFolder) {}

std::map<std::string, int> SixtyReports::readGroups() {
  std::map<std::string, int> groups;
  std::vector<platform::FolderEntry> entries;
  if (!platform::listFolder(folder_, &entries)) return groups;
  for (const platform::FolderEntry& entry : entries) {
    const std::string& name = entry.name;
    const std::string key = upper(name);
    files_.emplace(key, name);
    if (key.size() < 4 || key.compare(key.size() - 4, 4, ".HTM") != 0) continue;
    const std::string base = key.substr(0, key.size() - 4);
    // Only names like MENS1: a prefix, a letter and a round digit.
    if (base.size() < 3 || !std::isdigit(static_cast<unsigned char>(base.back()))) continue;
    const int number = base.back() - '0';
    int& largest = groups[base.substr(0, base.size() - 2)];
    if (number > largest) largest = number;
  }
  return groups;
}

std::string SixtyReports::find(const std::string& name) const {
  auto it = files_.find(upper(name));
  return it == files_.end() ? std::string() : joinPath(folder_, it->second);
}

bool SixtyReports::canOpen(const std::string& name) const {
  const std::string path = find(name);
  if (path.empty()) return false;
  std::FILE* file = platform::openFile(path, "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

std::string SixtyReports::extract(const std::string& name, const char* startTag,
                                  const char* endTag) const {
  const std::string path = find(name);
  return path.empty() ? std::string() : extractStrFromHtml(path, startTag, endTag);
}

int SixtyReports::write(HtmlWriter& out) {
  files_.clear();
  std::map<std::string, int> groups = readGroups();
  int written = 0;
  for (const auto& group : groups) {
    if (group.second < 1) continue;  // no round: no row
    if (written == 0) out.comment("Start of 60 reports");
    writeGroup(out, group.first, group.second);
    ++written;
  }
  return written;
}

void SixtyReports::writeGroup(HtmlWriter& out, const std::string& prefix, int rounds) {
  std::string title = extract(prefix + "e0.htm", "<TITLE>", "</TITLE>");
  if (title.find(": ") != std::string::npos) title = after(title, ": ", true);
  int lastResult = 0;
  for (int k = rounds; k >= 1 && lastResult == 0; --k) {
    if (canOpen(prefix + "s" + std::to_string(k) + ".htm")) lastResult = k;
  }
  out.openLine("TR", "BGCOLOR=FFFFFF");
  // The title cell spans every round row written below.
  out.openWithNumber("TD", kPad, {}, "ROWSPAN=", rounds, HtmlWriter::kSameLine);
  if (lastResult > 0) {
    writeLink(out, prefix + "s" + std::to_string(lastResult) + ".htm", title);
  } else {
    out.text(asciiMarkup(title));
    lastResult = 1;
  }
  out.close("TD");
  for (int j = 1; j <= rounds; ++j) {
    if (j > 1) out.openLine("TR", "BGCOLOR=FFFFFF");
    writeRoundCell(out, prefix, j, lastResult);
    out.close("TR");
  }
}

void SixtyReports::writeRoundCell(HtmlWriter& out, const std::string& prefix, int round,
                                  int lastResult) {
  const std::string number = std::to_string(round);
  std::string name;
  std::string text;
  if (round <= lastResult) {
    name = prefix + "c" + number + ".htm";
    text = extract(name, "<H3>", "</H3>");
    if (!text.empty()) text = after(text, "Standings for the ", false);
  }
  if (text.empty()) {
    name = prefix + "o" + number + ".htm";
    text = extract(name, "<H3>", "</H3>");
    text = after(text, "Starting Order ", false);
  }
  if (text.empty()) {
    out.element("TD", kPad, "&nbsp;");
    return;
  }
  out.open("TD", kPad);
  writeLink(out, name, text);
  out.close("TD");
}

void SixtyReports::writeLink(HtmlWriter& out, const std::string& name, const std::string& text) {
  const std::string copyName = name + "l";  // ".htm" becomes ".html"
  out.open("A", "HREF=\"" + linkAddress(copyName) + "\"");
  out.text(asciiMarkup(text));
  out.closeInline("A");
  copy(name, copyName);
}

void SixtyReports::copy(const std::string& name, const std::string& copyName) {
  const std::string source = find(name);
  std::string bytes;
  // A source that cannot be opened is passed over, as the copy is only a
  // convenience for the reader of the index.
  if (source.empty() || !readFileBytes(source, &bytes)) return;
  const std::string before = getErrStr();
  const bool wasFatal = isErrFatal();
  if (!writePageFile(joinPath(outFolder_, copyName), bytes)) {
    // The index goes on without the copy; the reason stays as a warning.
    const std::string reason = getErrStr();
    setErrStr(false, before, false, wasFatal);
    setErrStr(false, reason, true, false);
  }
}

}  // namespace tav
