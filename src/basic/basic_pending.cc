// Register operations whose bodies are being built; each answers a failure.
#include "base/failure_record.h"
#include "basic/basic.h"

namespace tav {
namespace {
bool notBuilt(const char* op) { return failWith(std::string(op) + ": not built yet"); }
}  // namespace

struct CBasic::Impl {};
CBasic::CBasic() : impl_(std::make_unique<Impl>()) {}
CBasic::~CBasic() = default;
bool CBasic::populate(int, int) { return notBuilt("populate"); }
bool CBasic::close(int) { return true; }
bool CBasic::isValidPctId(int) const { return false; }
bool CBasic::isValidWbgId(int) const { return false; }
bool CBasic::getPctIdRecNo(int, int*) { return notBuilt("getPctIdRecNo"); }
bool CBasic::getPctIdType(int, std::string*) { return notBuilt("getPctIdType"); }
bool CBasic::isPctIdCouple(int, bool*) { return notBuilt("isPctIdCouple"); }
bool CBasic::getPctIdRegNo(int, std::string*) { return notBuilt("getPctIdRegNo"); }
bool CBasic::getPctIdRegNos(int, std::string*, std::string*) { return notBuilt("x"); }
bool CBasic::getPctIdName(int, std::string*, const std::string&) { return notBuilt("x"); }
bool CBasic::getPctIdNameLoc(int, std::string*) { return notBuilt("x"); }
bool CBasic::getPctIdNation(int, std::string*) { return notBuilt("x"); }
bool CBasic::getPctIdSpMusic(int, std::string*) { return notBuilt("x"); }
bool CBasic::getPctIdFsMusic(int, std::string*) { return notBuilt("x"); }
bool CBasic::getPctIdClubIds(int, int*, int*) { return notBuilt("x"); }
bool CBasic::getPctIdNameClub(int, std::string*, std::string*) { return notBuilt("x"); }
bool CBasic::getPctIdNamesClubs(int, std::string*, std::string*, std::string*, std::string*,
                                std::string*) { return notBuilt("x"); }
bool CBasic::getPctNames(int, std::vector<std::string>*) { return notBuilt("x"); }
int CBasic::getPctListSize(int) const { return 0; }
bool CBasic::getPctListId(int, int, int*) { return notBuilt("x"); }
bool CBasic::getPctListRecNo(int, int, int*) { return notBuilt("x"); }
bool CBasic::getPctListClubIdxs(int, int, std::string*, std::string*) { return notBuilt("x"); }
bool CBasic::getCoupleListId(int, int, std::vector<int>*) { return notBuilt("x"); }
bool CBasic::getNatNames(std::vector<std::string>*) { return notBuilt("x"); }
bool CBasic::getNatListOmf(int, std::string*) { return notBuilt("x"); }
bool CBasic::findByRegNo(int, int, std::vector<int>*) { return notBuilt("x"); }
bool CBasic::findByName(int, const std::string&, std::vector<int>*) { return notBuilt("x"); }
bool CBasic::findByName(int, const std::string&, const std::string&, std::vector<int>*) { return notBuilt("x"); }
bool CBasic::duplicatePCT(int, std::vector<std::string>*) { return notBuilt("x"); }
bool CBasic::getPctIdPelRecNo(int, int*) { return notBuilt("x"); }
bool CBasic::getPctPelData(int, int, bool, std::vector<std::string>*, std::vector<std::string>*) { return notBuilt("x"); }
bool CBasic::getElmIdRecNo(int, int*) { return notBuilt("x"); }
bool CBasic::getElmFullName(const std::string&, std::string*) { return notBuilt("x"); }
bool CBasic::getElmNameType(const std::string&, std::string*, std::string*) { return notBuilt("x"); }
bool CBasic::getElmShortName(const std::string&, std::string*) { return notBuilt("x"); }
bool CBasic::getFieldData(int, std::vector<std::string>*, std::vector<std::string>*) { return notBuilt("x"); }
bool CBasic::setFieldData(int, const std::vector<std::string>&, const std::vector<std::string>&) { return notBuilt("x"); }
bool CBasic::updateAddRec(const std::string&, int*, const std::vector<std::string>&, int) { return notBuilt("x"); }
bool CBasic::updateOffScoreboardName1() { return notBuilt("x"); }
bool CBasic::updateNatCodes(int, const std::string&) { return notBuilt("x"); }
bool CBasic::loadAbbreviations(const std::string& d) { return abbreviations_.load(d); }
bool CBasic::calcNames(int, FieldMap*) { return notBuilt("x"); }
bool CBasic::cleanClubName(std::string*) const { return notBuilt("x"); }
bool CBasic::cleanAllClubNames() { return notBuilt("x"); }
bool CBasic::initPCT(int, FieldMap*) { return notBuilt("x"); }
std::string CBasic::combineNames(const FieldMap&, const FieldMap&, bool, int, bool) const { return {}; }
bool CBasic::requirePct() { return notBuilt("x"); }
bool CBasic::readPctField(int, const char*, std::string*, bool) { return notBuilt("x"); }
}  // namespace tav
