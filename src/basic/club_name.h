// The club-name cleaner: removes quotes, a leading word THE, a trailing
// incorporation suffix, and shortens FIGURE SKATING CLUB and SKATING CLUB,
// as selected by the conversion bits (ClubNameConversion in basic.h).
//
// The tests are made on an upper-case copy; letters outside the replaced
// parts keep their case.  THE and INC are removed only as whole words: a
// name beginning with THEATRE or ending in ZINC keeps its letters.
#ifndef TAVC_BASIC_CLUB_NAME_H_
#define TAVC_BASIC_CLUB_NAME_H_

#include <string>

namespace tav {

void cleanClubNameWith(std::string* name, int bits);

}  // namespace tav

#endif  // TAVC_BASIC_CLUB_NAME_H_
