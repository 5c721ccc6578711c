#include "console/line_reader.h"

#include <editline/readline.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace marlowick::console {

namespace {
// libedit's callback interface has room for one handler without context: the reader that installed it.
LineReader* activeEditor = nullptr;
} // namespace

std::string textAbovePrompt(std::string_view text) {
    std::string out = "\r\x1b[K";
    out += text;
    if (out.back() != '\n') out += '\n';
    return out;
}

std::string promptWithLine(std::string_view prompt, std::string_view line, std::size_t point) {
    point = std::min(point, line.size());
    std::string out(prompt);
    out += line;
    // UTF-8 continuation bytes take no column of their own.
    auto after = line.substr(point);
    auto columns = std::count_if(after.begin(), after.end(), [](char c) { return (c & 0xC0) != 0x80; });
    if (columns > 0) out += "\x1b[" + std::to_string(columns) + "D";
    return out;
}

LineReader::LineReader(int fd, std::string prompt, OnLine onLine)
    : fd_(fd), prompt_(std::move(prompt)), onLine_(std::move(onLine)) {
    editing_ = ::isatty(fd_) && ::isatty(STDOUT_FILENO) && activeEditor == nullptr;
    if (!editing_) return;
    activeEditor = this;
    rl_readline_name = "marlowick";
    rl_callback_handler_install(prompt_.c_str(), &LineReader::lineFromEditor);
}

LineReader::~LineReader() {
    if (quietWriter_ >= 0) ::close(quietWriter_);
    if (!editing_) return;
    rl_callback_handler_remove();
    activeEditor = nullptr;
}

void LineReader::end() {
    ended_ = true;
    // A descriptor at its end reads as ready for ever; an empty pipe in its place lets the caller go
    // on waiting for its timers without spinning.
    int quiet[2];
    if (::pipe(quiet) == 0) {
        ::dup2(quiet[0], fd_);
        ::close(quiet[0]);
        quietWriter_ = quiet[1];
    }
    onLine_(std::nullopt);
}

void LineReader::lineFromEditor(char* line) {
    LineReader* reader = activeEditor;
    if (!reader) return;
    if (!line) {
        reader->end();
        return;
    }
    std::string text(line);
    std::free(line);
    if (!text.empty()) add_history(text.c_str());
    reader->handlingLine_ = true;
    reader->onLine_(std::move(text));
    reader->handlingLine_ = false;
    reader->lineEntered_ = true;
}

void LineReader::printAbove(std::string_view text) {
    if (text.empty()) return;
    if (!promptShown()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        if (text.back() != '\n') std::fputc('\n', stdout);
        std::fflush(stdout);
        return;
    }
    std::string out = textAbovePrompt(text);
    // libedit keeps its line buffer current from one key to the next but its own redraw (a forced
    // update) puts up the prompt without the line, so the line is drawn back here, the cursor
    // where it was: libedit's picture of the screen is then true again. Under a fresh prompt the
    // buffer still holds the line just entered, until the next key.
    std::string_view line =
        rl_line_buffer && !freshPrompt_ ? std::string_view(rl_line_buffer) : std::string_view();
    line = line.substr(0, static_cast<std::size_t>(std::clamp(rl_end, 0, static_cast<int>(line.size()))));
    out += promptWithLine(prompt_, line, static_cast<std::size_t>(std::max(rl_point, 0)));
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

void LineReader::readAvailable() {
    if (ended_) return;
    if (editing_) {
        freshPrompt_ = false;
        rl_callback_read_char();
        if (lineEntered_) {
            // After a line, libedit leaves the terminal cooked and the old line in its buffer until
            // the next key: keys typed meanwhile would sit in the terminal's own line, out of reach
            // of a redraw. Installing the handler afresh puts up the prompt in raw mode at once.
            lineEntered_ = false;
            rl_callback_handler_remove();
            rl_callback_handler_install(prompt_.c_str(), &LineReader::lineFromEditor);
            freshPrompt_ = true;
        }
    } else
        readPlain();
}

void LineReader::readPlain() {
    char buffer[4096];
    ssize_t count = ::read(fd_, buffer, sizeof buffer);
    if (count <= 0) {
        if (!pending_.empty()) onLine_(std::exchange(pending_, {}));
        end();
        return;
    }
    pending_.append(buffer, static_cast<std::size_t>(count));
    std::size_t start = 0;
    for (std::size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1) {
        onLine_(pending_.substr(start, end - start));
        if (ended_) return;
    }
    pending_.erase(0, start);
    if (pending_.size() > kMaxPendingBytes) onLine_(std::exchange(pending_, {}));
}

} // namespace marlowick::console
