// marlowick-render's command line on arbitrary arguments (the input split at NUL bytes). Beyond not
// crashing it checks that whatever is accepted is bounded: a picture of sane size, items within
// limits, one stack flag per item, and a message for everything refused.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "render_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marlowick::render;
    using marlowick::fuzzing::check;
    std::vector<std::string> arguments(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back().push_back(static_cast<char>(data[i]));
        }
    }
    const ParseResult result = parseRenderOptions(arguments);
    if (!result.options) {
        check(!result.error.empty());
        return 0;
    }
    const RenderOptions& options = *result.options;
    if (options.mode == RenderOptions::Mode::Help) return 0;
    check(!options.output.empty());
    const SceneOptions& scene = options.scene;
    check(scene.scale >= 1 && scene.scale <= 4);
    check(scene.size.width * scene.scale <= 8192 && scene.size.height * scene.scale <= 8192);
    check(scene.time >= 0 && scene.time <= 60);
    check(scene.items.size() <= 200);
    if (options.mode == RenderOptions::Mode::Single) check(scene.itemIsStack.size() == scene.items.size());
    for (const auto& item : scene.items)
        check(item.width() >= 0 && item.height() >= 0 && std::abs(item.minX()) <= 100000);
    return 0;
}
