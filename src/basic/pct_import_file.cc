// Reading a person import file into lines.
#include "basic/pct_import_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/failure_record.h"
#include "dbf/file_io.h"

namespace tav {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool hasNonAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool PctImportFile::isWellFormedUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra;
    unsigned long code;
    unsigned long least;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, code = c & 0x1F, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, code = c & 0x0F, least = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, code = c & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (s.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

bool PctImportFile::read(const std::string& path, const FromUtf8& fromUtf8) {
  lines_.clear();
  utf8_ = false;
  std::unique_ptr<std::FILE, FileCloser> file(platform::openFile(path, "rb"));
  if (!file) {
    return failWith("Unable to open: " + path + " for reading: " + errnoText());
  }
  std::string bytes;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
  if (std::ferror(file.get())) {
    return failWith("Unable to read: " + path + ": " + errnoText());
  }
  takeBytes(bytes, fromUtf8);
  return true;
}

void PctImportFile::takeBytes(std::string_view bytes, const FromUtf8& fromUtf8) {
  lines_.clear();
  unheld_.clear();
  const bool marked = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
  if (marked) bytes.remove_prefix(kByteOrderMark.size());
  utf8_ = isWellFormedUtf8(bytes) && (marked || hasNonAscii(bytes));
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    CodePageText converted{std::string(line), std::string()};
    if (utf8_ && fromUtf8 && hasNonAscii(line)) {
      // A character the code page lacks only matters before the comment.
      const std::size_t hash = std::min(line.find('#'), line.size());
      converted = fromUtf8(line.substr(0, hash));
      if (hash < line.size()) converted.bytes += fromUtf8(line.substr(hash)).bytes;
    }
    std::string& text = converted.bytes;
    for (char& c : text) {
      if (c == '\0') c = ' ';
    }
    lines_.push_back(std::move(text));
    unheld_.push_back(std::move(converted.unheld));
    start = end + 1;
  }
}

}  // namespace tav
