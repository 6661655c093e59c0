// The printed name of a couple: the two partners' names, long or short form,
// joined so that they fit a field of a given width.
#ifndef TAVC_BASIC_COUPLE_NAME_FIT_H_
#define TAVC_BASIC_COUPLE_NAME_FIT_H_

#include <string>

namespace tav {

struct PartnerNames {
  std::string longForm;   // given name, blank, family name [, club]
  std::string shortForm;  // given-name initial, blank, family name [, club]
};

// Starting from the long forms, while the pair does not fit `width`
// (length A + length B + 1 <= width): the longer name (the second when
// equal) takes its short form; then the other; then the longer is cut to
// width - other - 1 (or to width / 2 when the other is not shorter than
// width / 2); then the other is cut to width / 2.  The separator is "/"
// when the names fill the field exactly, "/ " when one character is left,
// " / " otherwise.  With an even width the two halves and the separator may
// still exceed the field; the table's update cuts what does not fit.
std::string fitCoupleName(const PartnerNames& first, const PartnerNames& second, int width);

}  // namespace tav

#endif  // TAVC_BASIC_COUPLE_NAME_FIT_H_
