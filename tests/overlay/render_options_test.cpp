#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render_options.h"

namespace marlowick::render {
namespace {

using ::testing::HasSubstr;

ParseResult parse(std::vector<std::string> arguments) {
    return parseRenderOptions(arguments);
}

TEST(RenderOptions, OneSceneTakesEveryValueItIsGiven) {
    const auto result =
        parse({"--output",  "a.png", "--size",     "320x200", "--items",       "16,120,288,64;16,40,288,64",
               "--stacks",  "1",     "--selected", "1",       "--stack-style", "tintLip",
               "--reveal",  "trace", "--time",     "0.21",    "--color",       "#0A84FF",
               "--pending", "d",     "--scale",    "1"});
    ASSERT_TRUE(result.options) << result.error;
    const SceneOptions& scene = result.options->scene;
    EXPECT_EQ(result.options->mode, RenderOptions::Mode::Single);
    EXPECT_EQ(scene.items[1], platform::Rect(16, 40, 288, 64));
    EXPECT_EQ(scene.itemIsStack, (std::vector<bool>{false, true}));
    EXPECT_EQ(scene.reveal, RingReveal::trace);
    EXPECT_EQ(scene.pendingKey, VimKey::d);

    // No arguments at all: the contact sheet, here. Without items: one card near the top.
    EXPECT_EQ(parse({}).options->output, "overlay-contact-sheet.png");
    const auto plain = parse({"--output", "b.png", "--stack-style", "dotted", "--stacks", "0"});
    ASSERT_TRUE(plain.options) << plain.error;
    EXPECT_EQ(plain.options->scene.items.size(), 1u);
    EXPECT_EQ(plain.options->scene.itemIsStack, std::vector<bool>{true});
}

TEST(RenderOptions, UntrustedValuesAreRefusedWithTheArgumentNamed) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--output", "x.png", "--size", "5000x100"}, "--size"},
        {{"--output", "x.png", "--size", "4096x4096", "--scale", "4"}, "8192"},
        {{"--output", "x.png", "--items", "1,2,-3,4"}, "--items"},
        {{"--output", "x.png", "--selected", "99999999999"}, "--selected"},
        {{"--stack-style", "ExpandPill"}, "--stack-style"},
        {{"--output", "x.png", "--time", "inf"}, "--time"},
        {{"--output"}, "--output needs a value"},
        {{"--frobnicate"}, "unknown argument"},
        {{"--reveal", "fade"}, "--output"},
        {{"--contact-sheet", "--reveal", "fade"}, "--contact-sheet"},
    };
    for (const auto& [arguments, named] : refused) {
        const auto result = parse(arguments);
        EXPECT_FALSE(result.options) << arguments.front();
        EXPECT_THAT(result.error, HasSubstr(named));
    }
    // Too many items.
    std::string many;
    for (int i = 0; i < 201; ++i)
        many += (i ? ";" : "") + std::string("0,0,10,10");
    EXPECT_FALSE(parse({"--output", "x.png", "--items", many}).options);
}

} // namespace
} // namespace marlowick::render
