#include "report/html_writer.h"

#include <cstdio>

namespace tav {

void HtmlWriter::startPage() {
  page_.clear();
  indent_ = 0;
  atLineStart_ = true;
}

void HtmlWriter::startText() {
  if (!atLineStart_) return;
  // A negative level (a page that closes more than it opened) writes none.
  if (indent_ > 0) page_.append(static_cast<std::size_t>(indent_) * 2, ' ');
  atLineStart_ = false;
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
  text(std::to_string(number), ">");
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
  open(tag, attr);
  text(content);
  close(tag);
}

void HtmlWriter::elementInt(std::string_view tag, std::string_view attr, long long value) {
  element(tag, attr, std::to_string(value));
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

std::string pointsText(long long hundredths) {
  // Exact integer formatting (the pages print many thousands of scores).
  const unsigned long long magnitude =
      hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths)
                     : static_cast<unsigned long long>(hundredths);
  std::string text = hundredths < 0 ? "-" : "";
  text += std::to_string(magnitude / 100);
  text += '.';
  text += static_cast<char>('0' + magnitude % 100 / 10);
  text += static_cast<char>('0' + magnitude % 10);
  return text;
}

}  // namespace tav
