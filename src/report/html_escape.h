// The one escape for text that comes from the database or from file names
// and goes into a published page.
#ifndef TAVC_REPORT_HTML_ESCAPE_H_
#define TAVC_REPORT_HTML_ESCAPE_H_

#include <string>
#include <string_view>

namespace tav {

// `text` with "&", "<", ">", '"' and "'" replaced by their character
// references, so that it is safe as element content, inside a quoted or
// unquoted attribute value and inside the quoted strings of the index page's
// server script.  Every other byte is kept as it is (table text stays in the
// table's code page).
std::string htmlEscape(std::string_view text);

}  // namespace tav

#endif  // TAVC_REPORT_HTML_ESCAPE_H_
