#include "report/html_writer.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace tav {

void HtmlWriter::startPage() {
  page_.clear();
  indent_ = 0;
  atLineStart_ = true;
}

void HtmlWriter::text(std::string_view a) {
  startText();
  page_.append(a);
}

void HtmlWriter::text(std::string_view a, std::string_view b) {
  startText();
  page_.append(a);
  page_.append(b);
}

void HtmlWriter::text(std::string_view a, std::string_view b, std::string_view c) {
  startText();
  page_.append(a);
  page_.append(b);
  page_.append(c);
}

void HtmlWriter::endLine() {
  page_ += '\n';
  atLineStart_ = true;
}

void HtmlWriter::open(std::string_view tag, std::string_view attr1, std::string_view attr2,
                      LineEnd end) {
  text("<", tag);
  if (!attr1.empty()) text(" ", attr1);
  if (!attr2.empty()) text(attr2);
  text(">");
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
  closeInline(tag);
  endLine();
}

void HtmlWriter::closeInline(std::string_view tag) {
  --indent_;
  text("</", tag, ">");
}

void HtmlWriter::element(std::string_view tag, std::string_view attr,
                         std::string_view content) {
  // open(), text() and close() in one: the pages are mostly such cells.
  startText();
  page_ += '<';
  page_.append(tag);
  if (!attr.empty()) {
    page_ += ' ';
    page_.append(attr);
  }
  page_ += '>';
  page_.append(content);
  page_.append("</", 2);
  page_.append(tag);
  page_.append(">\n", 2);
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
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

NumberText NumberText::integer(long long value) {
  NumberText number;
  const auto result = std::to_chars(number.text_, number.text_ + sizeof number.text_, value);
  number.size_ = static_cast<std::size_t>(result.ptr - number.text_);
  return number;
}

NumberText NumberText::points(long long hundredths) {
  // Exact integer formatting (the pages print many thousands of scores).
  const unsigned long long magnitude =
      hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths)
                     : static_cast<unsigned long long>(hundredths);
  NumberText number;
  char* end = number.text_ + sizeof number.text_;
  char* p = end;
  *--p = static_cast<char>('0' + magnitude % 10);
  *--p = static_cast<char>('0' + magnitude % 100 / 10);
  *--p = '.';
  unsigned long long whole = magnitude / 100;
  do {
    *--p = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  if (hundredths < 0) *--p = '-';
  number.size_ = static_cast<std::size_t>(end - p);
  std::memmove(number.text_, p, number.size_);
  return number;
}

std::string pointsText(long long hundredths) {
  return std::string(NumberText::points(hundredths).view());
}

}  // namespace tav
