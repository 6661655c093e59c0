#include "report/json_writer.h"

#include "report/html_writer.h"

namespace tav {
namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// The length of the UTF-8 sequence at `i`, 0 when there is none.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  char32_t c = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  const char32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = sequenceLength(text, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      const char hex[] = "0123456789abcdef";
      out += "\\u00";
      out += hex[c >> 4];
      out += hex[c & 0xF];
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out + "\"";
}

void JsonWriter::newLine() {
  out_ += '\n';
  out_.append(2 * levels_.size(), ' ');
}

void JsonWriter::beforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (!level.empty) out_ += level.inlined ? ", " : ",";
  if (!level.inlined) newLine();
  level.empty = false;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  beforeValue();
  out_ += jsonString(name);
  out_ += ": ";
  afterKey_ = true;
  return *this;
}

void JsonWriter::beginObject(bool inlined) {
  beforeValue();
  out_ += '{';
  levels_.push_back(Level{inlined, true});
}

void JsonWriter::endObject() {
  const Level level = levels_.back();
  levels_.pop_back();
  if (!level.empty && !level.inlined) newLine();
  out_ += '}';
}

void JsonWriter::beginArray(bool inlined) {
  beforeValue();
  out_ += '[';
  levels_.push_back(Level{inlined, true});
}

void JsonWriter::endArray() {
  const Level level = levels_.back();
  levels_.pop_back();
  if (!level.empty && !level.inlined) newLine();
  out_ += ']';
}

void JsonWriter::text(std::string_view stored) {
  beforeValue();
  out_ += jsonString(decode_ ? decode_(stored) : std::string(stored));
}

void JsonWriter::points(long long hundredths) {
  beforeValue();
  out_ += NumberText::points(hundredths).view();
}

void JsonWriter::integer(long long value) {
  beforeValue();
  out_ += std::to_string(value);
}

void JsonWriter::boolean(bool value) {
  beforeValue();
  out_ += value ? "true" : "false";
}

void JsonWriter::null() {
  beforeValue();
  out_ += "null";
}

std::string JsonWriter::finish() {
  out_ += '\n';
  return std::move(out_);
}

}  // namespace tav
