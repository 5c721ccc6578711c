#include "app/log.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>

#include "platform/platform.h"
#include "platform/utf8.h"

namespace marlowick {

namespace {

constexpr std::uint64_t kMaximumLogSize = 1'000'000;

// The open log file of the platform in force. A process has one platform, but tests build a
// simulated Mac each, so the handle is opened afresh when the platform changes.
struct LogFile {
    std::uint64_t generation = 0;
    bool opened = false;
    std::unique_ptr<platform::FileHandle> handle;
};

LogFile& logFile() {
    static LogFile file;
    if (file.generation != platform::generation()) {
        file = LogFile{};
        file.generation = platform::generation();
    }
    return file;
}

platform::FileHandle* openLogHandle() {
    auto& file = logFile();
    if (file.opened) return file.handle.get();
    file.opened = true;
    auto& files = *platform::current().files;
    std::string directory = logDirectory();
    files.createDirectory(directory); // fails harmlessly when it exists
    std::string path = directory + "/marlowick.log";
    // An oversized log is started afresh at launch, so it always holds the recent runs.
    auto size = files.fileSize(path);
    if (size && *size > kMaximumLogSize) {
        files.createFile(path);
    } else if (!files.fileExists(path)) {
        files.createFile(path);
    }
    file.handle = files.openForWriting(path);
    if (file.handle) file.handle->seekToEnd();
    return file.handle.get();
}

std::string timeStamp(double secondsSince1970) {
    auto milliseconds = static_cast<long long>(std::floor(secondsSince1970 * 1000));
    std::time_t seconds = static_cast<std::time_t>(milliseconds / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03lld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  std::abs(milliseconds % 1000));
    return buffer;
}

bool isControl(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

} // namespace

std::string logDirectory() {
    return platform::current().files->homeDirectory() + "/Library/Logs/Marlowick";
}

void log(std::string_view message) {
    auto& services = platform::current();
    std::string line = timeStamp(services.runLoop->secondsSince1970());
    line += ' ';
    line += message;
    line += '\n';
    services.process->writeStandardOutput(line);
    // A write the file system refuses is not retried: logging must never stop the application.
    if (auto* handle = openLogHandle()) handle->write(line);
}

std::string escapeUntrusted(std::string_view text) {
    std::string escaped;
    escaped.reserve(std::min(text.size(), kUntrustedTextLimit) + 8);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        if (characters == kUntrustedTextLimit) {
            escaped += "…";
            break;
        }
        char32_t c = 0;
        std::size_t length = platform::decodeUtf8(text, i, c);
        if (length == 0) {
            escaped += "\xEF\xBF\xBD"; // U+FFFD for a malformed byte
            ++i;
            continue;
        }
        if (c == '\n') {
            escaped += "\\n";
        } else if (isControl(c)) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\u{%x}", static_cast<unsigned>(c));
            escaped += buffer;
        } else {
            escaped.append(text.substr(i, length));
        }
        i += length;
    }
    return escaped;
}

} // namespace marlowick
