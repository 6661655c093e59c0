// libFuzzer entry for protocol files (the sample generator's --protocol
// input): the input is parsed as a protocol; when it is accepted, every
// value must keep the promises of protocol_reader.h, and the protocol is
// laid out as a competition (protocol_competition.h), whose every
// performance must name a segment and an entry of it.  A broken promise
// aborts so that the fuzzer keeps the input.
//
// The seeds in corpus/protocol_reader are performances of the ISU Grand Prix
// Final 2017 protocols as structured by BuzzFeed News, licensed CC BY 4.0
// (SOURCE.md there, a copy of tools/sample/protocols/SOURCE.md).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "finding.h"
#include "protocol_competition.h"
#include "protocol_reader.h"

namespace {

using tav::fuzz::require;

void checkText(const std::string& text) {
  require(text.size() <= 200, "a text longer than the limit");
  for (char c : text) require(static_cast<unsigned char>(c) >= 0x20, "a control character");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  tav::sample::Protocol protocol;
  std::string error;
  if (!tav::sample::parseProtocol(text, &protocol, &error)) {
    require(!error.empty(), "a refusal without a reason");
    return 0;
  }
  for (const auto& performance : protocol.performances) {
    require(!performance.name.empty(), "an empty name");
    require(performance.rank >= 1 && performance.startNo >= 1, "a rank or start number below 1");
    checkText(performance.name);
    checkText(performance.program);
    require(performance.elements.size() <= 20 && performance.components.size() <= 10, "too many");
    for (const auto& element : performance.elements) {
      checkText(element.code);
      for (const auto& grade : element.grades) require(!grade || (*grade >= -4 && *grade <= 4), "grade");
    }
    for (const auto& component : performance.components) {
      require(component.factor > 0, "a factor of 0");
      for (const auto& mark : component.marks) require(!mark || (*mark >= 0 && *mark <= 1000), "mark");
    }
  }
  tav::sample::Competition competition;
  tav::sample::ContestResult result;
  if (!tav::sample::protocolCompetition(protocol, "fuzz", &competition, &result, &error)) {
    require(!error.empty(), "a refusal of the layout without a reason");
    return 0;
  }
  require(result.performances.size() == protocol.performances.size(), "a performance lost");
  for (const auto& performance : result.performances) {
    bool found = false;
    for (const auto& category : competition.categories) {
      for (const auto& segment : category.segments) {
        for (const auto& entry : category.entries) {
          found = found || (segment.id == performance.scpId && entry.parId == performance.parId);
        }
      }
    }
    require(found, "a performance outside its category");
    require(result.participants.count(performance.parId) == 1, "an entry without results");
  }
  return 0;
}
