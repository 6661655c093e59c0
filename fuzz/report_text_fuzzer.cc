// libFuzzer entry for the text the results site, the award pages and the
// deviation report take from the tables: element codes split at "+", CSV
// fields, award file names, page escapes, the comparison of a page with the
// file already on disk, and the judges' marks of one element with a
// threshold.
//
// The input is split at its first NUL byte: the text before it is used as an
// element code, a name for the CSV and a name for the award file; the bytes
// after it give ten marks (four bytes each, any integer a damaged mark field
// could hold) and a threshold.  Checks: the parts put back together with "+"
// give the code less its blanks and tabs at the part edges; a CSV field
// reads back as the text it came from; a file name holds no "/" and no
// control character and is valid UTF-8; escaped text is pure ASCII without
// markup characters and reads back as the text's Windows-1252 characters;
// a page compares equal to a file that differs only in its stamp; the
// median lies between the smallest and the largest grade; deviations are
// counted only at positions with a judge.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/windows_1252.h"
#include "report/deviation_report.h"
#include "report/html_escape.h"
#include "report/page_file.h"
#include "report/deviation_segment.h"
#include "report/saa.h"
#include "report/saa_families.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// The text of one CSV field as a reader takes it back.
std::string unquote(const std::string& field) {
  if (field.empty() || field[0] != '"') return field;
  check(field.size() >= 2 && field.back() == '"');
  std::string text;
  for (std::size_t i = 1; i + 1 < field.size(); ++i) {
    text += field[i];
    if (field[i] == '"') {
      check(field[i + 1] == '"');
      ++i;
    }
  }
  return text;
}

bool isAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Reads the character references of htmlEscape back into code points.
std::u32string unescape(const std::string& html) {
  std::u32string text;
  for (std::size_t i = 0; i < html.size();) {
    if (html[i] != '&') {
      text += static_cast<unsigned char>(html[i++]);
      continue;
    }
    const std::size_t end = html.find(';', i);
    check(end != std::string::npos);
    const std::string name = html.substr(i + 1, end - i - 1);
    if (name == "amp") text += U'&';
    else if (name == "lt") text += U'<';
    else if (name == "gt") text += U'>';
    else if (name == "quot") text += U'"';
    else {
      check(name.size() >= 2 && name[0] == '#');
      text += static_cast<char32_t>(std::strtoul(name.c_str() + 1, nullptr, 10));
    }
    i = end + 1;
  }
  return text;
}

bool isUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : 9;
    if (extra == 9 || text.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

void checkPageText(const std::string& text) {
  const std::string escaped = tav::htmlEscape(text);
  check(isAscii(escaped) && escaped.find_first_of("<>\"'") == std::string::npos);
  std::u32string expected;
  for (char c : text) expected += tav::windows1252CodePoint(static_cast<unsigned char>(c));
  check(unescape(escaped) == expected);
  check(isAscii(tav::asciiMarkup(text)));
  const std::string link = tav::linkAddress(text);
  check(isAscii(link) && link.find_first_of("<>\"'") == std::string::npos);
  // A page against itself, and against a file with another stamp.
  const tav::PageStamp stamp{text.size() / 3, text.size() / 4};
  const std::string span = text.substr(stamp.at, stamp.size);
  const bool plainSpan = span.size() <= 64 && span.find_first_of("<>\n") == std::string::npos;
  check(tav::samePage(text, text, stamp) == plainSpan);
  std::string other = text;
  other.replace(stamp.at, stamp.size, "Monday 10:00");
  check(tav::samePage(other, text, stamp) || stamp.size == 0);
  check(tav::samePage(text, text, tav::PageStamp{}));
}

void checkText(const std::string& text) {
  checkPageText(text);
  const std::vector<std::string> parts = tav::elementParts(text);
  std::size_t pluses = 0;
  for (char c : text) pluses += c == '+';
  check(parts.size() == pluses + 1);
  for (const std::string& part : parts) {
    check(part.find('+') == std::string::npos);
    if (!part.empty()) {
      check(part.front() != ' ' && part.front() != '\t');
      check(part.back() != ' ' && part.back() != '\t');
    }
  }
  check(unquote(tav::csvField(text)) == text);
  const std::string name = tav::saaFileName(text);
  for (char c : name) {
    check(c != '/' && c != '\\' && static_cast<unsigned char>(c) >= 0x20);
  }
  check(isUtf8(name));
}

void checkMarks(const std::uint8_t* data, std::size_t size) {
  tav::ElementDetail element;
  tav::JudgePositions judges{};
  for (int k = 0; k < tav::kJudgeCount; ++k) {
    std::int32_t mark = tav::kNoGradeMark;
    if (size >= 4) {
      std::memcpy(&mark, data, 4);
      data += 4;
      size -= 4;
    }
    // Small values are the usual marks; keep them likely.
    if (mark >= -64 && mark < 64) mark &= 15;
    element.grades[k] = mark;
    judges[k] = (k * 7 + (mark & 3)) % 3 == 0 ? 0 : 100 + k;
  }
  int threshold = size > 0 ? static_cast<std::int8_t>(data[0]) : 1;
  const tav::ElementDeviation figures = tav::elementDeviation(element, judges, threshold);
  long long lowest = 0;
  long long highest = 0;
  bool any = false;
  for (int mark : element.grades) {
    if (mark == tav::kNoGradeMark) continue;
    const long long grade = static_cast<long long>(mark) - 4;
    lowest = any ? std::min(lowest, grade) : grade;
    highest = any ? std::max(highest, grade) : grade;
    any = true;
  }
  if (any) check(figures.median10 >= lowest * 10 && figures.median10 <= highest * 10);
  if (!any) check(figures.median10 == 0 && figures.numDev == 0);
  int counted = 0;
  for (int k = 0; k < tav::kJudgeCount; ++k) {
    if (figures.deviating[k] == tav::kNoGradeMark) continue;
    check(judges[k] > 0);
    ++counted;
  }
  check(counted == figures.numDev);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto* begin = reinterpret_cast<const char*>(data);
  const void* nul = std::memchr(data, 0, size);
  const std::size_t textSize = nul == nullptr ? size : static_cast<const std::uint8_t*>(nul) - data;
  checkText(std::string(begin, textSize));
  if (nul != nullptr) checkMarks(data + textSize + 1, size - textSize - 1);
  return 0;
}
