#include "register_names.h"

#include <cstdint>
#include <vector>

namespace tav {
namespace sample {
namespace {

std::vector<std::uint32_t> decode(const std::string& utf8) {
  std::vector<std::uint32_t> points;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : 3;
    std::uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    points.push_back(cp);
    i += extra + 1;
  }
  return points;
}

std::string encode(const std::vector<std::uint32_t>& points) {
  std::string out;
  for (std::uint32_t cp : points) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::size_t textLength(const std::string& utf8) { return decode(utf8).size(); }

std::string textPrefix(const std::string& utf8, std::size_t count) {
  std::vector<std::uint32_t> points = decode(utf8);
  if (points.size() > count) points.resize(count);
  return encode(points);
}

std::string upperText(const std::string& utf8) {
  std::vector<std::uint32_t> points = decode(utf8);
  for (std::uint32_t& cp : points) {
    if ((cp >= 'a' && cp <= 'z') || (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)) cp -= 0x20;
  }
  return encode(points);
}

std::size_t RegisterNames::width(const std::string& field) const {
  return static_cast<std::size_t>(pct_.fields[pct_.index.at(field)].length);
}

std::string RegisterNames::cut(const std::string& field, const std::string& text) const {
  return textPrefix(text, width(field));
}

std::string RegisterNames::fit(const std::string& field, const std::string& full,
                               const std::string& initial, const std::string& family) const {
  if (textLength(full) <= width(field)) return full;
  if (textLength(initial) <= width(field)) return initial;
  return cut(field, family);
}

// Two names joined by "/", "/ " or " / " so that they fill the field; the
// short forms are used when the long ones do not fit, and the longer of the
// two is cut when even those are too long.
std::string RegisterNames::joinPair(const std::string& field, const std::string& a,
                                    const std::string& b, const std::string& shortA,
                                    const std::string& shortB) const {
  const std::size_t w = width(field);
  std::string first = a, second = b;
  if (textLength(first) + textLength(second) + 1 > w) {
    first = shortA;
    second = shortB;
  }
  while (textLength(first) + textLength(second) + 1 > w) {
    std::string& longer = textLength(first) > textLength(second) ? first : second;
    longer = textPrefix(longer, textLength(longer) - 1);
  }
  const std::size_t both = textLength(first) + textLength(second);
  const std::string separator = both + 1 == w ? "/" : both + 2 == w ? "/ " : " / ";
  return first + separator + second;
}

std::map<std::string, std::string> RegisterNames::person(const RegisterEntry& person,
                                                         const std::string& suffix) const {
  std::map<std::string, std::string> f;
  const std::string familyC = upperText(person.family);
  const std::string initial = person.given.empty() ? "" : textPrefix(person.given, 1) + ".";
  const std::string full = person.given + " " + familyC;
  const std::string initialForm = initial + " " + familyC;
  f["PCT_GNAME"] = person.given;
  f["PCT_FNAME"] = person.family;
  f["PCT_FNAMEC"] = familyC;
  f["PCT_GNAMEI"] = initial;
  for (const char* field : {"PCT_CNAME", "PCT_PSNAME", "PCT_TLNAME", "PCT_TSNAME", "PCT_S1NAME",
                            "PCT_S2NAME", "PCT_S3NAME", "PCT_S4NAME"}) {
    f[field] = fit(field, full, initialForm, familyC);
  }
  f["PCT_SNAME"] = textPrefix(person.family, 4) + textPrefix(person.given, 4);
  if (!suffix.empty() && suffix != "Undefined") {
    f["PCT_PLNAME"] = fit("PCT_PLNAME", full + ", " + suffix, initialForm + ", " + suffix,
                          familyC + ", " + suffix);
  } else {
    f["PCT_PLNAME"] = fit("PCT_PLNAME", full, initialForm, familyC);
  }
  f["PCT_INAME"] = cut("PCT_INAME", initialForm);
  f["PCT_RNAME"] = cut("PCT_RNAME", familyC + " " + person.given);
  f["PCT_WFNAME"] = person.family;
  f["PCT_WGNAME"] = person.given;
  return f;
}

std::map<std::string, std::string> RegisterNames::couple(const RegisterEntry& first,
                                                         const RegisterEntry& second,
                                                         const std::string& firstClub,
                                                         const std::string& secondClub) const {
  std::map<std::string, std::string> f = person(first, "");
  const std::string firstC = upperText(first.family), secondC = upperText(second.family);
  const std::string firstLong = first.given + " " + firstC;
  const std::string secondLong = second.given + " " + secondC;
  const std::string firstShort = textPrefix(first.given, 1) + ". " + firstC;
  const std::string secondShort = textPrefix(second.given, 1) + ". " + secondC;
  f["PCT_CNAME"] = joinPair("PCT_CNAME", firstLong, secondLong, firstShort, secondShort);
  for (const char* field : {"PCT_PSNAME", "PCT_TLNAME", "PCT_TSNAME", "PCT_S1NAME", "PCT_S2NAME",
                            "PCT_S3NAME", "PCT_S4NAME", "PCT_RNAME"}) {
    f[field] = joinPair(field, firstLong, secondLong, firstC, secondC);
  }
  const auto withClub = [](const std::string& name, const std::string& club) {
    return club.empty() ? name : name + ", " + club;
  };
  f["PCT_PLNAME"] = joinPair("PCT_PLNAME", withClub(firstLong, firstClub),
                             withClub(secondLong, secondClub), withClub(firstShort, firstClub),
                             withClub(secondShort, secondClub));
  f["PCT_INAME"] = joinPair("PCT_INAME", firstShort, secondShort, firstC, secondC);
  f["PCT_CSNAM"] = firstC + "/" + secondC;
  f["PCT_PGNAME"] = second.given;
  f["PCT_PFNAMC"] = secondC;
  return f;
}

std::map<std::string, std::string> RegisterNames::named(const std::string& name,
                                                        const std::string& club,
                                                        bool isClub) const {
  std::map<std::string, std::string> f;
  for (const char* field : {"PCT_CNAME", "PCT_PSNAME", "PCT_TLNAME", "PCT_TSNAME", "PCT_S1NAME",
                            "PCT_S2NAME", "PCT_S3NAME", "PCT_S4NAME", "PCT_INAME", "PCT_RNAME"}) {
    f[field] = cut(field, name);
  }
  f["PCT_SNAME"] = isClub ? cut("PCT_SNAME", upperText(name)) : textPrefix(name, 8);
  f["PCT_PLNAME"] = cut("PCT_PLNAME", club.empty() ? name : name + ", " + club);
  return f;
}

}  // namespace sample
}  // namespace tav
