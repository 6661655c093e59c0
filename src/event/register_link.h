// What the event tree asks the register (the basic data) about a PCT_ID:
// names, clubs, nations, registration numbers, music and planned elements,
// and the names of elements.  One place, so that the nodes stay free of the
// register's own interface.
#ifndef TAVC_EVENT_REGISTER_LINK_H_
#define TAVC_EVENT_REGISTER_LINK_H_

#include <string>
#include <vector>

namespace tav {
namespace reg {

bool name(int pctId, const std::string& field, std::string* value);
bool localName(int pctId, const std::string& field, std::string* value);
bool regNos(int pctId, std::vector<std::string>* values);
bool isCouple(int pctId, bool* couple);
bool spMusic(int pctId, std::string* music);
bool fsMusic(int pctId, std::string* music);
bool nameClub(int pctId, std::string* name, std::string* club);
// The five names-and-clubs texts of the register for a PCT_ID.
bool namesClubs(int pctId, std::vector<std::string>* texts);
bool nation(int pctId, std::string* nation);
// The name of a club identifier; "Not found" when the register has none.
bool clubName(int clubId, std::string* name);
// The full name of an element under a key such as "S+3Lz".
bool elementName(const std::string& key, std::string* name);
bool elementShortName(const std::string& code, std::string* name);
bool plannedElements(int pctId, int list, int flag, std::vector<std::string>* codes,
                     std::vector<std::string>* second);

}  // namespace reg
}  // namespace tav

#endif  // TAVC_EVENT_REGISTER_LINK_H_
