// Commands that read and write register entries through the application's
// array gPCT, recalculate derived names, add or update records, and clean
// the club names.  Field names and values cross the boundary through
// TableText in the table's code page.
#include <algorithm>
#include <cstdlib>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/maintenance.h"
#include "command/commands.h"
#include "command/interp_helpers.h"
#include "command/table_text.h"
#include "event/event_tree.h"
#include "session/tav.h"

namespace tav {
namespace {

constexpr char kArray[] = "gPCT";

bool setElement(Call& call, const std::string& element, const std::string& value) {
  return Tcl_SetVar2(call.interp(), kArray, element.c_str(), value.c_str(), TCL_LEAVE_ERR_MSG) !=
         nullptr;
}

const char* getElement(Call& call, const std::string& element) {
  return Tcl_GetVar2(call.interp(), kArray, element.c_str(), 0);
}

bool contains(const std::vector<std::string>& names, const char* name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// A changed nation, club or partner club of an entry goes into the event
// tables as well: PAR_NAT and the panel nations, PAR_CLBID and PAR_PCLBID.
bool carryIntoEvents(int id, const std::vector<std::string>& changed) {
  const bool nation = contains(changed, "PCT_NAT");
  const bool club = contains(changed, "PCT_CLBID") || contains(changed, "PCT_PCLBID");
  if (!nation && !club) return true;
  std::vector<std::string> names = {"PCT_NAT", "PCT_CLBID", "PCT_PCLBID"};
  std::vector<std::string> values;
  if (!basic().getFieldData(id, &names, &values)) return false;
  if (nation && !events().eventEvtUpdateNatCodes(0, id, values[0])) return false;
  // A person has no partner club; its participants keep 0 there.
  const int partnerClub = std::max(0, static_cast<int>(std::strtol(values[2].c_str(), nullptr, 10)));
  return !club || events().eventEvtUpdateClubIds(
                      id, static_cast<int>(std::strtol(values[1].c_str(), nullptr, 10)), partnerClub);
}

}  // namespace

Outcome tav_basicGetFieldData(Call& call) {
  int id = 0;
  std::vector<std::string> names;
  if (!call.intArg(1, &id) || !call.listArg(2, &names)) return call.done();
  const TableText text = call.tableText("PCT");
  text.fromUtf8(&names);
  std::vector<std::string> values;
  if (!basic().getFieldData(id, &names, &values)) return call.failed();
  for (std::size_t i = 0; i < names.size() && i < values.size(); ++i) {
    if (!setElement(call, text.toUtf8(names[i]), text.toUtf8(values[i]))) return call.done();
  }
  return call.ok("1");
}

// Every PCT field that gPCT holds is written (fields without an element are
// left alone); the entry is then repopulated in its kind, and a changed
// nation or club is carried into the event tables.  Answers "1".
Outcome tav_basicSetFieldData(Call& call) {
  int type = 0, id = 0;
  if (!call.intArg(1, &type) || !call.intArg(2, &id)) return call.done();
  std::vector<std::string> tableFields;
  if (!session().getHandleFieldNames("PCT", &tableFields)) return call.failed();
  const TableText text = call.tableText("PCT");
  std::vector<std::string> names, values, changed;
  for (const std::string& field : tableFields) {
    const char* value = getElement(call, text.toUtf8(field));
    if (value == nullptr) continue;
    std::string stored = value;
    if (!valueToTable(text, "PCT", text.toUtf8(field), &stored)) return call.failed();
    names.push_back(field);
    values.push_back(std::move(stored));
  }
  if (!basic().setFieldData(id, names, values, &changed)) return call.failed();
  int recNo = 0;
  if (!basic().getPctIdRecNo(id, &recNo) || !basic().populate(type, recNo)) return call.failed();
  return carryIntoEvents(id, changed) ? call.ok("1") : call.failed();
}

Outcome tav_basicCalcNames(Call& call) {
  int type = 0, addPfn = 0, addSn1 = 0, capFName = 0;
  if (!call.intArg(1, &type) || !call.intArg(2, &addPfn) || !call.intArg(3, &addSn1) ||
      !call.intArg(4, &capFName)) {
    return call.done();
  }
  std::vector<std::string> tableFields;
  if (!session().getHandleFieldNames("PCT", &tableFields)) return call.failed();
  const TableText text = call.tableText("PCT");
  FieldMap fields;
  auto read = [&](const std::string& element, const std::string& key) {
    const char* value = getElement(call, element);
    if (value == nullptr) {
      return failWith("Var does not exist: " + std::string(kArray) + "(" + element + ")");
    }
    std::string stored = value;
    if (!valueToTable(text, "PCT", element, &stored)) return false;
    fields[key] = std::move(stored);
    return true;
  };
  for (const std::string& field : tableFields) {
    if (!read(text.toUtf8(field), field)) return call.failed();
  }
  if (!read("PCTCLBNAME", "clubName")) return call.failed();
  if (type == kTeams) fields["gfNameC"] = fields["PCT_CNAME"];
  basic().setCapFNameFlag(capFName != 0);
  basic().setAddPfnFlag(addPfn != 0);
  basic().setAddSn1Flag(addSn1 != 0);
  if (!basic().calcNames(type, &fields)) return call.failed();
  for (const auto& [key, value] : fields) {
    if (!setElement(call, text.toUtf8(key), text.toUtf8(value))) return call.done();
  }
  return call.ok("1");
}

Outcome tav_basicUpdateAddRec(Call& call) {
  int recNo = 0, id = 0;
  std::vector<std::string> assignments;
  if (!call.intArg(2, &recNo) || !call.intArg(3, &id) || !call.listArg(4, &assignments)) {
    return call.done();
  }
  const std::string handle = call.arg(1);
  if (!assignmentsToTable(call.tableText(handle), handle, &assignments)) return call.failed();
  return basic().updateAddRec(handle, &recNo, assignments, id) ? call.ok(recNo) : call.failed();
}

Outcome tav_cleanAllClubNames(Call& call) {
  return basicCleanAllClubNames() ? call.ok("1") : call.failed();
}

}  // namespace tav
