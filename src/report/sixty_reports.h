// The "60 reports" section of the index page: report files written by
// another program into a folder of their own, listed in the index and copied
// into the output folder beside the site.
//
// The other program names its files after a group prefix: prefix "e0.htm"
// holds the event title, prefix "s" k ".htm" the results after round k,
// prefix "c" j ".htm" the standings and prefix "o" j ".htm" the starting
// order of round j.  Names are matched without regard to case (the group
// prefixes are taken upper case from the listing while the appended parts
// are lower case), so the section reads the same on any file system.
//
// The texts taken from these files (titles, headings) are already HTML and
// are written as they are, except that characters outside ASCII become
// character references; the file names are escaped as link addresses.
#ifndef TAVC_REPORT_SIXTY_REPORTS_H_
#define TAVC_REPORT_SIXTY_REPORTS_H_

#include <map>
#include <string>

#include "report/html_writer.h"

namespace tav {

// The text between the first `startTag` and the first `endTag` after it in
// the file; "Unknown name" when either is missing; empty when the file cannot
// be opened.
std::string extractStrFromHtml(const std::string& path, const std::string& startTag,
                               const std::string& endTag);

class SixtyReports {
 public:
  // `folder`: the report files; `outFolder`: the site.
  SixtyReports(const std::string& folder, const std::string& outFolder);

  // Writes the section's rows into the index page and copies the linked
  // files.  Returns the number of groups written.  A file that cannot be
  // copied is noted as a warning in the kept error text and the section goes
  // on.
  int write(HtmlWriter& out);

 private:
  // Group prefix (upper case) to the largest round number seen.
  std::map<std::string, int> readGroups();
  // The real path of `name` in the folder, matched without regard to case;
  // empty when there is none.
  std::string find(const std::string& name) const;
  bool canOpen(const std::string& name) const;
  std::string extract(const std::string& name, const char* startTag, const char* endTag) const;
  void writeGroup(HtmlWriter& out, const std::string& prefix, int rounds);
  // The cell of round j: the standings, or the starting order.
  void writeRoundCell(HtmlWriter& out, const std::string& prefix, int round, int lastResult);
  // An anchor to the copy of `name` reading `text`; the file is copied.
  void writeLink(HtmlWriter& out, const std::string& name, const std::string& text);
  void copy(const std::string& name, const std::string& copyName);

  std::string folder_;
  std::string outFolder_;
  std::map<std::string, std::string> files_;  // upper-case name to real name
};

}  // namespace tav

#endif  // TAVC_REPORT_SIXTY_REPORTS_H_
