#include "schema.h"

#include <fstream>
#include <sstream>

namespace tav {
namespace sample {
namespace {

constexpr std::size_t kMaxFieldName = 10;

struct ZeroRun {
  std::size_t begin;
  std::size_t length;
};

std::vector<ZeroRun> zeroRuns(const std::string& text) {
  std::vector<ZeroRun> runs;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '0') { ++i; continue; }
    std::size_t end = i;
    while (end < text.size() && text[end] == '0') ++end;
    runs.push_back({i, end - i});
    i = end;
  }
  return runs;
}

// "1-10,15" -> 1..10, 15
bool parseNumberList(const std::string& text, std::vector<int>* numbers) {
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ',')) {
    if (part.empty()) return false;
    const std::size_t dash = part.find('-');
    try {
      std::size_t used = 0;
      const int first = std::stoi(part.substr(0, dash), &used);
      if (used != (dash == std::string::npos ? part.size() : dash)) return false;
      int last = first;
      if (dash != std::string::npos) {
        const std::string tail = part.substr(dash + 1);
        last = std::stoi(tail, &used);
        if (used != tail.size()) return false;
      }
      if (first < 0 || last < first) return false;
      for (int n = first; n <= last; ++n) numbers->push_back(n);
    } catch (const std::exception&) {
      return false;
    }
  }
  return !numbers->empty();
}

std::vector<std::string> splitWords(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

}  // namespace

bool expandFieldPattern(const std::string& pattern, const std::vector<int>& numbers,
                        std::string* name, std::string* error) {
  const std::vector<ZeroRun> runs = zeroRuns(pattern);
  if (numbers.empty() || runs.size() < numbers.size()) {
    *error = "pattern " + pattern + " has no run of zeros for every number";
    return false;
  }
  *name = pattern;
  const std::size_t firstRun = runs.size() - numbers.size();
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const ZeroRun& run = runs[firstRun + i];
    const std::string digits = std::to_string(numbers[i]);
    if (digits.size() > run.length) {
      *error = "number " + digits + " does not fit the zeros of " + pattern;
      return false;
    }
    name->replace(run.begin + run.length - digits.size(), digits.size(), digits);
  }
  return true;
}

bool Schema::read(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str(), path, error);
}

bool Schema::parse(const std::string& text, const std::string& origin, std::string* error) {
  tables_.clear();
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    const std::string where = origin + ":" + std::to_string(lineNumber) + ": ";
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    const std::vector<std::string> words = splitWords(line);
    if (words.empty()) continue;
    if (words[0] == "table") {
      if (words.size() < 2) {
        *error = where + "table without a code";
        return false;
      }
      if (find(words[1]) != nullptr) {
        *error = where + "table " + words[1] + " defined twice";
        return false;
      }
      TableLayout table;
      table.code = words[1];
      for (std::size_t i = 2; i < words.size(); ++i) {
        table.description += (i > 2 ? " " : "") + words[i];
      }
      tables_.push_back(table);
      continue;
    }
    if (tables_.empty()) {
      *error = where + "field outside a table";
      return false;
    }
    std::string reason;
    if (!parseField(words, &tables_.back(), &reason)) {
      *error = where + reason;
      return false;
    }
  }
  for (const TableLayout& table : tables_) {
    if (table.fields.empty()) {
      *error = origin + ": table " + table.code + " has no fields";
      return false;
    }
  }
  return true;
}

bool Schema::parseField(const std::vector<std::string>& words, TableLayout* table,
                        std::string* error) {
  if (words.size() < 3 || words.size() > 5) {
    *error = "expected: NAME TYPE LENGTH [NUMBERS [NUMBERS]]";
    return false;
  }
  const std::string& pattern = words[0];
  if (words[1].size() != 1 || std::string("CNDL").find(words[1][0]) == std::string::npos) {
    *error = "type of " + pattern + " must be C, N, D or L";
    return false;
  }
  const char type = words[1][0];
  // LENGTH, or LENGTH.DECIMALS for a numeric field with decimals.
  int length = 0;
  int decimals = 0;
  const std::size_t point = words[2].find('.');
  try {
    length = std::stoi(words[2].substr(0, point));
    if (point != std::string::npos) decimals = std::stoi(words[2].substr(point + 1));
  } catch (const std::exception&) {
    length = 0;
  }
  if (length < 1 || length > 254 || (type == 'D' && length != 8) || (type == 'L' && length != 1) ||
      decimals < 0 || (decimals > 0 && (type != 'N' || decimals + 2 > length))) {
    *error = "invalid length " + words[2] + " for " + pattern;
    return false;
  }
  std::vector<std::vector<int>> lists;
  for (std::size_t i = 3; i < words.size(); ++i) {
    std::vector<int> numbers;
    if (!parseNumberList(words[i], &numbers)) {
      *error = "invalid numbers " + words[i] + " for " + pattern;
      return false;
    }
    lists.push_back(numbers);
  }
  std::vector<std::string> names;
  if (lists.empty()) {
    names.push_back(pattern);
  } else {
    const std::vector<int> inner = lists.size() == 2 ? lists[1] : std::vector<int>{-1};
    for (int outer : lists[0]) {
      for (int second : inner) {
        std::vector<int> numbers{outer};
        if (second >= 0) numbers.push_back(second);
        std::string name;
        if (!expandFieldPattern(pattern, numbers, &name, error)) return false;
        names.push_back(name);
      }
    }
  }
  for (const std::string& name : names) {
    if (name.size() > kMaxFieldName) {
      *error = "field name " + name + " is longer than 10 characters";
      return false;
    }
    if (table->index.count(name) != 0) {
      *error = "field " + name + " defined twice in " + table->code;
      return false;
    }
    table->index[name] = static_cast<int>(table->fields.size());
    table->fields.push_back(DbfFieldDef{name, type, length, decimals});
  }
  return true;
}

const TableLayout* Schema::find(const std::string& code) const {
  for (const TableLayout& table : tables_) {
    if (table.code == code) return &table;
  }
  return nullptr;
}

}  // namespace sample
}  // namespace tav
