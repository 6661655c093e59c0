#include "protocol_reader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

namespace tav {
namespace sample {
namespace {

using Json = nlohmann::json;

constexpr std::size_t kMaxText = 200;     // bytes of one text
constexpr std::size_t kMaxPerformances = 10000;
constexpr int kMaxDepth = 16;             // the form nests four deep
constexpr double kMaxPoints = 100000.0;

bool isWordByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Reads one performance; every fault names the performance and the field.
class PerformanceReader {
 public:
  PerformanceReader(const Json& value, std::size_t index) : value_(value), index_(index) {}

  bool read(ProtocolPerformance* performance, std::string* error) {
    if (!readInto(performance)) {
      *error = "performance " + std::to_string(index_ + 1) + ": " + fault_;
      return false;
    }
    return true;
  }

 private:
  bool fail(const std::string& where, const std::string& what) {
    fault_ = where + ": " + what;
    return false;
  }

  // An object member; absent and null give nullptr.
  static const Json* member(const Json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end() || found->is_null()) return nullptr;
    return &*found;
  }

  bool text(const Json& object, const char* name, bool required, std::string* value) {
    const Json* found = member(object, name);
    if (found == nullptr) return !required || fail(name, "missing");
    if (!found->is_string()) return fail(name, "not a text");
    *value = found->get<std::string>();
    if (value->size() > kMaxText) return fail(name, "longer than " + std::to_string(kMaxText) + " bytes");
    for (char c : *value) {
      if (static_cast<unsigned char>(c) < 0x20) return fail(name, "holds a control character");
    }
    return true;
  }

  // Points with at most two decimals, as hundredths.
  bool hundredths(double points, const std::string& where, int* value) {
    if (!std::isfinite(points) || std::fabs(points) > kMaxPoints) return fail(where, "out of range");
    const double scaled = points * 100.0;
    const double whole = std::round(scaled);
    if (std::fabs(scaled - whole) > 1e-6) return fail(where, "has more than two decimals");
    *value = static_cast<int>(whole);
    return true;
  }

