// Table access commands that search: records by field qualifiers, the record
// number of a value, and every open table for a field name or a value.
#include "command/commands.h"
#include "command/interp_helpers.h"
#include "command/table_text.h"
#include "dbf/case_fold.h"
#include "session/tav.h"

namespace tav {
namespace {

// A qualifier "NAME=value" split at its first "=".  Returns false when the
// text has no "=", starts with "=", or (unless `allowEmpty`) ends with "=".
bool splitQualifier(const std::string& text, bool allowEmpty, std::string* name,
                    std::string* value) {
  const std::string::size_type eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  if (!allowEmpty && eq + 1 == text.size()) return false;
  *name = text.substr(0, eq);
  *value = text.substr(eq + 1);
  return true;
}

}  // namespace

Outcome tav_getFallRecs(Call& call) {
  int ignoreCase = 0;
  int allowEmpty = 0;
  std::vector<std::string> fields;
  std::vector<std::string> qualifierTexts;
  if (!call.intArg(5, &ignoreCase) || !call.intArg(6, &allowEmpty) ||
      !call.listArg(2, &fields) || !call.listArg(3, &qualifierTexts)) {
    return call.done();
  }
  const std::string handle = call.arg(1);
  const TableText text = call.tableText(handle);
  text.fromUtf8(&fields);
  std::map<std::string, std::string> qualifiers;
  for (const std::string& qualifier : qualifierTexts) {
    std::string name;
    std::string value;
    if (!splitQualifier(qualifier, allowEmpty != 0, &name, &value)) {
      return call.answer("tcl_getFallRecs: Invalid qualifier: " + qualifier, TCL_ERROR);
    }
    if (value.empty()) return call.ok("");  // an empty value matches no record
    value = text.fromUtf8(value);
    if (ignoreCase) value = CaseFold::forCodePage(text.codePage()).upper(value);
    if (!qualifiers.emplace(text.fromUtf8(name), value).second) {
      return call.answer("tcl_getFallRecs: Duplicate qualifier name: " + qualifier, TCL_ERROR);
    }
  }
  std::vector<std::string> lines;
  if (!session().getHandleFieldRecData(handle, fields, qualifiers, text.fromUtf8(call.arg(4)),
                                       ignoreCase != 0, &lines)) {
    return call.failed();
  }
  text.toUtf8(&lines);
  return call.ok(listToTcl(lines));
}

Outcome tav_getRecNo(Call& call) {
  int ignoreCase = 0;
  if (!call.intArg(3, &ignoreCase)) return call.done();
  const std::string qualifier = call.arg(2);
  std::string name;
  std::string value;
  if (!splitQualifier(qualifier, false, &name, &value)) {
    return call.answer("tcl_getRecNo: Invalid qualifier: " + qualifier, TCL_ERROR);
  }
  const std::string handle = call.arg(1);
  const TableText text = call.tableText(handle);
  value = text.fromUtf8(value);
  if (ignoreCase) value = CaseFold::forCodePage(text.codePage()).upper(value);
  const int recNo = session().getHandleRecNo(handle, text.fromUtf8(name), value);
  if (recNo == -99) return call.failed();
  return recNo < 0 ? call.ok("") : call.ok(recNo);
}

Outcome tav_findFieldByName(Call& call) {
  const std::string name = call.arg(1);
  std::vector<FieldLocation> locations;
  auto nameFor = [&name](std::uint8_t codePage) { return TableText(codePage).fromUtf8(name); };
  if (!session().findFieldByName(nameFor, &locations)) return call.failed();
  std::vector<std::string> rows;
  for (const FieldLocation& l : locations) {
    rows.push_back(listToTcl({l.handle, std::to_string(l.index), name, std::string(1, l.type),
                              std::to_string(l.length), std::to_string(l.offset)}));
  }
  return call.ok(listToTcl(rows));
}

Outcome tav_findFieldData(Call& call) {
  const std::string wanted = call.arg(1);
  auto textFor = [&wanted](std::uint8_t codePage) {
    return TableText(codePage).fromUtf8(wanted);
  };
  std::vector<std::pair<std::string, FieldMatches>> found;
  if (!session().findFieldData(textFor, &found)) return call.failed();
  std::vector<std::string> rows;
  for (const auto& [handle, m] : found) {
    const TableText text = call.tableText(handle);
    for (std::size_t i = 0; i < m.size(); ++i) {
      rows.push_back(listToTcl({handle, std::to_string(m.fieldIndexes[i]),
                                text.toUtf8(m.fieldNames[i]),
                                std::string(1, m.types[i]), std::to_string(m.lengths[i]),
                                std::to_string(m.offsets[i]),
                                std::to_string(m.recordNumbers[i])}));
    }
  }
  return call.ok(listToTcl(rows));
}

}  // namespace tav
