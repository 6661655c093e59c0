// Conversion of text between a table's code page and Tcl's UTF-8.
//
// Field bytes are kept in the database's own single- or double-byte code
// page, named by the language-driver byte of each table's header; Tcl strings
// are UTF-8.  The command layer converts every field value it returns and
// every value it is given here, so that the library itself only ever sees the
// bytes that are stored in the files.  A byte of 0 or an unknown byte means
// Windows-1252.
//
// Nothing is transliterated: a character the code page cannot hold ("Ł" in
// Windows-1252) is never replaced by a look-alike or by "?" on its way into
// a table.  Commands that write convert with `toTable`, which names such a
// character, and refuse the value (`valueToTable`, `assignmentsToTable`);
// the person import lists the line as invalid.  Searches still use
// `fromUtf8`, whose stand-in "?" only makes the search find nothing.
#ifndef TAVC_COMMAND_TABLE_TEXT_H_
#define TAVC_COMMAND_TABLE_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

class TableText {
 public:
  explicit TableText(std::uint8_t codePage);
  // The text of the table with this handle (Windows-1252 when not open).
  static TableText forHandle(const std::string& handle);

  // Text in the code page; every character the code page lacks is written
  // "<U+XXXX>" in `bytes` and the first of them is kept in `unheld` (as
  // UTF-8; empty when the code page holds the whole text).
  struct Converted {
    std::string bytes;
    std::string unheld;
  };
  Converted toTable(std::string_view text) const;

  std::string toUtf8(std::string_view bytes) const;
  std::string fromUtf8(std::string_view text) const;
  void toUtf8(std::vector<std::string>* values) const;
  void fromUtf8(std::vector<std::string>* values) const;

  std::uint8_t codePage() const { return codePage_; }

  // The Tcl encoding name of a language-driver byte.
  static const char* encodingName(std::uint8_t codePage);

 private:
  std::uint8_t codePage_;
  const char* encoding_;
};

// Library messages may quote stored field bytes.  The code page they are read
// in is that of the table the last command worked on (set through
// Call::tableText, reset by every command that starts a new failure record);
// text that is valid UTF-8 already (paths, Tcl arguments) is left as it is.
void setMessageCodePage(std::uint8_t codePage);

// Lets the table engine fold the letters of every single-byte code page
// (CaseFold): the capitals come from Tcl's encodings and its Unicode case
// tables; a letter whose capital the code page lacks (ß, µ) stays as it is.
void installCaseFolds();

// "U+0141": the code point of a character (UTF-8).
std::string codePointName(std::string_view utf8);
// "Ł (U+0141)": a character and its code point, for messages.
std::string describeCharacter(std::string_view utf8);

// Converts the value of `field` of the table `handle` to its code page.
// A value with a character the code page cannot hold is refused: false,
// with handle + "_codePage: Refused " + field + "=" + value + ": the code
// page <encoding> cannot hold " + the character recorded.
bool valueToTable(const TableText& text, const std::string& handle, const std::string& field,
                  std::string* value);
// The same for every "NAME=value" of a list; nothing is converted unless
// every value can be.
bool assignmentsToTable(const TableText& text, const std::string& handle,
                        std::vector<std::string>* assignments);
std::string messageToUtf8(const std::string& text);

}  // namespace tav

#endif  // TAVC_COMMAND_TABLE_TEXT_H_
