#include "sim/menus.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/hot_keys.h"
#include "platform/key_codes.h"
#include "platform/platform.h"
#include "platform/utf8.h"

namespace marlowick::sim {

using platform::Event;
using platform::MenuItem;

namespace {

constexpr std::uint16_t kReturn = platform::kKeyCodeReturn;
constexpr std::uint16_t kSpace = platform::kKeyCodeSpace;
constexpr std::uint16_t kKeypadEnter = platform::kKeyCodeKeypadEnter;
constexpr std::uint16_t kEscape = platform::kKeyCodeEscape;
constexpr std::uint16_t kUpArrow = platform::kKeyCodeUpArrow;
constexpr std::uint16_t kDownArrow = platform::kKeyCodeDownArrow;

std::string lowercaseAscii(std::string text) {
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isLetter(const std::string& text) {
    return text.size() == 1 && std::isalpha(static_cast<unsigned char>(text[0]));
}

bool isUppercaseLetter(const std::string& text) {
    return text.size() == 1 && std::isupper(static_cast<unsigned char>(text[0]));
}

} // namespace

class SimMenuItem final : public MenuItem, public std::enable_shared_from_this<SimMenuItem> {
public:
    enum class Kind { Plain, Separator, SectionHeader };
    SimMenuItem(Kind kind, std::string title, std::function<void()> action, std::string key)
        : kind_(kind), title_(std::move(title)), action_(std::move(action)), key_(std::move(key)) {}

    std::string title() const override { return title_; }
    void setTitle(std::string title) override { title_ = std::move(title); }
    void setAction(std::function<void()> action) override { action_ = std::move(action); }
    bool hasAction() const override { return static_cast<bool>(action_); }
    std::string keyEquivalent() const override { return key_; }
    void setKeyEquivalent(std::string key) override { key_ = std::move(key); }
    platform::ModifierFlags keyEquivalentModifierMask() const override { return mask_; }
    void setKeyEquivalentModifierMask(platform::ModifierFlags mask) override {
        mask_ = mask & platform::kKeyEquivalentModifiers;
    }
    bool isHidden() const override { return hidden_; }
    void setHidden(bool hidden) override { hidden_ = hidden; }
    bool allowsKeyEquivalentWhenHidden() const override { return allowsWhenHidden_; }
    void setAllowsKeyEquivalentWhenHidden(bool allows) override { allowsWhenHidden_ = allows; }
    bool isEnabled() const override;
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool isSeparator() const override { return kind_ == Kind::Separator; }
    bool isSectionHeader() const override { return kind_ == Kind::SectionHeader; }
    std::shared_ptr<platform::MenuItemView> view() const override { return view_; }
    void setView(std::shared_ptr<platform::MenuItemView> view) override { view_ = std::move(view); }
    std::shared_ptr<platform::Menu> submenu() const override { return submenu_; }
    void setSubmenu(std::shared_ptr<platform::Menu> submenu) override { submenu_ = std::move(submenu); }
    std::shared_ptr<platform::Menu> menu() const override { return menu_.lock(); }
    bool isHighlighted() const override;

    void setMenu(const std::shared_ptr<platform::Menu>& menu) { menu_ = menu; }
    // Chosen by the user or its key equivalent; the action is copied first, as it may replace itself.
    void perform() const {
        if (auto action = action_) action();
    }
    // Whether the user can highlight and choose it.
    bool isSelectable() const { return kind_ == Kind::Plain && !hidden_ && isEnabled(); }

private:
    Kind kind_;
    std::string title_;
    std::function<void()> action_;
    std::string key_;
    platform::ModifierFlags mask_ = platform::kFlagCommand;
    bool hidden_ = false;
    bool allowsWhenHidden_ = false;
    bool enabled_ = true;
    std::shared_ptr<platform::MenuItemView> view_;
    std::shared_ptr<platform::Menu> submenu_;
    std::weak_ptr<platform::Menu> menu_;
};

class SimMenu final : public platform::Menu, public std::enable_shared_from_this<SimMenu> {
public:
    SimMenu(std::string title, SimMenus* owner, std::weak_ptr<bool> ownerAlive)
        : title_(std::move(title)), owner_(owner), ownerAlive_(std::move(ownerAlive)) {}

