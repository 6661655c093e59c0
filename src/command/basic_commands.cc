// Commands of the register: populate, identifier queries, ordered lists,
// finds and the duplicate search.  Names cross the boundary through
// TableText in PCT's code page (NAT's for nations, PEL's for planned
// elements).
#include "basic/basic.h"
#include "command/commands.h"
#include "command/interp_helpers.h"
#include "command/table_text.h"

namespace tav {
namespace {

// One pair of planned-element texts: "{first} {second}" where braces keep
// each text one list element as it stands, else the interpreter's quoting,
// so a name with a brace or backslash still reads back as two elements.
std::string pairElement(const std::string& first, const std::string& second) {
  auto braceable = [](const std::string& text) {
    int depth = 0;
    for (char c : text) {
      if (c == '{') ++depth;
      if (c == '}' && --depth < 0) return false;
    }
    return depth == 0 && text.find('\\') == std::string::npos &&
           (text.empty() || text.back() != '\\');
  };
  if (braceable(first) && braceable(second)) return "{" + first + "} {" + second + "}";
  return listToTcl({first, second});
}

}  // namespace

Outcome tav_basicPopulate(Call& call) {
  int type = 0;
  if (!call.intArg(1, &type)) return call.done();
  return basic().populate(type, -1) ? call.ok("1") : call.failed();
}

Outcome tav_basicGetPctIdRegNo(Call& call) {
  int id = 0;
  if (!call.intArg(1, &id)) return call.done();
  const TableText text = call.tableText("PCT");
  std::string regNo;
  return basic().getPctIdRegNo(id, &regNo) ? call.ok(text.toUtf8(regNo)) : call.failed();
}

Outcome tav_basicGetPctIdName(Call& call) {
  int id = 0;
  if (!call.intArg(1, &id)) return call.done();
  const TableText text = call.tableText("PCT");
  const std::string suffix = call.count() == 2 ? text.fromUtf8(call.arg(2)) : std::string();
  std::string name;
  return basic().getPctIdName(id, &name, suffix) ? call.ok(text.toUtf8(name)) : call.failed();
}

Outcome tav_basicGetPctNames(Call& call) {
  int type = 0;
  if (!call.intArg(1, &type)) return call.done();
  const TableText text = call.tableText("PCT");
  std::vector<std::string> names;
  if (!basic().getPctNames(type, &names)) return call.failed();
  text.toUtf8(&names);
  return call.ok(listToTcl(names));
}

Outcome tav_basicGetPctListId(Call& call) {
  int type = 0, index = 0, id = 0;
  if (!call.intArg(1, &type) || !call.intArg(2, &index)) return call.done();
  return basic().getPctListId(type, index, &id) ? call.ok(id) : call.failed();
}

Outcome tav_basicGetPctListClubIdxs(Call& call) {
  int type = 0, index = 0;
  if (!call.intArg(1, &type) || !call.intArg(2, &index)) return call.done();
  std::string club1, club2;
  return basic().getPctListClubIdxs(type, index, &club1, &club2) ? call.ok(club1 + " " + club2)
                                                                 : call.failed();
}

Outcome tav_basicGetPctListRecNo(Call& call) {
  int type = 0, index = 0, recNo = 0;
  if (!call.intArg(1, &type) || !call.intArg(2, &index)) return call.done();
  return basic().getPctListRecNo(type, index, &recNo) ? call.ok(recNo) : call.failed();
}

Outcome tav_basicGetCoupleListId(Call& call) {
  int id1 = 0, id2 = 0;
  if (!call.intArg(1, &id1) || !call.intArg(2, &id2)) return call.done();
  std::vector<int> couples;
  return basic().getCoupleListId(id1, id2, &couples) ? call.ok(intListToTcl(couples))
                                                     : call.failed();
}

Outcome tav_basicGetNatNames(Call& call) {
  const TableText text = call.tableText("NAT");
  std::vector<std::string> names;
  if (!basic().getNatNames(&names)) return call.failed();
  text.toUtf8(&names);
  return call.ok(listToTcl(names));
}

Outcome tav_basicGetNatListOmf(Call& call) {
  int index = 0;
  if (!call.intArg(1, &index)) return call.done();
  const TableText text = call.tableText("NAT");
  std::string code;
  return basic().getNatListOmf(index, &code) ? call.ok(text.toUtf8(code)) : call.failed();
}

Outcome tav_basicGetPctIdClubIds(Call& call) {
  int id = 0, club = 0, partnerClub = 0;
  if (!call.intArg(1, &id)) return call.done();
  return basic().getPctIdClubIds(id, &club, &partnerClub)
             ? call.ok(std::to_string(club) + " " + std::to_string(partnerClub))
             : call.failed();
}

// Both programs with the selection flag clear; with transition marks (newer
// databases) each element is the pair of element and mark.
Outcome tav_basicGetPctPelData(Call& call) {
  int id = 0;
  if (!call.intArg(1, &id)) return call.done();
  const TableText text = call.tableText("PEL");
  std::vector<std::string> first, second;
  if (!basic().getPctPelData(id, 0, false, &first, &second)) return call.failed();
  text.toUtf8(&first);
  text.toUtf8(&second);
  if (second.empty()) return call.ok(listToTcl(first));
  std::vector<std::string> pairs;
  for (std::size_t i = 0; i < first.size() && i < second.size(); ++i) {
    pairs.push_back(pairElement(first[i], second[i]));
  }
  return call.ok(listToTcl(pairs));
}

// A registration number that is not a whole decimal number is in no index:
// the answer is an empty list.
Outcome tav_basicFindPctByRegNo(Call& call) {
  int type = 0;
  if (!call.intArg(1, &type)) return call.done();
  int regNo = 0;
  std::vector<int> recNos;
  if (!parseRegNo(call.arg(2), &regNo)) {
    // The type is still checked, as for a number that is found nowhere.
    if (!basic().findByRegNo(type, 0, &recNos)) return call.failed();
    return call.ok("");
  }
  return basic().findByRegNo(type, regNo, &recNos) ? call.ok(intListToTcl(recNos))
                                                   : call.failed();
}

Outcome tav_basicFindByName(Call& call) {
  int type = 0;
  if (!call.intArg(1, &type)) return call.done();
  const TableText text = call.tableText(type == kElements ? "ELM" : "PCT");
  const std::string given = text.fromUtf8(call.arg(2));
  const std::string family = text.fromUtf8(call.arg(3));
  std::vector<int> recNos;
  const bool ok = family.empty() ? basic().findByName(type, given, &recNos)
                                 : basic().findByName(type, given, family, &recNos);
  return ok ? call.ok(intListToTcl(recNos)) : call.failed();
}

// Kept for the application's sake: no search is made, the answer is empty.
Outcome tav_basicFindById(Call& call) {
  int value = 0;
  for (int i = 1; i <= 4; ++i) {
    if (!call.intArg(i, &value)) return call.done();
  }
  return call.ok("");
}

Outcome tav_basicDuplicatePCT(Call& call) {
  int type = 0;
  if (!call.intArg(1, &type)) return call.done();
  const TableText text = call.tableText("PCT");
  std::vector<std::string> names;
  if (!basic().duplicatePCT(type, &names)) return call.failed();
  text.toUtf8(&names);
  return call.ok(listToTcl(names));
}

}  // namespace tav
