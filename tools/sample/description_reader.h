// Reads the description of the sample competition (a line-based text file,
// tools/sample/competition.txt) into a Competition.  Each line starts with a
// keyword; the rest are words, "quoted texts" and key=value options.  The
// reader checks what it can on the way (known keywords and options, numbers,
// references to earlier lines) and names the line of every fault.
#ifndef TAVC_TOOLS_SAMPLE_DESCRIPTION_READER_H_
#define TAVC_TOOLS_SAMPLE_DESCRIPTION_READER_H_

#include <string>
#include <vector>

#include "competition.h"

namespace tav {
namespace sample {

// One word of a description line: a positional value, or key=value.
struct Word {
  std::string key;
  std::string value;
};

// Splits a line into words; '#' outside quotes starts a comment.  False when
// a quote is not closed.
bool splitDescriptionLine(const std::string& line, std::vector<Word>* words);

class DescriptionReader {
 public:
  bool read(const std::string& path, Competition* competition, std::string* error);

 private:
  bool readLine(const std::vector<Word>& words);
  bool readEvent(const std::vector<Word>& words);
  bool readRegister(const std::vector<Word>& words);
  bool readElement(const std::vector<Word>& words);
  bool readPanel(const std::vector<Word>& words);
  bool readTiming(const std::vector<Word>& words);
  bool readProgram(const std::vector<Word>& words);
  bool readCategory(const std::vector<Word>& words);
  bool readSegment(const std::vector<Word>& words);
  bool readEntry(const std::vector<Word>& words);
  bool readSkate(const std::vector<Word>& words);

  // Positional word i, or a fault when missing.
  bool positional(const std::vector<Word>& words, std::size_t i, std::string* value);
  bool number(const std::string& text, int* value);
  bool fixedPoint(const std::string& text, int decimals, int* value);
  bool numberList(const std::string& text, std::vector<int>* values);
  bool keyedNumbers(const std::string& text, std::map<int, int>* values);
  bool fail(const std::string& reason);

  Competition* competition_ = nullptr;
  int line_ = 0;
  std::string error_;
};

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_DESCRIPTION_READER_H_
