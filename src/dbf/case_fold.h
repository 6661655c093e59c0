// Upper case of a table's text, byte by byte, for the comparisons that
// ignore case: qualifiers of record selections and the register's finds by
// name.
//
// Which bytes are letters, and which byte is a letter's capital, depends on
// the table's code page (Windows-1252 has é/É and ž/Ž, code page 852 has
// ł/Ł at other bytes).  The table for a code page comes from a provider that
// the command layer installs, since it is the layer that knows code pages
// (through Tcl's encodings).  Without a provider, and for code pages whose
// characters take two bytes, only a to z are folded: a byte of a two-byte
// character is no letter of its own.
#ifndef TAVC_DBF_CASE_FOLD_H_
#define TAVC_DBF_CASE_FOLD_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tav {

class CaseFold {
 public:
  using Table = std::array<unsigned char, 256>;
  // Fills the capitals of a code page's bytes (entries start as the byte
  // itself with a to z folded); false leaves a to z only.
  using Provider = std::function<bool(std::uint8_t codePage, Table* table)>;

  // Installs the provider and forgets the tables made so far.
  static void setProvider(Provider provider);
  // The fold of a code page (language-driver byte); made once, then kept.
  static const CaseFold& forCodePage(std::uint8_t codePage);
  // a to z only.
  static const CaseFold& ascii();

  char upper(char c) const {
    return static_cast<char>(table_[static_cast<unsigned char>(c)]);
  }
  std::string upper(std::string_view text) const;

 private:
  CaseFold();
  Table table_;
};

}  // namespace tav

#endif  // TAVC_DBF_CASE_FOLD_H_
