// The register questions of the event tree, answered by the basic data.
#include "event/register_link.h"

#include "base/failure_record.h"

namespace tav {
namespace reg {
namespace {

bool unavailable() { return failWith("The register is not available"); }

}  // namespace

bool name(int, const std::string&, std::string*) { return unavailable(); }
bool localName(int, const std::string&, std::string*) { return unavailable(); }
bool regNos(int, std::vector<std::string>*) { return unavailable(); }
bool isCouple(int, bool*) { return unavailable(); }
bool spMusic(int, std::string*) { return unavailable(); }
bool fsMusic(int, std::string*) { return unavailable(); }
bool nameClub(int, std::string*, std::string*) { return unavailable(); }
bool namesClubs(int, std::vector<std::string>*) { return unavailable(); }
bool nation(int, std::string*) { return unavailable(); }
bool clubName(int, std::string*) { return unavailable(); }
bool elementName(const std::string&, std::string*) { return unavailable(); }
bool elementShortName(const std::string&, std::string*) { return unavailable(); }
bool plannedElements(int, int, int, std::vector<std::string>*, std::vector<std::string>*) {
  return unavailable();
}

}  // namespace reg
}  // namespace tav
