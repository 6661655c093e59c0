// Conversion of text between a table's code page and Tcl's UTF-8.
//
// Field bytes are kept in the database's own single- or double-byte code
// page, named by the language-driver byte of each table's header; Tcl strings
// are UTF-8.  The command layer converts every field value it returns and
// every value it is given here, so that the library itself only ever sees the
// bytes that are stored in the files.  A byte of 0 or an unknown byte means
// Windows-1252.
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
std::string messageToUtf8(const std::string& text);

}  // namespace tav

#endif  // TAVC_COMMAND_TABLE_TEXT_H_
