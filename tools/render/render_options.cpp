#include "render_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace marlowick::render {

namespace {

constexpr double kMaxCoordinate = 100000;
constexpr double kMaxViewSide = 4096;
constexpr double kMaxPixels = 8192;
constexpr std::size_t kMaxItems = 200;
constexpr double kMaxTime = 60;
constexpr std::array<std::string_view, 11> kValueFlags{"--output",   "--size",        "--items",  "--stacks",
                                                       "--selected", "--stack-style", "--reveal", "--color",
                                                       "--time",     "--pending",     "--scale"};

std::optional<double> parseNumber(std::string_view text) {
    // from_chars accepts no leading '+' or spaces; anything left over is an error.
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (true) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::optional<platform::Rect> parseRect(std::string_view text) {
    const auto parts = split(text, ',');
    if (parts.size() != 4) return std::nullopt;
    double values[4];
    for (std::size_t i = 0; i < 4; ++i) {
        const auto value = parseNumber(parts[i]);
        if (!value || std::abs(*value) > kMaxCoordinate) return std::nullopt;
        values[i] = *value;
    }
    if (values[2] < 0 || values[3] < 0) return std::nullopt;
    return platform::Rect{values[0], values[1], values[2], values[3]};
}

// Parses "x,y,w,h;x,y,w,h;..." into the item list.
bool parseItems(std::string_view text, std::vector<platform::Rect>& items) {
    items.clear();
    if (text.empty()) return true;
    const auto parts = split(text, ';');
    if (parts.size() > kMaxItems) return false;
    for (auto part : parts) {
        const auto rect = parseRect(part);
        if (!rect) return false;
        items.push_back(*rect);
    }
    return true;
}

// Parses "0,2" into the stack flags, once the items are known.
bool parseStacks(std::string_view text, std::size_t itemCount, std::vector<bool>& stacks) {
    stacks.assign(itemCount, false);
    if (text.empty()) return true;
    for (auto part : split(text, ',')) {
        const auto index = parseInteger(part);
        if (!index || *index < 0 || static_cast<std::size_t>(*index) >= itemCount) return false;
        stacks[static_cast<std::size_t>(*index)] = true;
    }
    return true;
}

std::optional<platform::Size> parseSize(std::string_view text) {
    const auto at = text.find('x');
    if (at == std::string_view::npos) return std::nullopt;
    const auto width = parseNumber(text.substr(0, at));
    const auto height = parseNumber(text.substr(at + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > kMaxViewSide || *height > kMaxViewSide)
        return std::nullopt;
    return platform::Size{*width, *height};
}

} // namespace

const char* const kRenderUsage =
    "usage: marlowick-render                       write overlay-contact-sheet.png here\n"
    "       marlowick-render --contact-sheet [--output FILE] [--color C] [--scale S]\n"
    "       marlowick-render --output FILE [--size WxH] [--items \"x,y,w,h;...\"] [--stacks \"i,j\"]\n"
    "                        [--selected N] [--no-ring] [--stack-style S] [--reveal R] [--time T]\n"
    "                        [--color C] [--pending g|d] [--scale S] [--no-backdrop]\n"
    "  S (stack style): expandPill fadingPeek silhouette dotted echoRings tintLip\n"
    "  R (reveal): trace fade pop tighten glow none; T: seconds since the reveal began (0 to 60)\n"
    "  C: blue violet pink amber green, or #rrggbb; scale: 1 to 4\n";

ParseResult parseRenderOptions(std::span<const std::string> arguments) {
    RenderOptions options;
    SceneOptions& scene = options.scene;
    bool single = false, sheet = false, sawItems = false;
    std::string_view stacksText;
    const auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view flag = arguments[i];
        if (flag == "--help" || flag == "-h") {
            options.mode = RenderOptions::Mode::Help;
            return {options, {}};
        }
        if (flag == "--contact-sheet") {
            sheet = true;
            continue;
        }
        if (flag == "--no-ring") {
            scene.showsRing = false;
            single = true;
            continue;
        }
        if (flag == "--no-backdrop") {
            scene.backdrop = false;
            continue;
        }
        if (std::find(kValueFlags.begin(), kValueFlags.end(), flag) == kValueFlags.end())
            return fail("unknown argument \"" + std::string(flag) + "\"");
        if (i + 1 >= arguments.size()) return fail(std::string(flag) + " needs a value");
        const std::string_view value = arguments[++i];
        const auto bad = [&](std::string_view expected) {
            return fail("invalid value for " + std::string(flag) + ": \"" + std::string(value) +
                        "\" (expected " + std::string(expected) + ")");
        };
        if (flag == "--output") {
            if (value.empty()) return bad("a file name");
            options.output = value;
        } else if (flag == "--size") {
            const auto size = parseSize(value);
            if (!size) return bad("WIDTHxHEIGHT, each from 1 to 4096 points");
            scene.size = *size;
            single = true;
        } else if (flag == "--items") {
            if (!parseItems(value, scene.items))
                return bad("up to 200 rectangles \"x,y,w,h\" separated by ';'");
            sawItems = true;
            single = true;
        } else if (flag == "--stacks") {
            stacksText = value;
            single = true;
        } else if (flag == "--selected") {
            const auto index = parseInteger(value);
            if (!index || *index < -1000 || *index > 1000) return bad("an index from -1000 to 1000");
            scene.selected = *index;
            single = true;
        } else if (flag == "--stack-style") {
            const auto style = fromRawValue<StackStyle>(value);
            if (!style) return bad("expandPill, fadingPeek, silhouette, dotted, echoRings or tintLip");
            scene.stackStyle = *style;
        } else if (flag == "--reveal") {
            const auto reveal = fromRawValue<RingReveal>(value);
            if (!reveal) return bad("trace, fade, pop, tighten, glow or none");
            scene.reveal = *reveal;
            single = true;
        } else if (flag == "--color") {
            if (!AppSettings::resolveColor(value)) return bad("a palette name or #rrggbb");
            scene.color = value;
        } else if (flag == "--time") {
            const auto time = parseNumber(value);
            if (!time || *time < 0 || *time > kMaxTime) return bad("seconds from 0 to 60");
            scene.time = *time;
            single = true;
        } else if (flag == "--pending") {
            if (value == "g") {
                scene.pendingKey = VimKey::g;
            } else if (value == "d") {
                scene.pendingKey = VimKey::d;
            } else {
                return bad("g or d");
            }
            single = true;
        } else if (flag == "--scale") {
            const auto scale = parseNumber(value);
            if (!scale || *scale < 1 || *scale > 4) return bad("a scale from 1 to 4");
            scene.scale = *scale;
            options.sheetScale = *scale;
        }
    }

    if (single && sheet) return fail("--contact-sheet draws its own scenes; leave out the scene options");
    if (!single) {
        options.mode = RenderOptions::Mode::ContactSheet;
        if (options.output.empty()) options.output = "overlay-contact-sheet.png";
        return {options, {}};
    }
    options.mode = RenderOptions::Mode::Single;
    if (options.output.empty()) return fail("--output is needed to render one scene");
    if (!sawItems) {
        // One card filling the width, near the top: enough to see a style.
        scene.items = {{16, scene.size.height - 90, std::max(1.0, scene.size.width - 32), 64}};
    }
    if (!parseStacks(stacksText, scene.items.size(), scene.itemIsStack))
        return fail("invalid value for --stacks: \"" + std::string(stacksText) +
                    "\" (expected item indices separated by ',')");
    if (scene.size.width * scene.scale > kMaxPixels || scene.size.height * scene.scale > kMaxPixels)
        return fail("--size times --scale exceeds 8192 pixels per side");
    return {options, {}};
}

} // namespace marlowick::render