  // A number, or a text holding one ("60.81"), as hundredths.
  bool points(const Json& object, const char* name, bool required, std::optional<int>* value) {
    const Json* found = member(object, name);
    value->reset();
    if (found == nullptr) return !required || fail(name, "missing");
    double number = 0;
    if (found->is_number()) {
      number = found->get<double>();
    } else if (found->is_string()) {
      const std::string text = found->get<std::string>();
      std::size_t used = 0;
      try {
        number = std::stod(text, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (text.empty() || used != text.size() || std::isspace(static_cast<unsigned char>(text[0]))) {
        return fail(name, "not a number");
      }
    } else {
      return fail(name, "not a number");
    }
    int result = 0;
    if (!hundredths(number, name, &result)) return false;
    *value = result;
    return true;
  }

  bool requiredPoints(const Json& object, const char* name, int* value) {
    std::optional<int> found;
    if (!points(object, name, true, &found)) return false;
    *value = *found;
    return true;
  }

  // A whole number from 1 to `limit` (given as a number or as text).
  bool whole(const Json& object, const char* name, int limit, int* value) {
    std::optional<int> found;
    if (!points(object, name, true, &found)) return false;
    if (*found % 100 != 0 || *found < 100 || *found > limit * 100) {
      return fail(name, "not a whole number from 1 to " + std::to_string(limit));
    }
    *value = *found / 100;
    return true;
  }

  bool readInto(ProtocolPerformance* performance) {
    if (!value_.is_object()) return fail("performance", "not an object");
    const Json* metadata = member(value_, "metadata");
    if (metadata == nullptr || !metadata->is_object()) return fail("metadata", "missing");
    if (!text(*metadata, "competition", false, &performance->competition) ||
        !text(*metadata, "program", true, &performance->program) ||
        !text(*metadata, "name", true, &performance->name) ||
        !text(*metadata, "nation", false, &performance->nation) ||
        !whole(*metadata, "rank", 999, &performance->rank) ||
        !whole(*metadata, "starting_number", 999, &performance->startNo) ||
        !requiredPoints(*metadata, "total_segment_score", &performance->segmentScore) ||
        !requiredPoints(*metadata, "total_element_score", &performance->elementScore) ||
        !requiredPoints(*metadata, "total_component_score", &performance->componentScore) ||
        !requiredPoints(*metadata, "total_deductions", &performance->deductions)) {
      return false;
    }
    if (performance->name.empty()) return fail("name", "empty");
    return readElements(performance) && readComponents(performance);
  }

  // A list member of the performance (absent: empty); nullptr with a fault.
  const Json* list(const char* name, std::size_t limit) {
    const Json* found = member(value_, name);
    if (found == nullptr) return &empty_;
    if (!found->is_array() || found->size() > limit) {
      fail(name, found->is_array() ? "more than " + std::to_string(limit) : "not a list");
      return nullptr;
    }
    return found;
  }

  // J1..J10 of an element or component; absent or null: no grade.
  bool judges(const Json& object, bool grades, std::array<std::optional<int>, kProtocolJudges>* values) {
    for (int j = 0; j < kProtocolJudges; ++j) {
      const std::string name = "J" + std::to_string(j + 1);
      std::optional<int> value;
      if (!points(object, name.c_str(), false, &value)) return false;
      if (value && grades) {
        if (*value % 100 != 0 || *value < -400 || *value > 400) {
          return fail(name, "not a whole grade from -4 to 4");
        }
        *value /= 100;
      }
      if (value && !grades && (*value < 0 || *value > 1000)) return fail(name, "not a mark from 0 to 10");
      (*values)[j] = value;
    }
    return true;
  }

  bool readElements(ProtocolPerformance* performance) {
    const Json* elements = list("elements", kProtocolElements);
    if (elements == nullptr) return false;
    for (const Json& item : *elements) {
      if (!item.is_object()) return fail("elements", "not an object");
      ProtocolElement element;
      std::string credit;
      if (!whole(item, "element_num", kProtocolElements, &element.number) ||
          !text(item, "element_desc", true, &element.code) ||
          !text(item, "info_flag", false, &element.info) ||
          !text(item, "credit_flag", false, &credit) ||
          !requiredPoints(item, "base_value", &element.baseValue) ||
          !requiredPoints(item, "goe", &element.goe) ||
          !requiredPoints(item, "scores_of_panel", &element.score) ||
          !judges(item, true, &element.grades)) {
        return false;
      }
      if (credit != "" && credit != "x" && credit != "X") return fail("credit_flag", "neither x nor absent");
      element.secondHalf = !credit.empty();
      performance->elements.push_back(element);
    }
    return true;
  }

  bool readComponents(ProtocolPerformance* performance) {
    const Json* components = list("components", kProtocolComponents);
    if (components == nullptr) return false;
    for (const Json& item : *components) {
      if (!item.is_object()) return fail("components", "not an object");
      ProtocolComponent component;
      if (!text(item, "component_desc", true, &component.name) ||
          !requiredPoints(item, "factor", &component.factor) ||
          !requiredPoints(item, "scores_of_panel", &component.score) ||
          !judges(item, false, &component.marks)) {
        return false;
      }
      if (component.factor <= 0 || component.factor > 1000) return fail("factor", "not from 0.01 to 10");
      performance->components.push_back(component);
    }
    return true;
  }

  const Json& value_;
  std::size_t index_;
  const Json empty_ = Json::array();
  std::string fault_;
};

// The nesting depth of JSON text, counted outside strings.
int depthOf(const std::string& text) {
  int depth = 0, deepest = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

}  // namespace

std::string nanToNull(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      out += c;
      if (c == '\\' && i + 1 < text.size()) {
        out += text[++i];
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    if (c == '"') inString = true;
    const bool wordStart = i == 0 || !isWordByte(text[i - 1]);
    if (wordStart && text.compare(i, 3, "NaN") == 0 &&
        (i + 3 == text.size() || !isWordByte(text[i + 3]))) {
      out += "null";
      i += 2;
      continue;
    }
    out += c;
  }
  return out;
}

bool parseProtocol(const std::string& text, Protocol* protocol, std::string* error) {
  protocol->performances.clear();
  if (depthOf(text) > kMaxDepth) {
    *error = "nested deeper than a protocol file";
    return false;
  }
  const Json document = Json::parse(nanToNull(text), nullptr, false);
  if (document.is_discarded()) {
    *error = "not JSON (with NaN for absent values)";
    return false;
  }
  const auto performances = document.is_object() ? document.find("performances") : document.end();
  if (!document.is_object() || performances == document.end() || !performances->is_array()) {
    *error = "no list of performances";
    return false;
  }
  if (performances->size() > kMaxPerformances) {
    *error = "more than " + std::to_string(kMaxPerformances) + " performances";
    return false;
  }
  for (std::size_t i = 0; i < performances->size(); ++i) {
    ProtocolPerformance performance;
    if (!PerformanceReader((*performances)[i], i).read(&performance, error)) return false;
    protocol->performances.push_back(std::move(performance));
  }
  return true;
}

bool readProtocol(const std::string& path, Protocol* protocol, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  if (!parseProtocol(text.str(), protocol, error)) {
    *error = path + ": " + *error;
    return false;
  }
  return true;
}

}  // namespace sample
}  // namespace tav
