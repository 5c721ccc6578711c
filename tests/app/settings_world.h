// Marlowick launched with its settings window open, and the reads of the window's view tree that the
// settings tests share: rows by title, their controls, texts and buttons, as a person finds them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_world.h"
#include "input/settings_window.h"

namespace marlowick::testing {

inline bool isControl(const platform::ViewNode& node) {
    return node.as<platform::SwitchView>() || node.as<platform::PickerView>() ||
           node.as<platform::ShortcutFieldView>() || node.as<platform::ButtonView>() ||
           node.as<platform::SwatchView>();
}

inline const platform::ViewNode* findNode(const platform::ViewNode& node,
                                          const std::function<bool(const platform::ViewNode&)>& match) {
    if (match(node)) return &node;
    if (const auto* stack = node.as<platform::StackView>()) {
        for (const auto& child : stack->children) {
            if (const auto* found = findNode(child, match)) return found;
        }
    }
    return nullptr;
}

struct SettingsWorld : AppWorld {
    explicit SettingsWorld(std::vector<std::string> arguments = {}, sim::SimMac::Options options = {})
        : AppWorld(options) {
        mac.process().setArguments(std::move(arguments));
    }

    void open(SettingsTab tab = SettingsTab::general) {
        if (!app) launch();
        app->showSettings();
        app->settings()->selectTab(tab);
        mac.runUntilIdle();
    }
    std::shared_ptr<platform::Window> window() const { return app->settingsWindow(); }
    const platform::ViewNode& content() const { return window()->content(); }

    const platform::ViewNode* row(const std::string& title) const {
        return findNode(content(), [&](const platform::ViewNode& node) {
            return node.as<platform::StackView>() && node.accessibilityLabel == title;
        });
    }
    // The row's control: the first one inside it, depth first.
    const platform::ViewNode& control(const std::string& title) const {
        const auto* found = row(title);
        EXPECT_TRUE(found) << "no row " << title;
        static const platform::ViewNode none;
        if (!found) return none;
        const auto* inside = findNode(*found, isControl);
        EXPECT_TRUE(inside) << "no control in " << title;
        return inside ? *inside : none;
    }
    template <typename View> const View& controlAs(const std::string& title) const {
        static const View none{};
        const auto* view = control(title).template as<View>();
        EXPECT_TRUE(view) << title << " has another kind of control";
        return view ? *view : none;
    }
    const platform::ButtonView* button(const std::string& title) const {
        const auto* found = findNode(content(), [&](const platform::ViewNode& node) {
            const auto* view = node.as<platform::ButtonView>();
            return view && view->title == title;
        });
        return found ? found->as<platform::ButtonView>() : nullptr;
    }
    bool buttonDisabled(const std::string& title) const {
        const auto* found = findNode(content(), [&](const platform::ViewNode& node) {
            const auto* view = node.as<platform::ButtonView>();
            return view && view->title == title;
        });
        return found && found->disabled;
    }
    bool shows(const std::string& text) const {
        auto all = platform::texts(content());
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    // The row's details and notes, without its title.
    std::vector<std::string> rowTexts(const std::string& title) const {
        const auto* found = row(title);
        if (!found) return {};
        auto all = platform::texts(*found);
        std::erase(all, title);
        return all;
    }

    // What a person does: each runs what it causes.
    void click(const std::string& title) {
        const auto* found = button(title);
        ASSERT_TRUE(found) << "no button " << title;
        auto action = found->action;
        action();
        mac.runUntilIdle();
    }
    void choose(const std::string& title, int index) {
        auto onSelect = controlAs<platform::PickerView>(title).onSelect;
        ASSERT_TRUE(onSelect) << title << " cannot be changed";
        onSelect(index);
        mac.runUntilIdle();
    }
    void flip(const std::string& title, bool on) {
        auto onChange = controlAs<platform::SwitchView>(title).onChange;
        ASSERT_TRUE(onChange) << title << " cannot be changed";
        onChange(on);
        mac.runUntilIdle();
    }
};

} // namespace marlowick::testing
