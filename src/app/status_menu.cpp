// The status menu of the application delegate: its items, their refresh, its width, and how it
// shares the hot keys with the engine while it is open.
#include "app/status_menu.h"

#include <algorithm>
#include <cmath>

#include "app/app_delegate.h"
#include "app/key_equivalent.h"
#include "app/log.h"
#include "app/menu_row_item.h"
#include "app/onboarding.h"
#include "app/updater.h"
#include "input/hotkeys.h"
#include "input/keyboardshortcuts/keyboard_shortcuts.h"
#include "notificationcenter/controller.h"
#include "overlay/menu_bar_icon.h"
#include "platform/platform.h"

namespace marlowick {

double statusMenuRowWidth(MenuRowView::Kind kind, double titleWidth, double capsTextWidth, bool hasCaps,
                          double columnWidth) {
    switch (kind) {
    case MenuRowView::Kind::action:
        return titleWidth + 32 + 24 + capsTextWidth;
    case MenuRowView::Kind::legend:
        return titleWidth + columnWidth + 32 + 10;
    case MenuRowView::Kind::onOff:
        return titleWidth + 32 + 24 + (hasCaps ? capsTextWidth + 10 : 0) + 30;
    case MenuRowView::Kind::disclosure:
        return titleWidth + 32 + 24 + 10;
    }
    return titleWidth;
}

double statusMenuWidth(const std::vector<double>& rowWidths) {
    double width = kMinimumMenuWidth;
    for (double row : rowWidths)
        width = std::max(width, row);
    return width;
}

namespace {

double textWidth(const std::string& text, const platform::Font& font) {
    return std::ceil(platform::current().fonts->measureText(text, font).width);
}

std::function<std::vector<KeyCap>()> fixedCaps(std::vector<KeyCap> caps) {
    return [caps = std::move(caps)] { return caps; };
}

std::function<std::vector<KeyCap>()> shortcutCaps(const KeyboardShortcuts::Name& name) {
    return [name] { return capsForShortcut(KeyboardShortcuts::getShortcut(name)); };
}

// Gives the item the key equivalent of the name's chord on the current layout, or none.
std::function<void()> keyEquivalentUpdate(const std::shared_ptr<platform::MenuItem>& item,
                                          const KeyboardShortcuts::Name& name) {
    return [weak = std::weak_ptr<platform::MenuItem>(item), name] {
        auto twin = weak.lock();
        if (!twin) return;
        std::optional<KeyEquivalent> equivalent;
        if (auto shortcut = KeyboardShortcuts::getShortcut(name)) equivalent = keyEquivalent(*shortcut);
        twin->setKeyEquivalent(equivalent ? equivalent->key : "");
        twin->setKeyEquivalentModifierMask(equivalent ? equivalent->modifiers : 0);
    };
}

// Runs the update after every change of the name's chord.
platform::Subscription followShortcut(const KeyboardShortcuts::Name& name, std::function<void()> update) {
    return platform::current().notifications->observe(
        KeyboardShortcuts::kShortcutByNameDidChange,
        [update = std::move(update), raw = name.rawValue](const platform::UserInfo& info) {
            auto changed = info.find("name");
            if (changed == info.end() || !std::holds_alternative<std::string>(changed->second)) return;
            if (std::get<std::string>(changed->second) == raw) update();
        });
}

} // namespace

std::shared_ptr<platform::MenuItem> AppDelegate::hiddenTwin(const std::string& title,
                                                            std::function<void()> action,
                                                            const std::string& keyEquivalent) {
    auto twin = platform::current().menus->makeItem(title, std::move(action), keyEquivalent);
    twin->setHidden(true);
    twin->setAllowsKeyEquivalentWhenHidden(true);
    return twin;
}

std::shared_ptr<platform::MenuItem> AppDelegate::addRowItem(platform::Menu& menu,
                                                            const std::shared_ptr<MenuRowView>& row,
                                                            std::shared_ptr<platform::MenuItem> item) {
    if (!item) item = platform::current().menus->makeItem(row->title, nullptr, "");
    hostRow(item, row);
    menu.addItem(item);
    return item;
}

void AppDelegate::buildStatusMenu() {
    auto& menus = *platform::current().menus;
    auto menu = menus.makeMenu("");
    menu->setDelegate(std::static_pointer_cast<platform::MenuDelegate>(shared_from_this()));
    menu->setAutoenablesItems(false);

    updateItem_ = menus.makeItem("", weakAction(&AppDelegate::checkForUpdates), "");
    updateSeparator_ = menus.makeSeparator();
    updateItem_->setHidden(true);
    updateSeparator_->setHidden(true);
    menu->addItem(updateItem_);
    menu->addItem(updateSeparator_);

    accessibilityItem_ = menus.makeItem("Accessibility: not granted \u2014 Open Settings\u2026",
                                        weakAction(&AppDelegate::openAccessibility), "");
    accessibilitySeparator_ = menus.makeSeparator();
    menu->addItem(accessibilityItem_);
    menu->addItem(accessibilitySeparator_);

    // A click flips the switch in place; Return or Space reach the menu, which runs the item's
    // action and closes, as AppKit's menus do.
    switchRow_ = MenuRowView::create("Marlowick", MenuRowView::Kind::onOff);
    switchRow_->onToggle = weakAction(&AppDelegate::toggleOnOff);
    addRowItem(*menu, switchRow_,
               menus.makeItem(switchRow_->title, weakAction(&AppDelegate::toggleOnOff), ""));
    menu->addItem(menus.makeSeparator());
    menu->addItem(menus.makeSectionHeader("Anywhere"));

    openPickerItem_ = menus.makeItem("Open notification", weakAction(&AppDelegate::openPicker), "");
    clearAllItem_ = menus.makeItem("Clear all", weakAction(&AppDelegate::clearAll), "");
    struct GlobalRow {
        std::shared_ptr<platform::MenuItem> item;
        std::function<void()> action;
        KeyboardShortcuts::Name name;
    };
    const GlobalRow globalRows[] = {
        {openPickerItem_, weakAction(&AppDelegate::openPicker), Hotkeys::openNotification},
        {clearAllItem_, weakAction(&AppDelegate::clearAll), Hotkeys::clearAll}};
    for (const auto& [item, action, name] : globalRows) {
        auto row = MenuRowView::create(item->title(), MenuRowView::Kind::action);
        addRowItem(*menu, row, item);
        keyRows_.emplace_back(row, shortcutCaps(name));
        auto twin = hiddenTwin(item->title(), action, "");
        auto update = keyEquivalentUpdate(twin, name);
        update();
        twinObservers_.push_back(followShortcut(name, update));
        twinKeyUpdates_.push_back(update);
        menu->addItem(twin);
        hotkeyItems_.push_back(twin);
    }
    menu->addItem(menus.makeSeparator());

    legendHeader_ = MenuRowView::create("In the picker", MenuRowView::Kind::disclosure);
    legendHeader_->onToggle = weakAction(&AppDelegate::toggleLegend);
    legendHeaderItem_ =
        addRowItem(*menu, legendHeader_,
                   menus.makeItem(legendHeader_->title, weakAction(&AppDelegate::toggleLegend), ""));
    for (auto& legend : pickerLegend()) {
        auto row = MenuRowView::create(legend.title, MenuRowView::Kind::legend);
        legendItems_.push_back(addRowItem(*menu, row, menus.makeSectionHeader(legend.title)));
        keyRows_.emplace_back(row, fixedCaps(legend.caps));
    }
    vimItems_.push_back(menus.makeSectionHeader("Vim keys"));
    menu->addItem(vimItems_.back());
    for (auto& legend : vimLegend()) {
        auto row = MenuRowView::create(legend.title, MenuRowView::Kind::legend);
        vimItems_.push_back(addRowItem(*menu, row, menus.makeSectionHeader(legend.title)));
        keyRows_.emplace_back(row, fixedCaps(legend.caps));
        vimRows_.push_back(row);
    }
    legendSeparator_ = menus.makeSeparator();
    menu->addItem(legendSeparator_);

    struct FixedRow {
        const char* title;
        std::function<void()> action;
        std::vector<KeyCap> caps;
        const char* key;
    };
    const FixedRow fixedRows[] = {
        {"Settings", weakAction(&AppDelegate::showSettings), {KeyCap::key("\u2318"), KeyCap::key(",")}, ","},
        {"Quit",
         [] { platform::current().application->terminate(); },
         {KeyCap::key("\u2318"), KeyCap::key("Q")},
         "q"},
    };
    for (const auto& fixed : fixedRows) {
        auto item = menus.makeItem(fixed.title, fixed.action, "");
        auto row = MenuRowView::create(fixed.title, MenuRowView::Kind::action);
        addRowItem(*menu, row, item);
        keyRows_.emplace_back(row, fixedCaps(fixed.caps));
        auto twin = hiddenTwin(fixed.title, fixed.action, fixed.key);
        twin->setKeyEquivalentModifierMask(platform::kFlagCommand);
        menu->addItem(twin);
    }

    statusMenu_ = menu;
    statusItem_->setMenu(menu);
}

void AppDelegate::refreshItems() {
    if (!statusMenu_) return;
    bool trusted = platform::current().accessibility->isProcessTrusted();
    const auto& pending = Updater::shared()->pendingVersion();
    updateItem_->setHidden(!pending);
    updateSeparator_->setHidden(!pending);
    if (pending) updateItem_->setTitle("Update available: " + *pending);
    accessibilityItem_->setHidden(trusted);
    accessibilitySeparator_->setHidden(trusted);

    bool usable = trusted && AppSettings::isOn();
    openPickerItem_->setEnabled(usable);
    clearAllItem_->setEnabled(usable);
    for (const auto& twin : hotkeyItems_)
        twin->setEnabled(usable);
    // The chord's character depends on the layout, which the user may have switched since.
    for (const auto& update : twinKeyUpdates_)
        update();

    switchRow_->isOn = AppSettings::isOn();
    auto toggle = KeyboardShortcuts::getShortcut(Hotkeys::toggleSwitch);
    switchRow_->caps = toggle ? capsForShortcut(toggle) : std::vector<KeyCap>{};
    switchRow_->setNeedsDisplay();
    legendHeader_->isOn = platform::current().defaults->plainBoolean(SettingsKey::pickerKeysOpen);
    legendHeader_->setNeedsDisplay();

    bool show = AppSettings::showPickerKeys();
    legendHeaderItem_->setHidden(!show);
    legendSeparator_->setHidden(!show);
    for (const auto& item : legendItems_)
        item->setHidden(!(show && legendHeader_->isOn));
    bool vim = show && legendHeader_->isOn && AppSettings::vimKeys();
    for (const auto& item : vimItems_)
        item->setHidden(!vim);

    for (const auto& [row, caps] : keyRows_) {
        row->caps = caps();
        row->setNeedsDisplay();
    }
}

void AppDelegate::layoutRows(platform::Menu& menu) {
    // The Vim rows count only while Vim keys are on, for the caps column and for the width.
    bool vim = AppSettings::vimKeys();
    auto counts = [&](const std::shared_ptr<MenuRowView>& row) {
        return vim || std::find(vimRows_.begin(), vimRows_.end(), row) == vimRows_.end();
    };

    double columnWidth = 0;
    for (const auto& [row, caps] : keyRows_) {
        if (row->kind == MenuRowView::Kind::legend && counts(row))
            columnWidth = std::max(columnWidth, capsWidth(row->caps));
    }
    for (const auto& [row, caps] : keyRows_) {
        row->columnWidth = columnWidth;
        row->setNeedsDisplay();
    }

    std::vector<std::shared_ptr<MenuRowView>> rows{switchRow_, legendHeader_};
    for (const auto& [row, caps] : keyRows_) {
        if (counts(row)) rows.push_back(row);
    }
    std::vector<double> widths;
    for (const auto& row : rows) {
        double title = textWidth(row->title, MenuRowView::titleFont(row->kind));
        double caps = textWidth(joinedCapsText(row->caps), MenuRowView::menuFont());
        widths.push_back(statusMenuRowWidth(row->kind, title, caps, !row->caps.empty(), columnWidth));
    }
    double width = statusMenuWidth(widths);
    for (const auto& row : rows) {
        auto frame = row->frame();
        row->setFrame(platform::Rect(frame.origin, {width, frame.height()}));
    }
    menu.setMinimumWidth(width);
}

void AppDelegate::menuNeedsUpdate(platform::Menu& menu) {
    refreshItems();
    layoutRows(menu);
}

void AppDelegate::menuWillOpen(platform::Menu&) {
    menuIsOpen_ = true;
    // The open menu takes these chords now; its hidden twins run the same actions.
    KeyboardShortcuts::disable({Hotkeys::openNotification, Hotkeys::clearAll});
    if (openPickerItem_->isEnabled()) {
        std::weak_ptr<AppDelegate> weak = weak_from_this();
        platform::current().runLoop->async([weak] {
            if (auto self = weak.lock()) self->preselect(self->openPickerItem_);
        });
    }
}

void AppDelegate::menuDidClose(platform::Menu&) {
    menuIsOpen_ = false;
    KeyboardShortcuts::enable({Hotkeys::openNotification, Hotkeys::clearAll});
}

void AppDelegate::preselect(const std::shared_ptr<platform::MenuItem>& item) {
    auto menu = item ? item->menu() : nullptr;
    if (!menu || menu->highlightedItem() == item) return;
    if (menu->respondsToHighlightItem()) menu->highlightItem(item);
}

void AppDelegate::toggleOnOff() {
    bool on = !AppSettings::isOn();
    platform::current().defaults->set(SettingsKey::isOn, on);
    log(std::string("Turned ") + (on ? "on" : "off"));
    KeyboardShortcuts::setEnabled(on);
    if (!on) controller()->closePicker();
    refreshItems();
}

void AppDelegate::onOffHotKeyPressed() {
    toggleOnOff();
    if (!menuIsOpen_) return;
    auto host = switchRow_->host();
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    platform::current().runLoop->async([weak, host] {
        // The switch's item is found through its row, which knows its host item.
        if (!weak.lock() || !host || !host->hasMenu()) return;
        if (!host->isHighlighted() && host->menuCanHighlightItems()) host->highlightInMenu();
    });
}

void AppDelegate::toggleLegend() {
    auto& defaults = *platform::current().defaults;
    defaults.set(SettingsKey::pickerKeysOpen, !defaults.plainBoolean(SettingsKey::pickerKeysOpen));
    refreshItems();
}

void AppDelegate::updateIcon() {
    MenuBarIcon icon = AppSettings::menuBarIcon();
    bool on = AppSettings::isOn();
    if (shownIcon_ == icon && shownIconIsOn_ == on) return;
    shownIcon_ = icon;
    shownIconIsOn_ = on;
    if (auto* button = statusItem_ ? statusItem_->button() : nullptr)
        button->setImage(menuBarIconImage(icon, on));
}

void AppDelegate::openPicker() {
    controller()->openPicker();
}

void AppDelegate::clearAll() {
    controller()->clearAll();
}

void AppDelegate::openAccessibility() {
    platform::current().workspace->openURL(std::string(kAccessibilitySettingsURL));
}

void AppDelegate::checkForUpdates() {
    Updater::shared()->checkForUpdates();
}

} // namespace marlowick
