// Local date and time formatted by a small, locale-independent pattern
// language (used for the time stamps of generated pages).
#ifndef TAVC_BASE_LOCAL_TIME_H_
#define TAVC_BASE_LOCAL_TIME_H_

#include <ctime>
#include <string>

namespace tav {

// The machine's current local time formatted by `pattern`.
std::string getSystemLocalTime(const std::string& pattern);

// The same formatting for a given broken-down time and time-zone name, so
// that it can be tested without a clock.
std::string formatLocalTime(const std::string& pattern, const std::tm& when,
                            const std::string& zoneName);

}  // namespace tav

#endif  // TAVC_BASE_LOCAL_TIME_H_
