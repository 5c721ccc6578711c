// Feeds arbitrary bytes to the console's script parser: it must answer with commands or an error
// naming a line, and never crash, hang or read out of bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "console/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto parsed = marlowick::console::parseScript(text);
    if (auto* error = std::get_if<marlowick::console::ParseError>(&parsed)) {
        // An error says something and names a line of the input (0 only for a script too large to read).
        auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        if (error->message.empty() || error->line < 0 || error->line > lines) std::abort();
        if (error->line == 0 && size <= marlowick::console::kMaxScriptSize) std::abort();
    }
    return 0;
}
