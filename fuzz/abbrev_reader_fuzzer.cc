// libFuzzer entry for the abbreviation files: the input is read as a whole
// file by the line format; when it is accepted, the table serves as both the
// state and the misc table to shorten a few names, and the input's first
// line is shortened too.  A broken promise aborts so that the fuzzer keeps
// the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/failure_record.h"
#include "basic/abbreviations.h"
#include "finding.h"

namespace {

using tav::fuzz::require;

bool trimmed(const std::string& text) {
  if (text.empty()) return true;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !blank(text.front()) && !blank(text.back());
}

void checkShortening(const tav::Abbreviations& abbreviations, const std::string& name) {
  for (int width : {0, 5, 12, 30}) {
    const std::string result = abbreviations.abbreviate(name, width);
    if (static_cast<int>(name.size()) <= width) require(result == name, "a fitting value changed");
    else require(trimmed(result), "a shortened value is not trimmed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  tav::AbbreviationTable table;
  tav::clearErrStr();
  if (!tav::Abbreviations::parse(text, &table)) {
    const std::string message = tav::getErrStr();
    require(message.find("Invalid abbrev line: ") != std::string::npos, "failure without message");
    require(message.size() < 400, "message quotes too much of the line");
    return 0;
  }
  for (const auto& [word, abbreviation] : table) {
    require(trimmed(word) && trimmed(abbreviation), "entry not trimmed");
    require(word.find('\n') == std::string::npos && abbreviation.find('\n') == std::string::npos,
            "entry spans lines");
  }
  tav::Abbreviations abbreviations;
  abbreviations.setTables(table, table);
  checkShortening(abbreviations, "SAINT PETERSBURG FIGURE SKATING ASSOCIATION OF THE NORTH");
  checkShortening(abbreviations, std::string(text.substr(0, text.find('\n'))));
  return 0;
}
