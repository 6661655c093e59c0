// The lines of a person import file.
//
// Import files come from federations' spreadsheets and other programs, so
// every byte sequence is accepted:
//   - a line ends at a line feed; a carriage return before it is removed
//     (Windows line ends), and a last line without a line feed still counts;
//   - NUL bytes become blanks (a NUL inside a stored field would cut the
//     value short when it is read back);
//   - lines may be of any length (the fields are cut to their widths when
//     they are stored).
// Text encoding: the file's bytes are taken in the database's code page, as
// the tables are.  A file that is well-formed UTF-8 and holds at least one
// character outside ASCII (as spreadsheets export today), or that starts
// with the UTF-8 byte-order mark, is read as UTF-8 instead: the mark is
// dropped and every line is converted to the database's code page by the
// converter the caller gives.  A line with a character the code page lacks
// is kept with that character written "<U+XXXX>" and is marked (`unheld`,
// unless the character is in the comment after "#"): the import lists it as
// invalid instead of storing a stand-in.  A file in a single-byte code page is practically
// never well-formed UTF-8 once it holds accented letters ("Zoé" in
// Windows-1252 is E9 followed by a blank, which UTF-8 does not allow).
#ifndef TAVC_BASIC_PCT_IMPORT_FILE_H_
#define TAVC_BASIC_PCT_IMPORT_FILE_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// UTF-8 text in the database's code page: each character the code page
// lacks is written "<U+XXXX>", and `unheld` names the first of them
// ("U+0141"; empty when the code page holds the whole text).
struct CodePageText {
  std::string bytes;
  std::string unheld;
};
using FromUtf8 = std::function<CodePageText(std::string_view)>;

class PctImportFile {
 public:
  // Reads the file at `path`.  Fails (fatal) with "Unable to open: " + path
  // + " for reading: " + the system's error text.
  bool read(const std::string& path, const FromUtf8& fromUtf8);
  // Takes the file's bytes as they are (tests and the fuzz target).
  void takeBytes(std::string_view bytes, const FromUtf8& fromUtf8);

  // The lines in file order, without their line ends, in the code page.
  const std::vector<std::string>& lines() const { return lines_; }
  // Per line, the first character the code page could not hold, or empty.
  const std::vector<std::string>& unheld() const { return unheld_; }
  // True when the file was read as UTF-8 and converted.
  bool wasUtf8() const { return utf8_; }

  // True when `bytes` are well-formed UTF-8 (no overlong forms, no
  // surrogates, nothing above U+10FFFF).
  static bool isWellFormedUtf8(std::string_view bytes);

 private:
  std::vector<std::string> lines_;
  std::vector<std::string> unheld_;
  bool utf8_ = false;
};

}  // namespace tav

#endif  // TAVC_BASIC_PCT_IMPORT_FILE_H_
