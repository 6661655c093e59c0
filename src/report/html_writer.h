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
//
// A details page holds some ten thousand cells, so the page is a plain
// growing buffer (kept from page to page) and every call makes room once
// for all its pieces and copies them in, instead of one append per piece.
#ifndef TAVC_REPORT_HTML_WRITER_H_
#define TAVC_REPORT_HTML_WRITER_H_

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace tav {

class HtmlWriter {
 public:
  enum LineEnd { kSameLine, kEndLine };

  // Starts an empty page: indent level 0, at the start of a line.
  void startPage();
  std::string_view page() const { return std::string_view(page_.get(), size_); }

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
  // Room for `n` more bytes plus the indentation a text at the line start
  // takes; returns where the next byte goes, after that indentation.
  char* room(std::size_t n) {
    // A negative level (a page that closes more than it opened) writes none.
    const std::size_t indent =
        atLineStart_ && indent_ > 0 ? static_cast<std::size_t>(indent_) * 2 : 0;
    if (capacity_ - size_ < n + indent) grow(n + indent);
    char* at = page_.get() + size_;
    if (indent != 0) {
      std::memset(at, ' ', indent);
      at += indent;
    }
    atLineStart_ = false;
    return at;
  }
  static char* put(char* at, std::string_view piece) {
    // An empty view may have no data at all, which memcpy must not see.
    if (!piece.empty()) std::memcpy(at, piece.data(), piece.size());
    return at + piece.size();
  }
  void done(char* at) { size_ = static_cast<std::size_t>(at - page_.get()); }
  void grow(std::size_t more);

  std::unique_ptr<char[]> page_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  int indent_ = 0;
  bool atLineStart_ = true;
};

// A number's decimal text held on the stack, for cells written by the
// thousand: no string is allocated per cell.
class NumberText {
 public:
  // An integer ("12", "-3").
  static NumberText integer(long long value);
  // Hundredths of a point as points with two decimals (16874 gives "168.74").
  static NumberText points(long long hundredths);
  // A number in fixed notation with `decimals` decimals, as "%.*f" writes
  // it; empty when that is wider than 23 characters (fixedNumber() writes
  // any width).
  static NumberText fixed(double value, int decimals);

  std::string_view view() const { return std::string_view(text_, size_); }
  operator std::string_view() const { return view(); }

 private:
  char text_[24];
  std::size_t size_ = 0;
};

// A number in fixed notation with `decimals` decimals ("168.74").
std::string fixedNumber(double value, int decimals);
// Hundredths of a point as points with two decimals (16874 gives "168.74").
std::string pointsText(long long hundredths);

}  // namespace tav

#endif  // TAVC_REPORT_HTML_WRITER_H_
