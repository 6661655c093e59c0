// The judges' deviation report of an event (CEvent.deviation): a
// comma-separated file that counts, per judge, the grades of execution that
// lie at least a threshold away from the panel's median, in total and per
// category, segment, skater and element.
//
// Layout.  The header line names the columns: the event name, then the
// optional columns "Segment", "Skater", "Element" (each with its expansion
// flag), "numDev" (with expandCat), "median GOE" (with expandEl), "AllGoe"
// (with showAllGoe), then one column per judge.  Every line of the file
// carries exactly the header's fields in the header's order, each field
// followed by "," (so every line ends in ","), and loads as a rectangular
// table.  With every flag on this gives the familiar fixed prefixes: a
// segment line starts ",name,", a skater line ",,name,", an element line
// ",,,code,,median,".
//
// Levels.  Each level follows its own flag: the category line needs
// expandCat, segment lines expandSeg, skater lines expandSk, element lines
// expandEl; with expandCat off the segment, skater and element lines still
// follow their flags (the header announces their columns).  A category,
// segment or skater without deviations is left out, with everything below
// it, unless showZeroDev is set; the elements of a listed skater are all
// listed.
//
// Names are quoted by the usual CSV rule when they hold a comma, a double
// quote or a line end.  The file is written beside its target and renamed
// into place when complete, so a failed run leaves the earlier report.
#ifndef TAVC_REPORT_DEVIATION_REPORT_H_
#define TAVC_REPORT_DEVIATION_REPORT_H_

#include <string>
#include <string_view>
#include <vector>

namespace tav {

class CEvent;

struct DeviationOptions {
  std::vector<int> catIds;  // categories to include; empty: all
  int threshold = 0;        // T, in whole grade steps
  bool showZeroDev = false;
  bool sortByPlace = false;
  bool expandCat = false;
  bool expandSeg = false;
  bool expandSk = false;
  bool expandEl = false;
  bool showAllGoe = false;
};

// A CSV field: as it is, or in double quotes with inner quotes doubled when
// it holds a comma, a double quote, a carriage return or a line feed.
std::string csvField(std::string_view text);

// CEvent.deviation: writes the report of `event` to the file `path`.
// `lines`, when given, receives the number of lines written.
bool eventDeviation(const CEvent& event, const std::string& path,
                    const DeviationOptions& options, long long* lines = nullptr);

// The operation behind tav_eventEvtDeviation: finds the event and writes
// its report.  A missing event fails with the tree's "Invalid EVT_ID: ".
bool eventEvtDeviation(const std::string& path, int evtId, const DeviationOptions& options);

}  // namespace tav

#endif  // TAVC_REPORT_DEVIATION_REPORT_H_
