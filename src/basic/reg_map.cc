// The registration map export.
#include "basic/reg_map.h"

#include <vector>

#include "base/failure_record.h"
#include "dbf/file_io.h"
#include "session/tav.h"

namespace tav {
namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr char kComment[] =
    "<!-- Register identifiers (PCT_ID) of competitors and teams with their "
    "registration numbers (PCT_REGNO) -->\n";

// The five fields the export reads, by index in the PCT table.
struct MapFields {
  int id, type, function, name, regNo;
};

bool lookUpFields(CDbf* pct, MapFields* f) {
  f->id = pct->getFieldIndex("PCT_ID");
  if (f->id < 0) return false;
  f->type = pct->getFieldIndex("PCT_TYPE");
  if (f->type < 0) return false;
  f->function = pct->getFieldIndex("PCT_AFUNCT");
  if (f->function < 0) return false;
  f->name = pct->getFieldIndex("PCT_CNAME");
  if (f->name < 0) return false;
  f->regNo = pct->getFieldIndex("PCT_REGNO");
  return f->regNo >= 0;
}

// Competitors and teams are exported; officials, couples, clubs are not.
bool isExported(const CDbf& pct, std::size_t r, const MapFields& f) {
  if (pct.isDeleted(r)) return false;
  const std::string_view type = pct.fieldText(r, f.type);
  return (type == "PER" && pct.fieldText(r, f.function) == "CMP") || type == "PTS";
}

}  // namespace

bool pctRegNoMap(const std::string& path, const ToUtf8& toUtf8) {
  CallTrace t("CBasic.pctRegNoMap");
  CDbf* pct = session().handles().getDbfHandlePtr("PCT");
  if (pct == nullptr) return false;
  MapFields f;
  if (!lookUpFields(pct, &f)) return false;
  // The whole text is built first: a missing registration number is found
  // before any file is touched.
  std::string text = std::string(kDeclaration) + kComment + "<MapList>\n";
  for (std::size_t r = 0; r < pct->numScannable(); ++r) {
    if (!isExported(*pct, r, f)) continue;
    const std::string_view regNo = pct->fieldText(r, f.regNo);
    if (regNo.empty()) {
      return failWith("Missing Registration no. for: " + std::string(pct->fieldText(r, f.name)));
    }
    text += "  <Map PctId=\"" + xmlAttributeText(toUtf8(pct->fieldText(r, f.id))) +
            "\" RegNo=\"" + xmlAttributeText(toUtf8(regNo)) + "\" />\n";
  }
  text += "</MapList>\n";
  SafeFileWriter out;
  if (!out.open(path)) return failWith("Unable to open: " + path);
  if (!out.write(text.data(), text.size()) || !out.commit()) {
    return failWith("Unable to write: " + path + ": " + errnoText());
  }
  return t.succeed();
}

}  // namespace tav