    std::string title() const override { return title_; }
    void addItem(std::shared_ptr<MenuItem> item) override {
        auto simItem = std::dynamic_pointer_cast<SimMenuItem>(item);
        if (!simItem) return;
        simItem->setMenu(shared_from_this());
        items_.push_back(std::move(simItem));
    }
    std::vector<std::shared_ptr<MenuItem>> items() const override { return {items_.begin(), items_.end()}; }
    int indexOfItem(const MenuItem& item) const override {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].get() == &item) return static_cast<int>(i);
        }
        return -1;
    }
    void setDelegate(std::weak_ptr<platform::MenuDelegate> delegate) override {
        delegate_ = std::move(delegate);
    }
    std::shared_ptr<platform::MenuDelegate> delegate() const { return delegate_.lock(); }
    void setAutoenablesItems(bool autoenables) override { autoenables_ = autoenables; }
    bool autoenablesItems() const override { return autoenables_; }
    double minimumWidth() const override { return minimumWidth_; }
    void setMinimumWidth(double width) override { minimumWidth_ = width; }

    std::shared_ptr<MenuItem> highlightedItem() const override { return highlighted_.lock(); }
    bool respondsToHighlightItem() const override {
        return ownerAlive_.expired() ? false : owner_->highlightItemAvailable();
    }
    void highlightItem(const std::shared_ptr<MenuItem>& item) override {
        if (item && indexOfItem(*item) < 0) return;
        highlighted_ = std::dynamic_pointer_cast<SimMenuItem>(item);
    }
    void cancelTracking() override {
        if (ownerAlive_.expired() || owner_->openMenu().get() != this) return;
        owner_->close();
    }
    void performActionForItemAt(int index) override {
        if (index < 0 || index >= static_cast<int>(items_.size())) return;
        if (items_[index]->isEnabled()) items_[index]->perform();
    }

    const std::vector<std::shared_ptr<SimMenuItem>>& simItems() const { return items_; }
    void clearHighlight() { highlighted_.reset(); }

private:
    std::string title_;
    SimMenus* owner_;
    std::weak_ptr<bool> ownerAlive_;
    std::vector<std::shared_ptr<SimMenuItem>> items_;
    std::weak_ptr<platform::MenuDelegate> delegate_;
    bool autoenables_ = true;
    double minimumWidth_ = 0;
    std::weak_ptr<SimMenuItem> highlighted_;
};

bool SimMenuItem::isEnabled() const {
    if (kind_ != Kind::Plain) return false;
    auto owner = std::dynamic_pointer_cast<SimMenu>(menu_.lock());
    // A menu that enables its items itself enables those that have something to do.
    if (owner && owner->autoenablesItems()) return static_cast<bool>(action_) || view_ != nullptr;
    return enabled_;
}

bool SimMenuItem::isHighlighted() const {
    auto owner = menu_.lock();
    return owner && owner->highlightedItem().get() == this;
}

SimMenus::SimMenus(SimApplicationEvents& events, platform::NotificationBus& bus, SimKeyboardLayouts& layouts)
    : events_(events), bus_(bus), layouts_(layouts) {}

SimMenus::~SimMenus() {
    *alive_ = false;
}

std::shared_ptr<platform::Menu> SimMenus::makeMenu(const std::string& title) {
    return std::make_shared<SimMenu>(title, this, alive_);
}

std::shared_ptr<MenuItem> SimMenus::makeItem(const std::string& title, std::function<void()> action,
                                             const std::string& keyEquivalent) {
    return std::make_shared<SimMenuItem>(SimMenuItem::Kind::Plain, title, std::move(action), keyEquivalent);
}

std::shared_ptr<MenuItem> SimMenus::makeSeparator() {
    return std::make_shared<SimMenuItem>(SimMenuItem::Kind::Separator, "", nullptr, "");
}

std::shared_ptr<MenuItem> SimMenus::makeSectionHeader(const std::string& title) {
    return std::make_shared<SimMenuItem>(SimMenuItem::Kind::SectionHeader, title, nullptr, "");
}

void SimMenus::open(const std::shared_ptr<platform::Menu>& menu) {
    auto simMenu = std::dynamic_pointer_cast<SimMenu>(menu);
    if (!simMenu) return;
    if (open_) close();
    simMenu->clearHighlight();
    bus_.post(platform::kMenuDidBeginTracking);
    events_.beginMenuTracking();
    open_ = simMenu;
    if (auto delegate = simMenu->delegate()) {
        delegate->menuNeedsUpdate(*simMenu);
        delegate->menuWillOpen(*simMenu);
    }
    layOut(*simMenu);
}

void SimMenus::layOut(platform::Menu& menu) {
    constexpr double kTitleMargin = 14;
    double width = menu.minimumWidth();
    for (const auto& item : menu.items()) {
        if (item->isHidden() || item->isSeparator()) continue;
        if (auto view = item->view()) {
            width = std::max(width, view->frame().width());
        } else if (auto* fonts = platform::current().fonts) {
            auto title = fonts->measureText(item->title(), platform::Font::system(13));
            width = std::max(width, std::ceil(title.width) + 2 * kTitleMargin);
        }
    }
    for (const auto& item : menu.items()) {
        if (item->isHidden()) continue; // hidden items are not laid out
        if (auto view = item->view()) view->setWidth(width);
    }
    openWidth_ = width;
}

void SimMenus::close() {
    auto menu = std::dynamic_pointer_cast<SimMenu>(std::exchange(open_, nullptr));
    if (!menu) return;
    menu->clearHighlight();
    if (auto delegate = menu->delegate()) delegate->menuDidClose(*menu);
    events_.endMenuTracking();
    bus_.post(platform::kMenuDidEndTracking);
}

