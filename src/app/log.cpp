#include "app/log.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>

#include "platform/platform.h"

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

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is malformed.
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& codePoint) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || i + length > text.size()) return 0;
    codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
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
        std::size_t length = decodeUtf8(text, i, c);
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
