// Searching records: by text in any field, by field qualifiers with optional
// sorting, and the cached record-number lookup.
#include <algorithm>

#include "base/failure_record.h"
#include "dbf/case_fold.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"

namespace tav {
namespace {

// One requested column of getFieldRecData: a field index, or the record
// number itself.
constexpr int kRecNoColumn = -1;

// A result line and the key it sorts by.
struct SortedLine {
  long long number = 0;
  std::string text;
  std::size_t position = 0;
};

}  // namespace

bool CDbf::findFieldData(const std::string& text, FieldMatches* matches) {
  CallTrace t(trace("findFieldData"));
  matches->clear();
  const std::size_t n = numScannable();
  for (std::size_t r = 0; r < n; ++r) {
    if (!isActive(r)) continue;
    for (int i = 0; i < getNumFields(); ++i) {
      const DbfField& f = fields_[i];
      if (f.length < text.size() || fieldText(r, i) != text) continue;
      matches->fieldIndexes.push_back(i);
      matches->fieldNames.push_back(f.storedName());
      matches->types.push_back(f.type);
      matches->lengths.push_back(f.length);
      matches->offsets.push_back(static_cast<int>(f.offset));
      matches->recordNumbers.push_back(static_cast<int>(r));
    }
  }
  return t.succeed();
}

bool CDbf::getFieldRecData(const std::vector<std::string>& fieldNames,
                           const std::map<std::string, std::string>& qualifiers,
                           const std::string& sortName, bool ignoreCase,
                           std::vector<std::string>* lines) {
  CallTrace t(trace("getFieldRecData"));
  lines->clear();
  if (fieldNames.empty()) return failWith(code_ + "_getFieldRecData: Empty field name: ");

  std::vector<int> columns;
  for (const std::string& name : fieldNames) {
    if (name == "recNo") {
      columns.push_back(kRecNoColumn);
      continue;
    }
    const int index = getFieldIndex(name);
    if (index < 0) return false;
    columns.push_back(index);
  }
  if (columns.size() != fieldNames.size()) {
    return failWith(code_ + "_getFieldRecData: Internal error. Name size != Index size");
  }
  std::vector<std::pair<int, const std::string*>> required;
  for (const auto& [name, value] : qualifiers) {
    const int index = getFieldIndex(name);
    if (index < 0) return false;
    required.emplace_back(index, &value);
  }
  int sortField = -1;
  if (!sortName.empty()) {
    sortField = getFieldIndex(sortName);
    if (sortField < 0) return false;
  }
  const bool numericSort = sortField >= 0 && fields_[sortField].type == 'N';
  const bool braceBlanks = columns.size() > 1;
  const CaseFold& fold = CaseFold::forCodePage(header_.codePage);

  std::vector<SortedLine> sorted;
  const std::size_t n = numScannable();
  for (std::size_t r = 0; r < n; ++r) {
    if (!isActive(r)) continue;
    bool match = true;
    for (const auto& [index, value] : required) {
      std::string_view text = fieldText(r, index);
      if (ignoreCase ? fold.upper(text) != *value : text != *value) {
        match = false;
        break;
      }
    }
    if (!match) continue;

    std::string line;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (c > 0) line += ' ';
      if (columns[c] == kRecNoColumn) {
        line += std::to_string(r);
        continue;
      }
      const DbfField& f = fields_[columns[c]];
      std::string_view value = fieldText(r, columns[c]);
      if (value.empty()) {
        line += (f.type == 'C' && f.length == 1) ? "{ }" : "{}";
      } else if (braceBlanks && value.find(' ') != std::string_view::npos) {
        line += '{';
        line += value;
        line += '}';
      } else {
        line += value;
      }
    }
    line = std::string(trimBlanks(line));
    if (sortField < 0) {
      lines->push_back(std::move(line));
      continue;
    }
    SortedLine entry;
    std::string_view key = fieldText(r, sortField);
    if (numericSort) entry.number = decimalValue(key); else entry.text = std::string(key);
    entry.position = sorted.size();
    lines->push_back(std::move(line));
    sorted.push_back(std::move(entry));
  }

  if (sortField >= 0) {
    std::stable_sort(sorted.begin(), sorted.end(),
                     [numericSort](const SortedLine& a, const SortedLine& b) {
                       return numericSort ? a.number < b.number : a.text < b.text;
                     });
    std::vector<std::string> ordered;
    ordered.reserve(sorted.size());
    for (const SortedLine& s : sorted) ordered.push_back(std::move((*lines)[s.position]));
    lines->swap(ordered);
  }
  return t.succeed();
}

int CDbf::getRecNo(const std::string& fieldName, const std::string& value) {
  CallTrace t(trace("getRecNo"));
  // The common case without getFieldIndex's own trace entry; an unknown name
  // still fails through it, with its message.
  const int index = findField(fieldName);
  if (index < 0) {
    getFieldIndex(fieldName);
    return -1;
  }

  auto cached = recNoCache_.find(index);
  if (cached == recNoCache_.end()) {
    TextIndex entry;
    const std::size_t n = numScannable();
    entry.reserve(n);
    for (std::size_t r = 0; r < n; ++r) {
      if (isActive(r)) entry.set(fieldText(r, index), static_cast<int>(r));
    }
    cached = recNoCache_.emplace(index, std::move(entry)).first;
  }
  const int found = cached->second.find(value);
  if (found < 0) {
    failWith(code_ + "_getRecNo: Not in cache: " + value);
    return -1;
  }
  t.succeed();
  return found;
}

}  // namespace tav
