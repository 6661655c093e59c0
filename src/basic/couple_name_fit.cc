#include "basic/couple_name_fit.h"

namespace tav {
namespace {

bool fits(const std::string& a, const std::string& b, int width) {
  return static_cast<int>(a.size() + b.size()) + 1 <= width;
}

void cut(std::string* text, int length) {
  if (length < 0) length = 0;
  if (static_cast<int>(text->size()) > length) text->resize(length);
}

}  // namespace

std::string fitCoupleName(const PartnerNames& first, const PartnerNames& second, int width) {
  std::string a = first.longForm;
  std::string b = second.longForm;
  // The longer of the two; the second when they are equal.
  const bool firstLonger = a.size() > b.size();
  std::string& longer = firstLonger ? a : b;
  std::string& other = firstLonger ? b : a;
  const PartnerNames& longerNames = firstLonger ? first : second;
  const PartnerNames& otherNames = firstLonger ? second : first;
  if (!fits(a, b, width)) longer = longerNames.shortForm;
  if (!fits(a, b, width)) other = otherNames.shortForm;
  if (!fits(a, b, width)) {
    // Decided again on the short forms.
    std::string& longer2 = a.size() > b.size() ? a : b;
    const std::string& other2 = a.size() > b.size() ? b : a;
    const int half = width / 2;
    if (static_cast<int>(other2.size()) < half) {
      cut(&longer2, width - static_cast<int>(other2.size()) - 1);
    } else {
      cut(&longer2, half);
    }
    if (!fits(a, b, width)) {
      std::string& rest = &longer2 == &a ? b : a;
      cut(&rest, half);
    }
  }
  const int used = static_cast<int>(a.size() + b.size());
  const char* separator = " / ";
  if (used + 1 == width) separator = "/";
  if (used + 2 == width) separator = "/ ";
  return a + separator + b;
}

}  // namespace tav
