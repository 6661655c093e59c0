// libFuzzer entry for protocol files (the sample generator's --protocol
// input): the input is parsed as a protocol; when it is accepted, every
// value must keep the promises of protocol_reader.h.  A broken promise
// aborts so that the fuzzer keeps the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "protocol_reader.h"

namespace {

void require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
  }
}

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
  return 0;
}