void SimMenus::click(int index) {
    auto menu = std::dynamic_pointer_cast<SimMenu>(open_);
    if (!menu || index < 0 || index >= static_cast<int>(menu->simItems().size())) return;
    auto item = menu->simItems()[index];
    if (!item->isSelectable()) return;
    if (auto view = item->view()) {
        view->mouseUp();
        return;
    }
    choose(item);
}

void SimMenus::choose(const std::shared_ptr<MenuItem>& item) {
    auto simItem = std::dynamic_pointer_cast<SimMenuItem>(item);
    if (!simItem) return;
    close();
    simItem->perform();
}

void SimMenus::moveHighlight(int step) {
    auto menu = std::dynamic_pointer_cast<SimMenu>(open_);
    const auto& items = menu->simItems();
    int count = static_cast<int>(items.size());
    if (count == 0) return;
    auto current = menu->highlightedItem();
    int index = current ? menu->indexOfItem(*current) : (step > 0 ? -1 : count);
    for (int i = index + step; i >= 0 && i < count; i += step) {
        if (items[i]->isSelectable()) {
            menu->highlightItem(items[i]);
            return;
        }
    }
}

void SimMenus::handleKeyEvent(const Event& event) {
    auto menu = std::dynamic_pointer_cast<SimMenu>(open_);
    if (!menu || event.type != platform::EventType::KeyDown) return;
    auto highlighted = menu->highlightedItem();
    switch (event.keyCode) {
    case kEscape:
        close();
        return;
    case kReturn:
    case kKeypadEnter:
    case kSpace:
        if (highlighted && highlighted->isEnabled())
            choose(highlighted);
        else
            close();
        return;
    case kUpArrow:
        moveHighlight(-1);
        return;
    case kDownArrow:
        moveHighlight(+1);
        return;
    default:
        break;
    }
    for (const auto& item : menu->simItems()) {
        if (!item->isEnabled() || (item->isHidden() && !item->allowsKeyEquivalentWhenHidden())) continue;
        if (matchesKeyEquivalent(*item, event)) {
            choose(item);
            return;
        }
    }
}

bool SimMenus::performKeyEquivalent(const platform::Menu& menu, const Event& event) {
    for (const auto& entry : menu.items()) {
        if (auto submenu = entry->submenu()) {
            if (performKeyEquivalent(*submenu, event)) return true;
            continue;
        }
        auto item = std::dynamic_pointer_cast<SimMenuItem>(entry);
        if (!item || !item->isEnabled() || (item->isHidden() && !item->allowsKeyEquivalentWhenHidden()))
            continue;
        if (matchesKeyEquivalent(*item, event)) {
            item->perform();
            return true;
        }
    }
    return false;
}

std::string SimMenus::charactersIgnoringModifiers(std::uint16_t keyCode,
                                                  platform::ModifierFlags flags) const {
    if (auto function = platform::functionKeyEquivalent(keyCode)) return *function;
    auto layout = layouts_.currentASCIICapableLayout();
    if (!layout) return {};
    std::uint32_t deadKeyState = 0;
    std::u16string out;
    std::uint32_t shift = (flags & platform::kFlagShift) ? (platform::kCarbonShift >> 8) : 0;
    auto status = layout->translate(keyCode, platform::KeyAction::Down, shift, layouts_.keyboardType(),
                                    platform::DeadKeys::Suppress, deadKeyState, 4, out);
    return status == 0 ? platform::utf8FromUtf16(out) : std::string();
}

bool SimMenus::matchesKeyEquivalent(const MenuItem& item, const Event& event) const {
    const std::string key = item.keyEquivalent();
    if (key.empty() || event.type != platform::EventType::KeyDown) return false;
    // An upper-case letter stands for the letter typed with Shift.
    platform::ModifierFlags wanted = item.keyEquivalentModifierMask();
    if (isUppercaseLetter(key)) wanted |= platform::kFlagShift;
    platform::ModifierFlags held = event.modifierFlags & platform::kKeyEquivalentModifiers;
    std::string typed = charactersIgnoringModifiers(event.keyCode, event.modifierFlags);
    if (isLetter(key)) return held == wanted && lowercaseAscii(typed) == lowercaseAscii(key);
    // Other keys compare the character Shift made ("!" for Shift-1, never "1"); a Shift that
    // changed the character is part of it and need not be in the mask.
    if (typed != key) return false;
    if (held == wanted) return true;
    bool shiftMadeIt = (held & platform::kFlagShift) &&
                       charactersIgnoringModifiers(event.keyCode, held & ~platform::kFlagShift) != typed;
    return shiftMadeIt && (held & ~platform::kFlagShift) == wanted;
}

std::vector<std::string> SimMenus::shownTitles() const {
    std::vector<std::string> titles;
    auto menu = std::dynamic_pointer_cast<SimMenu>(open_);
    if (!menu) return titles;
    for (const auto& item : menu->simItems()) {
        if (item->isHidden()) continue;
        titles.push_back(item->isSeparator() ? "---" : item->title());
    }
    return titles;
}

} // namespace marlowick::sim
