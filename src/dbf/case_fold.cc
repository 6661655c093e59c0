#include "dbf/case_fold.h"

#include <map>
#include <memory>
#include <utility>

namespace tav {
namespace {

CaseFold::Provider& provider() {
  static CaseFold::Provider installed;
  return installed;
}

std::map<std::uint8_t, std::unique_ptr<CaseFold>>& folds() {
  static std::map<std::uint8_t, std::unique_ptr<CaseFold>> made;
  return made;
}

}  // namespace

CaseFold::CaseFold() {
  for (int b = 0; b < 256; ++b) {
    table_[b] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
  }
}

void CaseFold::setProvider(Provider provider) {
  tav::provider() = std::move(provider);
  folds().clear();
}

const CaseFold& CaseFold::ascii() {
  static const CaseFold fold;
  return fold;
}

const CaseFold& CaseFold::forCodePage(std::uint8_t codePage) {
  auto& made = folds();
  auto found = made.find(codePage);
  if (found != made.end()) return *found->second;
  std::unique_ptr<CaseFold> fold(new CaseFold());
  if (provider() && !provider()(codePage, &fold->table_)) fold.reset(new CaseFold());
  return *made.emplace(codePage, std::move(fold)).first->second;
}

std::string CaseFold::upper(std::string_view text) const {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

}  // namespace tav
