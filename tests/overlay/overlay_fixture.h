// A simulated Mac with one sidebar overlay whose callbacks are recorded, shared by the overlay tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input/settings.h"
#include "overlay/sidebar_overlay.h"
#include "sim/sim_mac.h"

namespace marlowick::testing {

// One callback as the controller would have received it: "pick 2", "cancel", ...
using Calls = std::vector<std::string>;

class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override { overlay = makeOverlay(); }

    std::shared_ptr<SidebarOverlay> makeOverlay(platform::Rect frame = {0, 0, 360, 600}) {
        auto made = SidebarOverlay::create(frame);
        made->onMove = [this](int delta) { calls.push_back("move " + std::to_string(delta)); };
        made->onSelect = [this](int index) { calls.push_back("select " + std::to_string(index)); };
        made->onClose = [this](int index) { calls.push_back("close " + std::to_string(index)); };
        made->onPick = [this](int index) { calls.push_back("pick " + std::to_string(index)); };
        made->onCancel = [this] { calls.push_back("cancel"); };
        made->onOpenActions = [this](int index) { calls.push_back("actions " + std::to_string(index)); };
        made->onPerformAction = [this](int action) { calls.push_back("perform " + std::to_string(action)); };
        made->onActionsClosed = [this] { calls.push_back("back"); };
        return made;
    }
    // Cards 64 points tall, 10 apart, from the top of a 600-point overlay down.
    static std::vector<platform::Rect> cards(int count) {
        std::vector<platform::Rect> frames;
        for (int i = 0; i < count; ++i)
            frames.push_back({16, 520.0 - 74.0 * i, 328, 64});
        return frames;
    }
    void setItems(int count) { overlay->itemFrames = cards(count); }
    void store(std::string_view key, std::string_view value) { mac.defaults().set(key, std::string(value)); }
    Calls takeCalls() { return std::exchange(calls, {}); }
    static int vim(VimKey key) { return Hotkeys::kVimPickerCodeBase + static_cast<int>(key); }

    sim::SimMac mac;
    Calls calls;
    std::shared_ptr<SidebarOverlay> overlay;
};

} // namespace marlowick::testing
