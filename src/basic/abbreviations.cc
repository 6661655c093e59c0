// Reading the abbreviation files and the two shortening passes.
#include "basic/abbreviations.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "base/failure_record.h"
#include "dbf/field_text.h"
#include "dbf/file_io.h"

namespace tav {
namespace {

// A line quoted in a message is cut to this many bytes: a line of a file
// that is no text at all could otherwise be a megabyte long.
constexpr std::size_t kQuotedLineMax = 200;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool isWordStart(const std::string& text, std::size_t at) {
  return at == 0 || text[at - 1] == ' ';
}

bool isWordEnd(const std::string& text, std::size_t end) {
  return end == text.size() || text[end] == ' ';
}

bool fits(const std::string& value, int width) {
  return static_cast<long long>(value.size()) <= width;
}

}  // namespace

void Abbreviations::clear() {
  state_.clear();
  misc_.clear();
}

bool Abbreviations::parse(std::string_view text, AbbreviationTable* table) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    start = end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    std::string_view line = trimBlanks(raw);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      std::string quoted(line.substr(0, kQuotedLineMax));
      if (line.size() > kQuotedLineMax) quoted += "...";
      return failWith("Invalid abbrev line: " + quoted);
    }
    (*table)[std::string(trimBlanks(line.substr(0, tab)))] =
        std::string(trimBlanks(line.substr(tab + 1)));
  }
  return true;
}

bool Abbreviations::readFile(const std::string& path, AbbreviationTable* table) {
  std::unique_ptr<std::FILE, FileCloser> file(platform::openFile(path, "rb"));
  if (!file) return failWith("Unable to open: " + path + "  for reading: " + errnoText());
  std::string text;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, got);
  if (std::ferror(file.get())) {
    return failWith("Unable to read: " + path + ": " + errnoText());
  }
  return parse(text, table);
}

bool Abbreviations::load(const std::string& directory) {
  CallTrace t("CBasic.loadAbbreviations");
  clear();
  return readFile(joinPath(directory, "state_abbrev"), &state_) &&
         readFile(joinPath(directory, "misc_abbrev"), &misc_) && t.succeed();
}

// Each state entry, in table order, replaces its first occurrence when that
// occurrence stands as whole words.  An empty entry matches nothing.
bool Abbreviations::statePass(std::string* value, int width) const {
  std::string upper = upperAscii(*value);
  for (const auto& [text, abbreviation] : state_) {
    if (fits(*value, width)) return true;
    if (text.empty()) continue;
    const std::size_t at = upper.find(text);
    if (at == std::string::npos) continue;
    if (!isWordStart(upper, at) || !isWordEnd(upper, at + text.size())) continue;
    value->replace(at, text.size(), abbreviation);
    upper.replace(at, text.size(), abbreviation);
  }
  return fits(*value, width);
}

void Abbreviations::miscPass(std::string* value, int width) const {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start <= value->size()) {
    std::size_t end = value->find(' ', start);
    if (end == std::string::npos) end = value->size();
    std::string_view word = trimBlanks(std::string_view(*value).substr(start, end - start));
    if (!word.empty()) words.emplace_back(word);
    start = end + 1;
  }
  for (std::string& word : words) {
    auto entry = misc_.find(upperAscii(word));
    if (entry == misc_.end()) continue;
    word = entry->second;
    std::string joined;
    for (const std::string& w : words) {
      if (!joined.empty()) joined += ' ';
      joined += w;
    }
    *value = joined;
    if (fits(*value, width)) return;
  }
}

std::string Abbreviations::abbreviate(const std::string& value, int width) const {
  if (fits(value, width)) return value;
  std::string result = value;
  if (!statePass(&result, width)) miscPass(&result, width);
  return std::string(trimBlanks(result));
}

}  // namespace tav
