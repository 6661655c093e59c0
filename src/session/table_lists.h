// The tables a database folder holds, in the order they are opened: the
// configuration table first, then the base list, then the lists that later
// database versions added.
#ifndef TAVC_SESSION_TABLE_LISTS_H_
#define TAVC_SESSION_TABLE_LISTS_H_

namespace tav {

constexpr char kConfigTable[] = "CFG";

// Blank-separated handles opened for every database version.
constexpr char kBaseTables[] =
    "BST CAT CVM DGR ELL ELM EVT JE4 JES JEV JPS MES MOT NAT OBO OJE OPE PAR PCT "
    "PEL PER PJS PPRF PRF SCP TIM TTM WBG WBP";

// Tables opened from a database version on.
struct VersionedTables {
  int fromVersion;
  const char* handles;
};

constexpr VersionedTables kVersionedTables[] = {
    {11048, "PCD"},
    {11063, "PAT"},
    {11072, "NEN"},
    {11087, "POAC"},
    {11092, "CTE TCC TEC TEM"},
    {11121, "MED"},
};

}  // namespace tav

#endif  // TAVC_SESSION_TABLE_LISTS_H_
