// Person import and the registration map: tav_basicImportPCT, the three
// lists of the last import, and tav_basicGenPctRegMap.
//
// File text and register text are in the register table's code page on the
// library's side and converted here.  The couple pairing is shown to the
// application through the global variables gTAV(import,couplesList), a
// proper Tcl list with one element per pair (each followed by a blank), and
// gTAV(import,couplesSize), the number of entries, and the application's
// procedure dispCouplePairings, which is called by name: names reach the
// variable as list elements, exactly as written, and nothing in them is
// evaluated.
#include <tcl.h>

#include "base/failure_record.h"
#include "basic/pct_import.h"
#include "basic/reg_map.h"
#include "command/commands.h"
#include "command/interp_helpers.h"
#include "command/table_text.h"

namespace tav {
namespace {

bool setImportVar(const char* element, const std::string& value) {
  if (Tcl_SetVar2(currentInterp(), "gTAV", element, value.c_str(), TCL_GLOBAL_ONLY) != nullptr) {
    return true;
  }
  return failWith(std::string("Unable to set gTAV(") + element +
                  "): " + Tcl_GetStringResult(currentInterp()));
}

// The pairing text: one list element per pair, each followed by a blank
// ("{Anna Kowalczyk / Piotr Nowak} "); a last unpaired entry ("{Ewa Lis /}")
// has none.  Every element is quoted by Tcl's list rules, so whatever a name
// holds the text stays a proper list of the items.
std::string pairingText(const std::vector<std::string>& items, int entries) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    text += listToTcl({items[i]});
    if (2 * (i + 1) <= static_cast<std::size_t>(entries)) text += ' ';
  }
  return text;
}

// Shows the pairs and reads the application's answer.
bool showCouplePairings(const TableText& text, const std::vector<std::string>& items,
                        int entries, PairingAnswer* answer) {
  std::vector<std::string> pairs = items;
  text.toUtf8(&pairs);
  if (!setImportVar("import,couplesList", pairingText(pairs, entries)) ||
      !setImportVar("import,couplesSize", std::to_string(entries))) {
    return false;
  }
  std::string result;
  if (!execTclCmd("dispCouplePairings", &result)) return false;
  answer->text = result;
  answer->cancelled = result == "Cancel";
  if (!answer->cancelled) answer->wellFormed = tclToList(result, &answer->elements);
  return true;
}

// One list item per entry: its texts joined by tabs, or as a Tcl list.
std::string entryList(const std::vector<std::vector<std::string>>& entries, bool withTabs,
                      const TableText& text) {
  std::vector<std::string> items;
  for (std::vector<std::string> entry : entries) {
    text.toUtf8(&entry);
    if (!withTabs) {
      items.push_back(listToTcl(entry));
      continue;
    }
    std::string joined;
    for (std::size_t i = 0; i < entry.size(); ++i) joined += (i ? "\t" : "") + entry[i];
    items.push_back(joined);
  }
  return listToTcl(items);
}

}  // namespace

Outcome tav_basicImportPCT(Call& call) {
  PctImportOptions o;
  int capFName = 0, addPFN = 0, addSN1 = 0, dupIncClub = 0, eraseFirst = 0;
  if (!call.intArg(1, &o.kind) || !call.intArg(3, &capFName) ||
      !call.intArg(6, &o.clbNameConvBits) || !call.intArg(7, &addPFN) ||
      !call.intArg(8, &addSN1) || !call.intArg(9, &o.updDupBits) ||
      !call.intArg(10, &dupIncClub) || !call.intArg(11, &eraseFirst)) {
    return call.done();
  }
  const TableText text = call.tableText("PCT");
  o.file = call.arg(2);
  o.defGender = call.arg(4);
  o.defNation = call.arg(5);
  if (!valueToTable(text, "PCT", "PCT_GENDER", &o.defGender) ||
      !valueToTable(text, "PCT", "PCT_NAT", &o.defNation)) {
    return call.failed();
  }
  o.capFName = capFName != 0;
  o.addPFN = addPFN != 0;
  o.addSN1 = addSN1 != 0;
  o.dupIncClub = dupIncClub != 0;
  o.eraseFirst = eraseFirst != 0;
  o.fromUtf8 = [text](std::string_view utf8) {
    TableText::Converted converted = text.toTable(utf8);
    return CodePageText{std::move(converted.bytes),
                        converted.unheld.empty() ? "" : codePointName(converted.unheld)};
  };
  const int result = pctImport().importPct(
      o, [&text](const std::vector<std::string>& items, int entries, PairingAnswer* answer) {
        return showCouplePairings(text, items, entries, answer);
      });
  if (result == -1) return call.answer("Error: " + messageToUtf8(getErrStr()) + "\n", TCL_OK);
  if (result < 0) return call.failed();
  return call.ok(result);
}

Outcome tav_basicGetImportImportedList(Call& call) {
  int withTabs = 0;
  if (!call.intArg(1, &withTabs)) return call.done();
  return call.ok(entryList(pctImport().imported(), withTabs != 0, call.tableText("PCT")));
}

Outcome tav_basicGetImportDuplicateList(Call& call) {
  int withTabs = 0;
  if (!call.intArg(1, &withTabs)) return call.done();
  return call.ok(entryList(pctImport().duplicates(), withTabs != 0, call.tableText("PCT")));
}

Outcome tav_basicGetImportInvalidList(Call& call) {
  std::vector<std::string> items = pctImport().invalid();
  call.tableText("PCT").toUtf8(&items);
  return call.ok(listToTcl(items));
}

Outcome tav_basicGenPctRegMap(Call& call) {
  const TableText text = call.tableText("PCT");
  const bool written =
      pctRegNoMap(call.arg(1), [&text](std::string_view bytes) { return text.toUtf8(bytes); });
  return written ? call.ok("1") : call.failed();
}

}  // namespace tav
