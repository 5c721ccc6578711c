// marlowick-render: writes PNG pictures of the sidebar overlay, one scene or the contact sheet of
// every stack style and reveal, drawn by the simulated Mac.
#include <cstdio>
#include <string>
#include <vector>

#include "overlay_scene.h"
#include "render_options.h"
#include "sim/sim_mac.h"

int main(int argc, char** argv) {
    using namespace marlowick;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parsed = render::parseRenderOptions(arguments);
    if (!parsed.options) {
        std::fprintf(stderr, "marlowick-render: %s\n%s", parsed.error.c_str(), render::kRenderUsage);
        return 2;
    }
    const render::RenderOptions& options = *parsed.options;
    if (options.mode == render::RenderOptions::Mode::Help) {
        std::fputs(render::kRenderUsage, stdout);
        return 0;
    }

    sim::SimMac mac;
    const sim::Image image = options.mode == render::RenderOptions::Mode::ContactSheet
                                 ? render::renderContactSheet(options.scene.color, options.sheetScale)
                                 : render::renderScene(options.scene);
    if (!image.writePng(options.output)) {
        std::fprintf(stderr, "marlowick-render: could not write %s\n", options.output.c_str());
        return 1;
    }
    std::printf("%s\n", options.output.c_str());
    return 0;
}
