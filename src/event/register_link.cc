// The register questions of the event tree, answered by the basic data.
#include "event/register_link.h"

#include "basic/basic.h"

namespace tav {
namespace reg {

bool name(int pctId, const std::string& field, std::string* value) {
  return basic().getPctIdName(pctId, value, field);
}

bool localName(int pctId, const std::string& /*field*/, std::string* value) {
  return basic().getPctIdNameLoc(pctId, value);
}

bool regNos(int pctId, std::vector<std::string>* values) {
  std::string first;
  std::string second;
  if (!basic().getPctIdRegNos(pctId, &first, &second)) return false;
  *values = {first, second};
  return true;
}

bool isCouple(int pctId, bool* couple) { return basic().isPctIdCouple(pctId, couple); }
bool spMusic(int pctId, std::string* music) { return basic().getPctIdSpMusic(pctId, music); }
bool fsMusic(int pctId, std::string* music) { return basic().getPctIdFsMusic(pctId, music); }

bool nameClub(int pctId, std::string* name, std::string* club) {
  return basic().getPctIdNameClub(pctId, name, club);
}

bool namesClubs(int pctId, std::vector<std::string>* texts) {
  texts->assign(5, std::string());
  std::vector<std::string>& t = *texts;
  return basic().getPctIdNamesClubs(pctId, &t[0], &t[1], &t[2], &t[3], &t[4]);
}

bool nation(int pctId, std::string* nation) { return basic().getPctIdNation(pctId, nation); }
bool clubName(int clubId, std::string* name) { return basic().getPctIdName(clubId, name); }

bool elementName(const std::string& key, std::string* name) {
  return basic().getElmFullName(key, name);
}

bool elementShortName(const std::string& code, std::string* name) {
  return basic().getElmShortName(code, name);
}

bool plannedElements(int pctId, int list, int flag, std::vector<std::string>* codes,
                     std::vector<std::string>* second) {
  return basic().getPctPelData(pctId, list, flag != 0, codes, second);
}

}  // namespace reg
}  // namespace tav
