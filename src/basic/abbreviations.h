// Abbreviations shortens names that do not fit their fields, with two tables
// read from the text files "state_abbrev" and "misc_abbrev" of the
// application's folder.
//
// File format, line by line: blanks and tabs around the line are ignored;
// empty lines and lines starting with "#" are skipped; every other line holds
// a text (one or more words), a TAB and its abbreviation, each trimmed.  A
// later line with the same text replaces the earlier one.  Lookups compare
// entries with the upper-case form of a name, so only entries written in
// upper case can match.
//
// The files are outside input: any bytes are read without harm; a line
// without a TAB stops the load with a message naming the line (cut to a
// readable length).
#ifndef TAVC_BASIC_ABBREVIATIONS_H_
#define TAVC_BASIC_ABBREVIATIONS_H_

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace tav {

using AbbreviationTable = std::map<std::string, std::string>;

class Abbreviations {
 public:
  // Empties both tables, then reads directory/state_abbrev and
  // directory/misc_abbrev.  A file that cannot be opened or a line without
  // a TAB fails the load; the tables keep what was read before the fault.
  bool load(const std::string& directory);
  void clear();

  // Reads the lines of `text` into `table` by the file format.
  static bool parse(std::string_view text, AbbreviationTable* table);

  // `value` shortened towards `width`: whole-word state entries first, then
  // single misc words, stopping as soon as it fits; trimmed at both ends.  A
  // value that already fits is returned unchanged; one that still does not
  // fit is returned as far as it got.
  std::string abbreviate(const std::string& value, int width) const;

  // Installs tables read elsewhere (tests, the fuzz target).
  void setTables(AbbreviationTable state, AbbreviationTable misc) {
    state_ = std::move(state);
    misc_ = std::move(misc);
  }

  const AbbreviationTable& state() const { return state_; }
  const AbbreviationTable& misc() const { return misc_; }

 private:
  static bool readFile(const std::string& path, AbbreviationTable* table);
  bool statePass(std::string* value, int width) const;
  void miscPass(std::string* value, int width) const;

  AbbreviationTable state_;
  AbbreviationTable misc_;
};

}  // namespace tav

#endif  // TAVC_BASIC_ABBREVIATIONS_H_
