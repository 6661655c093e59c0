// The name calculation of register entries: the derived name fields of a
// record from its given and family name (or, for a team, its name), the
// defaults of a new record, and the name of a couple from its partners.
// The calculation works on a field map, not on the table.
//
// A field width of 0 means the table has no such field; its value is then
// not fitted.
#include <string>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
#include "basic/name_case.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"

namespace tav {
namespace {

constexpr char kGfNameC[] = "gfNameC";
constexpr char kClubName[] = "clubName";

bool longerThan(const std::string& value, int width) {
  return width > 0 && static_cast<long long>(value.size()) > width;
}

bool usableResidence(const std::string& residence) {
  return !residence.empty() && residence != "Undefined";
}

// The name forms of one person of a field map.
struct PersonNames {
  const std::string& given;
  const std::string& initial;
  const std::string& family;  // PCT_FNAMEC
  const std::string& full;    // gfNameC

  // The fitting rule: initial + family name, then the family name alone,
  // while the value is longer than the width; only with a given name.
  std::string fit(const std::string& value, int width) const {
    if (given.empty() || !longerThan(value, width)) return value;
    const std::string shorter = initial + " " + family;
    return longerThan(shorter, width) ? family : shorter;
  }
};

}  // namespace

bool CBasic::loadAbbreviations(const std::string& directory) {
  return abbreviations_.load(directory);
}

bool CBasic::calcNames(int type, FieldMap* fields) {
  CallTrace t("CBasic.calcNames");
  if (type != kOfficials && type != kCompetitors && type != kCouples && type != kTeams &&
      type != kClubs) {
    return failWith("Invalid type: " + std::to_string(type));
  }
  // The widths come from the populated PCT descriptors; without them every
  // name would be fitted to nothing.
  if (!requirePct()) return false;
  FieldMap& f = *fields;
  const NameWidths& w = widths_;
  if (type != kTeams) {
    f["PCT_FNAMEC"] = capFName_ ? upperName(f["PCT_FNAME"], pct_->header().codePage) : f["PCT_FNAME"];
    f[kGfNameC] = f["PCT_GNAME"] + " " + f["PCT_FNAMEC"];
  }
  const std::string full = f[kGfNameC];
  for (const char* field : {"PCT_CNAME", "PCT_PSNAME", "PCT_TLNAME", "PCT_TSNAME", "PCT_S1NAME",
                            "PCT_S2NAME", "PCT_S3NAME", "PCT_S4NAME"}) {
    f[field] = full;
  }
  if (type == kTeams) {
    calcTeamNames(&f);
    return t.succeed();
  }
  const std::string& given = f["PCT_GNAME"];
  f["PCT_GNAMEI"] = given.empty() ? std::string() : given.substr(0, 1) + ".";
  const PersonNames person{given, f["PCT_GNAMEI"], f["PCT_FNAMEC"], full};
  f["PCT_CNAME"] = person.fit(full, w.cname);
  f["PCT_SNAME"] = f["PCT_FNAME"].substr(0, 4) + given.substr(0, 4);
  const std::string residence = f["PCT_RESCIT"];
  const std::string suffix = type == kOfficials ? (usableResidence(residence) ? residence : "")
                                                : f[kClubName];
  if (addPfn_ && !suffix.empty()) {
    std::string value = full + ", " + suffix;
    if (longerThan(value, w.plname)) value = person.initial + " " + person.family + ", " + suffix;
    if (longerThan(value, w.plname)) value = person.family + ", " + suffix;
    f["PCT_PLNAME"] = value;
  } else {
    f["PCT_PLNAME"] = person.fit(full, w.plname);
  }
  if (type == kOfficials && addSn1_ && usableResidence(residence)) {
    f["PCT_S1NAME"] = residence;
  } else {
    f["PCT_S1NAME"] = person.fit(full, w.s1name);
  }
  f["PCT_PSNAME"] = person.fit(full, w.psname);
  f["PCT_TLNAME"] = person.fit(full, w.tlname);
  f["PCT_TSNAME"] = person.fit(full, w.tsname);
  f["PCT_S2NAME"] = person.fit(full, w.s2name);
  f["PCT_S3NAME"] = person.fit(full, w.s3name);
  f["PCT_S4NAME"] = person.fit(full, w.s4name);
  return t.succeed();
}

// A team's name is shortened with the abbreviation tables, field by field.
void CBasic::calcTeamNames(FieldMap* fields) const {
  FieldMap& f = *fields;
  const NameWidths& w = widths_;
  const std::string full = f[kGfNameC];
  f["PCT_CNAME"] = abbreviations_.abbreviate(f["PCT_CNAME"], w.cname);
  f["PCT_SNAME"] = full.substr(0, 8);
  const std::string& club = f[kClubName];
  f["PCT_PLNAME"] = addPfn_ && !club.empty() ? full + ", " + club : full;
  const std::pair<const char*, int> derived[] = {
      {"PCT_PLNAME", w.plname}, {"PCT_PSNAME", w.psname}, {"PCT_TLNAME", w.tlname},
      {"PCT_TSNAME", w.tsname}, {"PCT_S1NAME", w.s1name}, {"PCT_S2NAME", w.s2name},
      {"PCT_S3NAME", w.s3name}, {"PCT_S4NAME", w.s4name}};
  for (const auto& [field, width] : derived) {
    if (width > 0) f[field] = abbreviations_.abbreviate(f[field], width);
  }
}

// The fields a new record of a kind starts with; entries of the map that
// are not listed are left as they are.
bool CBasic::initPCT(int type, FieldMap* fields) {
  CallTrace t("CBasic.initPCT");
  FieldMap& f = *fields;
  switch (type) {
    case kOfficials: f["PCT_TYPE"] = "PER"; f["PCT_AFUNCT"] = "JDG"; break;
    case kCompetitors: f["PCT_TYPE"] = "PER"; f["PCT_AFUNCT"] = "CMP"; break;
    case kCouples: f["PCT_TYPE"] = "COU"; break;
    case kTeams: f["PCT_TYPE"] = "PTS"; f["PCT_AFUNCT"] = ""; break;
    case kClubs: f["PCT_TYPE"] = "CLU"; break;
    default: return failWith("Invalid type: " + std::to_string(type));
  }
  const std::string drytime = type == kCouples ? "48" : "0";
  f["PCT_STAT"] = "A";
  f["PCT_ODRYT1"] = f["PCT_ODRYT2"] = f["PCT_ODRYT3"] = drytime;
  f["PCT_ALREP"] = "0";
  f["PCT_NATID"] = f["PCT_PNATID"] = f["PCT_PALREP"] = "0";
  f["PCT_COMPOF"] = "a";
  if (type == kCouples || type == kClubs) f["PCT_GENDER"] = "M";
  if (type == kCouples) f["PCT_CSNAM"] = "/";
  if (type == kClubs) f["PCT_CLBID"] = "0";
  if (type != kCouples) f["PCT_PCTID"] = f["PCT_PPCTID"] = f["PCT_PCLBID"] = "0";
  return t.succeed();
}

// The couple name "A / B".  Each partner is given name + family name, or
// initial + family name when the two do not fit `maxLength` together (with
// a separating "/"), plus ", club" with `addClub` for a partner that has a
// club.  When they still do not fit, the longer part (the second when equal)
// is cut first: to what the other leaves when the other takes at most half
// of the room, else to half the room, and then the other to the remaining
// half - so that both parts and a "/" fit exactly.
std::string CBasic::combineNames(const FieldMap& partner1, const FieldMap& partner2, bool addClub,
                                 int maxLength, bool familyOnly) const {
  auto get = [](const FieldMap& map, const char* key) {
    auto found = map.find(key);
    return found == map.end() ? std::string() : found->second;
  };
  if (familyOnly) return get(partner1, "PCT_FNAMEC") + "/" + get(partner2, "PCT_FNAMEC");
  auto club = [&](const FieldMap& p) {
    return addClub && intValue(get(p, "PCT_CLBID")) >= 1 ? ", " + get(p, kClubName) : std::string();
  };
  auto longForm = [&](const FieldMap& p) {
    return get(p, "PCT_GNAME") + " " + get(p, "PCT_FNAMEC") + club(p);
  };
  auto shortForm = [&](const FieldMap& p) {
    return get(p, "PCT_GNAMEI") + " " + get(p, "PCT_FNAMEC") + club(p);
  };
  const long long max = maxLength;
  std::string a = longForm(partner1), b = longForm(partner2);
  auto fitsTogether = [&] { return static_cast<long long>(a.size() + b.size()) + 1 <= max; };
  if (!fitsTogether()) {
    a = shortForm(partner1);
    b = shortForm(partner2);
  }
  if (!fitsTogether() && max > 1) {
    const std::size_t room = static_cast<std::size_t>(max - 1);
    std::string& longer = a.size() > b.size() ? a : b;
    std::string& other = a.size() > b.size() ? b : a;
    if (other.size() <= room / 2) {
      longer.resize(room - other.size());
    } else {
      longer.resize(room - room / 2);
      other.resize(room / 2);
    }
  }
  const long long total = static_cast<long long>(a.size() + b.size());
  const char* separator = total + 1 == max ? "/" : total + 2 == max ? "/ " : " / ";
  return a + separator + b;
}

}  // namespace tav
