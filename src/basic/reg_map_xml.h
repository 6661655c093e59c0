// Text for the registration map's XML attributes.
#ifndef TAVC_BASIC_REG_MAP_XML_H_
#define TAVC_BASIC_REG_MAP_XML_H_

#include <string>
#include <string_view>

namespace tav {

// `text` made safe for a double-quoted XML attribute: & < > " escaped, tab
// written as &#9;, and the other control characters, which XML 1.0 cannot
// carry at all, left out.
std::string xmlAttributeText(std::string_view text);

}  // namespace tav

#endif  // TAVC_BASIC_REG_MAP_XML_H_
