// HtmlWriter builds one page of the results site in memory: elements,
// text, comments and line ends, with the page's indentation (two blanks per
// open element at the start of each line).
//
// The writer never escapes: what it is given is written as it is.  Callers
// pass database text through htmlEscape() first and fixed markup ("<BR>",
// "&nbsp;", tags) directly.  Attribute values are written without quotes.
//
// `startPage()` empties the page and resets the indentation and the
// line-start state, so that the bytes of a page never depend on the pages
// written before it.  The finished page is handed to PageFile as a whole.
#ifndef TAVC_REPORT_HTML_WRITER_H_
#define TAVC_REPORT_HTML_WRITER_H_

#include <string>
#include <string_view>

namespace tav {

class HtmlWriter {
 public:
  enum LineEnd { kSameLine, kEndLine };

  // Starts an empty page: indent level 0, at the start of a line.
  void startPage();
  const std::string& page() const { return page_; }

  // Text, in one to three pieces.
  void text(std::string_view a);
  void text(std::string_view a, std::string_view b);
  void text(std::string_view a, std::string_view b, std::string_view c);
  // A whole line at the current indentation.
  void line(std::string_view a) { text(a); endLine(); }
  void endLine();

  // "<tag", [" " attr1], [attr2], ">"; one level deeper.
  void open(std::string_view tag, std::string_view attr1 = {}, std::string_view attr2 = {},
            LineEnd end = kSameLine);
  void openLine(std::string_view tag, std::string_view attr1 = {}, std::string_view attr2 = {}) {
    open(tag, attr1, attr2, kEndLine);
  }
  // The extended form: "<tag", [" " attr1], [attr2], [" " attr3], number, ">"
  // (used for "ROWSPAN=" and a count).
  void openWithNumber(std::string_view tag, std::string_view attr1, std::string_view attr2,
                      std::string_view attr3, int number, LineEnd end);
  // One level up, then "</tag>" and a line end.
  void close(std::string_view tag);
  // One level up, then "</tag>" on the same line (anchors).
  void closeInline(std::string_view tag);

  // open (same line), text, close.
  void element(std::string_view tag, std::string_view attr, std::string_view content);
  void element(std::string_view tag, std::string_view content) { element(tag, {}, content); }
  void elementInt(std::string_view tag, std::string_view attr, long long value);
  // A number in fixed notation with `decimals` decimals.
  void elementNumber(std::string_view tag, std::string_view attr, double value, int decimals);
  // "<!-- text -->" and a line end.
  void comment(std::string_view content);

  int indent() const { return indent_; }
  // Moves the indentation without an element (the lines of a style rule).
  void deeper(int levels) { indent_ += levels; }

 private:
  void startText();

  std::string page_;
  int indent_ = 0;
  bool atLineStart_ = true;
};

// A number in fixed notation with `decimals` decimals ("168.74").
std::string fixedNumber(double value, int decimals);
// Hundredths of a point as points with two decimals (16874 gives "168.74").
std::string pointsText(long long hundredths);

}  // namespace tav

#endif  // TAVC_REPORT_HTML_WRITER_H_
