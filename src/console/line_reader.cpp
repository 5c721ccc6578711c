#include "console/line_reader.h"

#include <editline/readline.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
    if (lineEntered_) {
        // libedit has put up a fresh prompt but still holds the line just entered until it reads
        // the next key: the prompt alone is what the screen should show again.
        out += prompt_;
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fflush(stdout);
        return;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    // libedit draws the prompt and the line being typed afresh, the cursor where it was.
    rl_forced_update_display();
}

void LineReader::readAvailable() {
    if (ended_) return;
    if (editing_) {
        lineEntered_ = false;
        rl_callback_read_char();
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
