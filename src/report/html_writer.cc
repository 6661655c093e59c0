#include "report/html_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tav {

void HtmlWriter::startPage() {
  size_ = 0;
  indent_ = 0;
  atLineStart_ = true;
}

void HtmlWriter::grow(std::size_t more) {
  // Doubling: a page of any size costs a few copies of itself at most.
  const std::size_t capacity =
      std::max(capacity_ * 2, std::max(size_ + more, std::size_t{1} << 16));
  std::unique_ptr<char[]> page(new char[capacity]);
  if (size_ != 0) std::memcpy(page.get(), page_.get(), size_);
  page_ = std::move(page);
  capacity_ = capacity;
}

void HtmlWriter::text(std::string_view a) { done(put(room(a.size()), a)); }

void HtmlWriter::text(std::string_view a, std::string_view b) {
  done(put(put(room(a.size() + b.size()), a), b));
}

void HtmlWriter::text(std::string_view a, std::string_view b, std::string_view c) {
  done(put(put(put(room(a.size() + b.size() + c.size()), a), b), c));
}

void HtmlWriter::endLine() {
  if (capacity_ == size_) grow(1);
  page_[size_++] = '\n';
  atLineStart_ = true;
}

void HtmlWriter::open(std::string_view tag, std::string_view attr1, std::string_view attr2,
                      LineEnd end) {
  // "<" tag [" " attr1] [attr2] ">"
  char* at = room(tag.size() + attr1.size() + attr2.size() + 3);
  *at++ = '<';
  at = put(at, tag);
  if (!attr1.empty()) {
    *at++ = ' ';
    at = put(at, attr1);
  }
  at = put(at, attr2);
  *at++ = '>';
  done(at);
  ++indent_;
  if (end == kEndLine) endLine();
}

void HtmlWriter::openWithNumber(std::string_view tag, std::string_view attr1,
                                std::string_view attr2, std::string_view attr3, int number,
                                LineEnd end) {
  text("<", tag);
  if (!attr1.empty()) text(" ", attr1);
  if (!attr2.empty()) text(attr2);
  if (!attr3.empty()) text(" ", attr3);
  text(NumberText::integer(number), ">");
  ++indent_;
  if (end == kEndLine) endLine();
}

void HtmlWriter::close(std::string_view tag) {
  --indent_;
  // "</" tag ">" and the line end.
  char* at = room(tag.size() + 4);
  *at++ = '<';
  *at++ = '/';
  at = put(at, tag);
  *at++ = '>';
  *at++ = '\n';
  done(at);
  atLineStart_ = true;
}

void HtmlWriter::closeInline(std::string_view tag) {
  --indent_;
  text("</", tag, ">");
}

void HtmlWriter::element(std::string_view tag, std::string_view attr,
                         std::string_view content) {
  // open(), text() and close() in one: the pages are mostly such cells.
  // "<" tag [" " attr] ">" content "</" tag ">" and the line end.
  char* at = room(2 * tag.size() + attr.size() + content.size() + 7);
  *at++ = '<';
  at = put(at, tag);
  if (!attr.empty()) {
    *at++ = ' ';
    at = put(at, attr);
  }
  *at++ = '>';
  at = put(at, content);
  *at++ = '<';
  *at++ = '/';
  at = put(at, tag);
  *at++ = '>';
  *at++ = '\n';
  done(at);
  atLineStart_ = true;
}

void HtmlWriter::elementInt(std::string_view tag, std::string_view attr, long long value) {
  element(tag, attr, NumberText::integer(value));
}

void HtmlWriter::elementNumber(std::string_view tag, std::string_view attr, double value,
                               int decimals) {
  element(tag, attr, fixedNumber(value, decimals));
}

void HtmlWriter::comment(std::string_view content) {
  text("<!-- ", content, " -->");
  endLine();
}

std::string fixedNumber(double value, int decimals) {
  const NumberText text = NumberText::fixed(value, decimals);
  if (!text.view().empty()) return std::string(text.view());
  char buffer[400];  // a double has at most 309 digits before the point
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

NumberText NumberText::integer(long long value) {
  NumberText number;
  const auto result = std::to_chars(number.text_, number.text_ + sizeof number.text_, value);
  number.size_ = static_cast<std::size_t>(result.ptr - number.text_);
  return number;
}

namespace {

// The decimal text of `magnitude` with a point before its last `decimals`
// digits (at least one digit before the point), and a minus sign when
// `negative`; written backwards from `end`, returning the first character.
char* decimalText(unsigned long long magnitude, int decimals, bool negative, char* end) {
  char* p = end;
  for (int i = 0; i < decimals; ++i) {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  if (decimals > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--p = '-';
  return p;
}

}  // namespace

NumberText NumberText::points(long long hundredths) {
  // Exact integer formatting (the pages print many thousands of scores).
  const unsigned long long magnitude =
      hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths)
                     : static_cast<unsigned long long>(hundredths);
  NumberText number;
  char* end = number.text_ + sizeof number.text_;
  char* p = decimalText(magnitude, 2, hundredths < 0, end);
  number.size_ = static_cast<std::size_t>(end - p);
  std::memmove(number.text_, p, number.size_);
  return number;
}

NumberText NumberText::fixed(double value, int decimals) {
  // Scores are stored with at most their printed decimals, so the value
  // times 10^decimals is nearly always within a hair of a whole number; that
  // number is then the correctly rounded result and is written exactly.
  // Anything else (a value halfway between, a negative zero, a huge or
  // non-finite value) goes through snprintf, which rounds the binary value.
  static const double kScale[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
  NumberText number;
  if (decimals >= 0 && decimals <= 6) {
    const double scaled = value * kScale[decimals];
    const double nearest = std::nearbyint(scaled);
    if (std::fabs(scaled) < 1e15 && std::fabs(scaled - nearest) < 1e-6 &&
        !(nearest == 0 && std::signbit(value))) {
      const long long whole = static_cast<long long>(nearest);
      const unsigned long long magnitude =
          whole < 0 ? 0ULL - static_cast<unsigned long long>(whole)
                    : static_cast<unsigned long long>(whole);
      char* end = number.text_ + sizeof number.text_;
      char* p = decimalText(magnitude, decimals, whole < 0, end);
      number.size_ = static_cast<std::size_t>(end - p);
      std::memmove(number.text_, p, number.size_);
      return number;
    }
  }
  const int size = std::snprintf(number.text_, sizeof number.text_, "%.*f", decimals, value);
  // Wider than the stack text (never a score): empty.
  const bool fits = size >= 0 && static_cast<std::size_t>(size) < sizeof number.text_;
  number.size_ = fits ? static_cast<std::size_t>(size) : 0;
  return number;
}

std::string pointsText(long long hundredths) {
  return std::string(NumberText::points(hundredths).view());
}

}  // namespace tav
