// Reads a protocol file: the judges' protocols of a competition as a JSON
// object with "performances", each with its "metadata" (program, name,
// nation, rank, starting number and totals as text), its executed
// "elements" and its program "components" with every judge's grade or mark
// (tools/sample/protocols/SOURCE.md describes the form).  Missing values are
// written as the bare word NaN, which is not JSON: the reader takes every
// NaN outside a string as absent.
//
// Scores become hundredths of a point; a score with more than two decimals,
// a grade that is not a whole number in -4..4, a text that is too long or
// holds control characters, or a count beyond what a database can hold is a
// fault of the file, reported with the performance and field it is in.
#ifndef TAVC_TOOLS_SAMPLE_PROTOCOL_READER_H_
#define TAVC_TOOLS_SAMPLE_PROTOCOL_READER_H_

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tav {
namespace sample {

constexpr int kProtocolJudges = 10;     // J1..J10
constexpr int kProtocolElements = 20;   // executed elements a performance can hold
constexpr int kProtocolComponents = 10;

struct ProtocolElement {
  int number = 0;
  std::string code, info;  // as called ("3Lz+3T"), and its information mark ("<", "e", ...)
  bool secondHalf = false; // base value credited for the second half ("x")
  int baseValue = 0, goe = 0, score = 0;  // hundredths
  std::array<std::optional<int>, kProtocolJudges> grades;  // whole grades of execution
};

struct ProtocolComponent {
  std::string name;
  int factor = 0;  // hundredths
  std::array<std::optional<int>, kProtocolJudges> marks;  // hundredths
  int score = 0;   // the panel's mark, hundredths
};

struct ProtocolPerformance {
  std::string competition, program, name, nation;
  int rank = 0, startNo = 0;
  int segmentScore = 0, elementScore = 0, componentScore = 0, deductions = 0;  // hundredths
  std::vector<ProtocolElement> elements;
  std::vector<ProtocolComponent> components;
};

struct Protocol {
  std::vector<ProtocolPerformance> performances;
};

// `text` with every bare NaN outside a string replaced by null.
std::string nanToNull(const std::string& text);

// Parses protocol text; false with the first fault.
bool parseProtocol(const std::string& text, Protocol* protocol, std::string* error);
// Reads and parses a protocol file.
bool readProtocol(const std::string& path, Protocol* protocol, std::string* error);

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_PROTOCOL_READER_H_
