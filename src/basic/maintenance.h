// Bulk maintenance of the person register (table PCT and the tables that
// hang on it): erasing the officials or the skaters, purging entries that
// nothing refers to, recomputing the printed names (PCT_PLNAME), and the
// forwarders of nation codes, scoreboard names and club names.
//
// Everything works on the tables in memory; the tables changed are marked
// modified and reach the disk only when the application saves.  Erasing and
// purging compress PCT, which renumbers its records: the register, when it
// was built, is built again at once (rebuildRegister), so that no later edit
// through it writes into another entry's record.  The event tree holds no
// PCT record numbers and is kept.
//
// Each operation stops at the first failure (a table that is not open, a read
// or an update that fails) and answers false; the checks that can fail are
// made before anything is changed.
#ifndef TAVC_BASIC_MAINTENANCE_H_
#define TAVC_BASIC_MAINTENANCE_H_

#include <string>

namespace tav {

// Deletes every official (PER/JDG) of PCT, compresses PCT, empties MOT.
bool eraseOff();
// Deletes every skater, couple, team and club of PCT, compresses PCT,
// empties MOT and PEL.
bool eraseSk();
// Empties BST, MOT and PPRF, then deletes every PCT entry that no panel,
// event official, participant or planned-element record names - directly,
// as a named couple's partner or partner club, or as the club of a named
// skater, partner or team - and compresses PCT.
bool purge();
// Recomputes PCT_PLNAME of skaters, teams and couples; with `withClub` the
// club's name follows a comma.  A couple's two names are shortened to fit
// the field (couple_name_fit.h).
bool updatePaperFullName(bool withClub);

// The session's forwarders to the register, each entered under its own name
// on the call trace: the nation code of entry `pctId` (of every entry with
// 0), the first scoreboard name of the officials, the name fields of every
// club.
bool basicUpdateNatCodes(int pctId, const std::string& code);
bool basicUpdateOffScoreBoardName1();
bool basicCleanAllClubNames();

// After PCT or its companions were renumbered: builds the register again
// when it was built (all kinds), else empties whatever parts were built.
bool rebuildRegister();

}  // namespace tav

#endif  // TAVC_BASIC_MAINTENANCE_H_
