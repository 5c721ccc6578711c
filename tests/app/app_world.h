// A simulated Mac with Marlowick launched on it, and the reads the shell's tests share.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/app_delegate.h"
#include "app/onboarding.h"
#include "sim/sim_mac.h"

namespace marlowick::testing {

struct AppWorld {
    explicit AppWorld(sim::SimMac::Options options = {}) : mac(options) {}

    void launch() {
        app = AppDelegate::create();
        app->applicationDidFinishLaunching();
        mac.runUntilIdle();
    }

    int count(const std::string& line) const {
        auto lines = mac.logLines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
    int countStartingWith(const std::string& prefix) const {
        auto lines = mac.logLines();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                              [&](const std::string& l) { return l.starts_with(prefix); }));
    }

    void openMenu() {
        mac.statusBar().click();
        mac.runUntilIdle();
    }
    void closeMenu() {
        mac.menus().close();
        mac.runUntilIdle();
    }
    std::vector<std::string> shownTitles() { return mac.menus().shownTitles(); }
    bool shows(const std::string& title) {
        auto titles = shownTitles();
        return std::find(titles.begin(), titles.end(), title) != titles.end();
    }
    std::shared_ptr<platform::MenuItem> item(const std::string& title, bool hidden = false) const {
        for (const auto& entry : app->statusMenu()->items()) {
            if (entry->title() == title && entry->isHidden() == hidden) return entry;
        }
        return nullptr;
    }
    void press(std::uint16_t keyCode, platform::ModifierFlags modifiers) {
        mac.keyboard().type({keyCode, modifiers});
        mac.runUntilIdle();
    }
    OnboardingStep onboardingStep() const { return app->onboarding()->state.step(); }

    sim::SimMac mac;
    std::shared_ptr<AppDelegate> app;
};

inline constexpr std::uint16_t kKeyN = 45;
inline constexpr platform::ModifierFlags kOption = platform::kFlagOption;

} // namespace marlowick::testing
