// The one log of Marlowick: each line is the local time, a space and the message, printed to
// standard output and appended to "Library/Logs/Marlowick/marlowick.log" under the home folder.
#pragma once

#include <string>
#include <string_view>

namespace marlowick {

// Writes one line. Never fails towards the caller; without a log file, standard output still
// gets the line. The message is written as given: callers escape untrusted parts of it first.
void log(std::string_view message);

// Makes text that came from another process safe to put into a log line: a line feed becomes
// "\n", every other control character "\u{…}" (its code point in hex), malformed UTF-8 becomes
// U+FFFD, and text past kUntrustedTextLimit characters is cut and ends with "…".
std::string escapeUntrusted(std::string_view text);
inline constexpr std::size_t kUntrustedTextLimit = 500;

// The folder of the log file and of diagnostic files beside it.
std::string logDirectory();

} // namespace marlowick
