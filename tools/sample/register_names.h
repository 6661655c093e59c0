// The derived name fields of a register entry (PCT): the composite, sort,
// printed, short and scoreboard names that the scoring program keeps beside
// the given and family names, each fitted to its field width the way the
// application's name calculation does (full name, then initial and family
// name, then the family name alone).
#ifndef TAVC_TOOLS_SAMPLE_REGISTER_NAMES_H_
#define TAVC_TOOLS_SAMPLE_REGISTER_NAMES_H_

#include <map>
#include <string>

#include "competition.h"
#include "schema.h"

namespace tav {
namespace sample {

// Number of characters of UTF-8 text (one byte each in the table).
std::size_t textLength(const std::string& utf8);
// The first `count` characters of UTF-8 text.
std::string textPrefix(const std::string& utf8, std::size_t count);
// Upper case of letters a-z and the Latin-1 letters.
std::string upperText(const std::string& utf8);

class RegisterNames {
 public:
  explicit RegisterNames(const TableLayout& pct) : pct_(pct) {}

  // Field name -> value of every derived name field of a person.  `suffix`
  // is the club name of a competitor or the residence of an official.
  std::map<std::string, std::string> person(const RegisterEntry& person,
                                            const std::string& suffix) const;
  // ... of a couple from its two partners and their club names.
  std::map<std::string, std::string> couple(const RegisterEntry& first,
                                            const RegisterEntry& second,
                                            const std::string& firstClub,
                                            const std::string& secondClub) const;
  // ... of a team or a club: one name everywhere.
  std::map<std::string, std::string> named(const std::string& name, const std::string& club,
                                           bool isClub) const;

 private:
  std::size_t width(const std::string& field) const;
  std::string fit(const std::string& field, const std::string& full, const std::string& initial,
                  const std::string& family) const;
  std::string cut(const std::string& field, const std::string& text) const;
  std::string joinPair(const std::string& field, const std::string& a, const std::string& b,
                       const std::string& shortA, const std::string& shortB) const;

  const TableLayout& pct_;
};

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_REGISTER_NAMES_H_
