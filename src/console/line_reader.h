// Lines typed into the console: with line editing and history (libedit) on a terminal, plain lines
// from a pipe or file otherwise. Never blocks: the program calls readAvailable() when the input is
// readable, and each complete line (or the end of input) goes to the callback. At the end of input
// the descriptor is replaced by an empty pipe, so that polling it no longer wakes the caller. Output
// that arrives while the prompt waits is printed above it, and the line being typed is redrawn.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace marlowick::console {

// What goes to the terminal to print text above a prompt: back to the line's start, erase the
// prompt and what was typed, then the text ending in a line feed. The prompt is redrawn after it.
std::string textAbovePrompt(std::string_view text);
// What redraws the prompt and the line being typed after that, the cursor put back `point` bytes
// into the line (counted back from its end, one column per character).
std::string promptWithLine(std::string_view prompt, std::string_view line, std::size_t point);

class LineReader {
public:
    // Receives each line without its line feed; none once the input has ended.
    using OnLine = std::function<void(std::optional<std::string>)>;

    // Lines longer than this are cut here and handed on, so that the parser reports them.
    static constexpr std::size_t kMaxPendingBytes = 64 * 1024;

    LineReader(int fd, std::string prompt, OnLine onLine);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    void readAvailable();
    // Prints complete lines (a line feed is added if the text lacks one) above the prompt.
    void printAbove(std::string_view text);

private:
    static void lineFromEditor(char* line);
    bool promptShown() const { return editing_ && !ended_ && !handlingLine_; }
    void readPlain();
    void end();

    int fd_;
    std::string prompt_;
    OnLine onLine_;
    bool editing_ = false;
    bool ended_ = false;
    bool handlingLine_ = false; // the prompt is down while a typed line runs
    bool lineEntered_ = false;  // the handler has just had a line
    bool freshPrompt_ = false;  // a new prompt shows, no key read since
    std::string pending_;
    int quietWriter_ = -1;
};

} // namespace marlowick::console
