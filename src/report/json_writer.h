// JsonWriter builds the text of one JSON document: objects, arrays, member
// names, texts, numbers in hundredths written with two decimals (the stored
// precision of every score), whole numbers, booleans and null.  Objects and
// arrays are laid out one member per line, except those begun as inlined,
// which stay on one line (the small records of which a document has many).
//
// Every text is stored bytes of the database: it is converted to UTF-8 by
// the decoder the writer is given, any byte sequence that is still not UTF-8
// becomes U+FFFD, and quotes, backslashes and control characters are
// escaped, so no stored text can end a string or the document.
#ifndef TAVC_REPORT_JSON_WRITER_H_
#define TAVC_REPORT_JSON_WRITER_H_

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tav {

// Converts stored text to UTF-8.
using TextDecoder = std::function<std::string(std::string_view)>;

// `text` with every sequence that is not UTF-8 replaced by U+FFFD, quoted
// and escaped as a JSON string.
std::string jsonString(std::string_view text);

class JsonWriter {
 public:
  explicit JsonWriter(TextDecoder decode) : decode_(std::move(decode)) {}

  // `inlined`: the members or elements are written on one line.
  void beginObject(bool inlined = false);
  void endObject();
  void beginArray(bool inlined = false);
  void endArray();
  // The name of the next member (a name of this program, not stored text).
  JsonWriter& key(std::string_view name);
  void text(std::string_view stored);
  void points(long long hundredths);
  void integer(long long value);
  void boolean(bool value);
  void null();

  // The document, with a final line end; the writer is empty afterwards.
  std::string finish();

 private:
  void beforeValue();
  void newLine();

  struct Level {
    bool inlined = false;
    bool empty = true;
  };
  TextDecoder decode_;
  std::string out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};

}  // namespace tav

#endif  // TAVC_REPORT_JSON_WRITER_H_
