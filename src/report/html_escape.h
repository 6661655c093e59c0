// The one escape for text that comes from the database or from file names
// and goes into a published page.
//
// Pages are pure ASCII: every character outside ASCII is written as an HTML
// character reference of its Unicode code point ("&#233;" for an e with an
// acute accent, "&#8364;" for the euro sign), so a page reads the same
// whatever character set a web server declares or a browser assumes.  Text
// bytes are read as the database's Western code page (Windows-1252).  Text
// that is plain ASCII without markup characters is copied as it is, so such
// pages stay byte for byte what they were.
#ifndef TAVC_REPORT_HTML_ESCAPE_H_
#define TAVC_REPORT_HTML_ESCAPE_H_

#include <string>
#include <string_view>

namespace tav {

// `text` with "&", "<", ">", '"' and "'" replaced by their character
// references, so that it is safe as element content, inside a quoted or
// unquoted attribute value and inside the quoted strings of the index page's
// server script, and with every byte outside ASCII written as the character
// reference of its Windows-1252 character.
std::string htmlEscape(std::string_view text);

// Markup taken over from another program's page (the titles of the "60
// reports"): kept as it is, except that every byte outside ASCII becomes a
// character reference as in htmlEscape.
std::string asciiMarkup(std::string_view markup);

// A file name of the output folder (UTF-8, as the system names it) as the
// value of a quoted link address: markup characters escaped as in
// htmlEscape, bytes outside ASCII percent-encoded, as browsers encode a
// UTF-8 address.
std::string linkAddress(std::string_view fileName);

}  // namespace tav

#endif  // TAVC_REPORT_HTML_ESCAPE_H_
