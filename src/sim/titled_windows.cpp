#include "sim/titled_windows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>

#include "platform/key_codes.h"
#include "sim/view_hits.h"

namespace marlowick::sim {

using platform::Rect;

namespace {

constexpr std::uint16_t kTab = 48;
constexpr platform::ModifierFlags kChordModifiers =
    platform::kFlagShift | platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand;

std::string autosaveKey(const std::string& name) {
    return "NSWindow Frame " + name;
}

std::optional<Rect> parseFrame(const std::string& text) {
    std::istringstream stream(text);
    double x, y, width, height;
    if (!(stream >> x >> y >> width >> height) || width <= 0 || height <= 0) return std::nullopt;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(width) || !std::isfinite(height))
        return std::nullopt;
    return Rect(x, y, width, height);
}

template <class View>
const View* findNode(const platform::ViewNode& node, const std::function<bool(const View&)>& match) {
    if (const auto* view = node.as<View>()) return match(*view) ? view : nullptr;
    if (const auto* stack = node.as<platform::StackView>()) {
        for (const auto& child : stack->children) {
            if (const auto* found = findNode<View>(child, match)) return found;
        }
    }
    return nullptr;
}

const platform::ShortcutFieldView* findField(const platform::ViewNode& root, const std::string& identifier) {
    return findNode<platform::ShortcutFieldView>(
        root, [&](const platform::ShortcutFieldView& field) { return field.identifier == identifier; });
}

// The window's key-view loop: without full keyboard access only text fields take the focus, and
// the shortcut fields are ours; disabled ones are skipped.
void collectKeyViews(const platform::ViewNode& node, bool disabled, std::vector<std::string>& loop) {
    disabled = disabled || node.disabled;
    if (const auto* field = node.as<platform::ShortcutFieldView>()) {
        if (!disabled) loop.push_back(field->identifier);
    } else if (const auto* stack = node.as<platform::StackView>()) {
        for (const auto& child : stack->children)
            collectKeyViews(child, disabled, loop);
    }
}

// Runs a copy of the callback: it may replace the tree that holds it.
template <class... Args> void run(const std::function<void(Args...)>& callback, Args... args) {
    if (!callback) return;
    auto copy = callback;
    copy(args...);
}

} // namespace

class SimTitledWindows::SimWindow final : public platform::Window {
public:
    SimWindow(SimTitledWindows& owner, std::weak_ptr<bool> ownerAlive, Rect contentRect, std::uint64_t mask)
        : owner_(owner), ownerAlive_(std::move(ownerAlive)), mask_(mask), frame_(withTitleBar(contentRect)),
          sized_(contentRect.width() > 0 && contentRect.height() > 0) {}
    ~SimWindow() override {
        *alive_ = false;
        if (!ownerAlive_.expired()) owner_.orderOut(this);
    }

    std::string title() const override { return title_; }
    void setTitle(std::string title) override { title_ = std::move(title); }
    std::uint64_t styleMask() const override { return mask_; }
    void setContent(platform::ViewNode content) override {
        // A first responder that leaves the tree resigns, as a view removed from its window does.
        std::function<void()> resign;
        if (firstResponder_ && !findField(content, *firstResponder_)) {
            if (const auto* old = findField(content_, *firstResponder_)) resign = old->onResignFirstResponder;
            firstResponder_.reset();
        }
        content_ = std::move(content);
        if (resign) run(resign);
        if (ownerAlive_.expired()) return;
        auto layout = platform::layoutViews(content_, owner_.fonts_);
        // As AppKit lays out the hosting views: each hosted view hears the size it was given.
        std::vector<std::pair<std::shared_ptr<platform::HostedContent>, platform::Size>> hosted;
        for (const auto& placed : layout.views) {
            if (const auto* view = placed.node->as<platform::HostedView>(); view && view->content)
                hosted.emplace_back(view->content, placed.frame.size);
        }
        for (const auto& [content, size] : hosted)
            content->setSize(size);
        if (sized_) return;
        auto size = layout.size;
        setFrame(Rect(frame_.minX(), frame_.minY(), size.width, size.height + titleBarHeight()));
    }
    const platform::ViewNode& content() const override { return content_; }

    Rect frame() const override {
        if (!animation_ || ownerAlive_.expired()) return frame_;
        double progress =
            std::clamp((owner_.loop_.now() - animation_->start) / animation_->duration, 0.0, 1.0);
        auto mix = [&](double a, double b) { return a + (b - a) * progress; };
        const Rect& a = animation_->from;
        return Rect(mix(a.minX(), frame_.minX()), mix(a.minY(), frame_.minY()),
                    mix(a.width(), frame_.width()), mix(a.height(), frame_.height()));
    }
    Rect target() const { return frame_; }
    void setFrame(const Rect& frame) override {
        animation_.reset();
        frame_ = frame;
        saveFrame();
    }
    void animateFrame(const Rect& frame) override {
        if (ownerAlive_.expired()) return setFrame(frame);
        Rect from = this->frame();
        double duration = kResizeTimePer150Points * std::abs(frame.height() - from.height()) / 150;
        if (duration <= 0) return setFrame(frame);
        frame_ = frame;
        animation_ = Animation{from, owner_.loop_.now(), duration, ++animationNumber_};
        std::weak_ptr<bool> alive = alive_;
        auto number = animationNumber_;
        owner_.loop_.asyncAfter(duration, [this, alive, number] {
            if (alive.expired() || !animation_ || animationNumber_ != number) return;
            animation_.reset();
            saveFrame();
        });
    }
    void center() override {
        if (ownerAlive_.expired()) return;
        auto screens = owner_.screens_.screenFrames();
        if (screens.empty()) return;
        Rect screen = screens.front();
        double usableHeight = screen.height() - SimScreens::kMenuBarHeight;
        setFrame(Rect(screen.minX() + (screen.width() - frame_.width()) / 2,
                      screen.minY() + (usableHeight - frame_.height()) / 2, frame_.width(), frame_.height()));
    }
    void setFrameAutosaveName(const std::string& name) override {
        autosaveName_ = name;
        if (ownerAlive_.expired() || name.empty()) return;
        if (auto saved = owner_.defaults_.string(autosaveKey(name))) {
            if (auto frame = parseFrame(*saved)) frame_ = *frame;
        }
        saveFrame();
    }

    void setTitleVisibility(platform::TitleVisibility visibility) override { titleVisibility_ = visibility; }
    void setTitlebarAppearsTransparent(bool transparent) override { transparentTitleBar_ = transparent; }
    void setReleasedWhenClosed(bool released) override { releasedWhenClosed_ = released; }
    TitleBarLook look() const {
        return {fullSizeContent(), titleVisibility_ == platform::TitleVisibility::Hidden,
                transparentTitleBar_};
    }
    double contentTop() const { return fullSizeContent() ? 0 : kTitleBarHeight; }

    std::optional<std::string> firstResponder() const override { return firstResponder_; }
    void makeFirstResponder(std::optional<std::string> identifier) override {
        if (identifier && !findField(content_, *identifier)) return;
        if (identifier == firstResponder_) return;
        std::function<void()> resign, become;
        if (firstResponder_) {
            if (const auto* old = findField(content_, *firstResponder_)) resign = old->onResignFirstResponder;
        }
        if (identifier) become = findField(content_, *identifier)->onBecomeFirstResponder;
        firstResponder_ = std::move(identifier);
        std::weak_ptr<bool> alive = alive_;
        if (resign) run(resign);
        if (become && !alive.expired()) run(become);
    }
    void selectNextKeyView() override {
        std::vector<std::string> loop;
        collectKeyViews(content_, false, loop);
        auto next = loop.begin();
        if (firstResponder_) {
            auto at = std::find(loop.begin(), loop.end(), *firstResponder_);
            next = at == loop.end() ? loop.begin() : std::next(at) == loop.end() ? loop.begin() : std::next(at);
        }
        makeFirstResponder(next == loop.end() ? std::nullopt : std::optional(*next));
    }
    platform::Subscription observeKeyStatus(std::function<void(bool)> changed) override {
        auto id = nextObserver_++;
        keyObservers_.emplace(id, std::move(changed));
        std::weak_ptr<bool> alive = alive_;
        return platform::Subscription([this, alive, id] {
            if (!alive.expired()) keyObservers_.erase(id);
        });
    }
    void tellKeyStatus(bool isKey) {
        auto observers = keyObservers_;
        std::weak_ptr<bool> alive = alive_;
        for (const auto& [id, observer] : observers) {
            if (alive.expired()) return;
            if (keyObservers_.contains(id)) run(observer, isKey);
        }
    }

    void showAlert(platform::Alert alert) override {
        // The sheet becomes the key window in its parent's place, so the parent hears that it
        // stopped being key.
        if (sheet_) return;
        sheet_ = std::move(alert);
        if (!ownerAlive_.expired() && owner_.key_ == this) tellKeyStatus(false);
    }
    bool hasAlert() const override { return sheet_.has_value(); }
    void endAlert(std::size_t button) override { endSheet(static_cast<std::int64_t>(button)); }
    void setEventHandlers(platform::WindowEventHandlers handlers) override {
        handlers_ = std::move(handlers);
    }
    const std::optional<platform::Alert>& alert() const { return sheet_; }
    void endSheet(std::int64_t response) {
        if (!sheet_) return;
        sheet_.reset();
        std::weak_ptr<bool> alive = alive_;
        if (!ownerAlive_.expired() && owner_.key_ == this) tellKeyStatus(true);
        if (!alive.expired()) run(handlers_.sheetEnded, response);
    }
    // A key-down while the sheet is up: its handler first, then a button whose key equivalent it is.
    bool sheetKey(const platform::Event& event) {
        std::weak_ptr<bool> alive = alive_;
        auto handler = handlers_.sheetKeyDown;
        if (handler && handler(event)) return true;
        if (alive.expired() || !sheet_ || (event.modifierFlags & kChordModifiers)) return false;
        const bool enter =
            event.keyCode == platform::kKeyCodeReturn || event.keyCode == platform::kKeyCodeKeypadEnter;
        const auto key = enter                                       ? platform::AlertKey::Return
                         : event.keyCode == platform::kKeyCodeEscape ? platform::AlertKey::Escape
                                                                     : platform::AlertKey::None;
        for (std::size_t i = 0; key != platform::AlertKey::None && i < sheet_->buttons.size(); ++i) {
            if (sheet_->buttons[i].key != key) continue;
            endAlert(i);
            return true;
        }
        return false;
    }

    // A click at a content point, as AppKit's controls take it once the handler has seen it.
    bool click(platform::Point point, std::optional<int> option) {
        if (sheet_ || ownerAlive_.expired()) return false;
        auto layout = platform::layoutViews(content_, owner_.fonts_);
        auto hit = hitTest(layout, point);
        bool takes = hit && !hit->placed->disabled;
        // Every callback may rebuild the tree the layout points into: take what the click does
        // out of it before any of them runs.
        platform::MouseDown down{point, std::nullopt, false};
        std::function<void()> act;
        std::optional<std::string> focus;
        if (hit) {
            if (const auto* field = hit->placed->node->as<platform::ShortcutFieldView>()) {
                down.field = field->identifier;
                down.onClearButton = hit->onClearButton;
            }
        }
        if (takes) {
            const platform::ViewNode& node = *hit->placed->node;
            if (const auto* button = node.as<platform::ButtonView>()) {
                act = button->action;
            } else if (const auto* toggle = node.as<platform::SwitchView>()) {
                if (toggle->onChange) act = [change = toggle->onChange, on = !toggle->isOn] { change(on); };
            } else if (const auto* picker = node.as<platform::PickerView>()) {
                bool valid = option && *option >= 0 && *option < static_cast<int>(picker->options.size());
                if (!valid) return false;
                if (picker->onSelect) act = [select = picker->onSelect, index = *option] { select(index); };
            } else if (const auto* swatch = node.as<platform::SwatchView>()) {
                act = swatch->action;
            } else if (const auto* field = node.as<platform::ShortcutFieldView>()) {
                // A field takes the focus; its clear button then clears it.
                focus = field->identifier;
                if (hit->onClearButton) act = field->onClear;
            }
        }
        std::weak_ptr<bool> alive = alive_;
        auto handler = handlers_.mouseDown;
        if (handler && handler(down)) return true;
        if (!takes || alive.expired()) return false;
        if (focus) makeFirstResponder(focus);
        if (act && !alive.expired()) act();
        return true;
    }

    bool clickButton(const std::string& title) {
        if (ownerAlive_.expired()) return false;
        auto layout = platform::layoutViews(content_, owner_.fonts_);
        for (const auto& placed : layout.views) {
            const auto* button = placed.node->as<platform::ButtonView>();
            if (button && button->title == title)
                return click({placed.frame.midX(), placed.frame.midY()}, std::nullopt);
        }
        return false;
    }

    void makeKeyAndOrderFront() override {
        if (!ownerAlive_.expired()) owner_.orderFront(this, true);
    }
    void orderFrontRegardless() override {
        if (!ownerAlive_.expired()) owner_.orderFront(this, false);
    }
    bool isVisible() const override { return visible_; }
    // While a sheet shows, the sheet is the key window.
    bool isKeyWindow() const override { return !ownerAlive_.expired() && owner_.key_ == this && !sheet_; }
    // A sheet that waits for its answer keeps the window open: its close button takes no click.
    void performClose() override {
        if ((mask_ & platform::kWindowStyleClosable) && !sheet_) close();
    }
    void close() override {
        if (!visible_) return;
        std::weak_ptr<bool> alive = alive_;
        // Observers may drop their own handles while they run.
        auto observers = observers_;
        for (const auto& [id, observer] : observers) {
            if (alive.expired()) return;
            if (observers_.contains(id)) observer();
        }
        if (!alive.expired() && !ownerAlive_.expired()) owner_.orderOut(this);
    }
    platform::Subscription observeWillClose(std::function<void()> willClose) override {
        auto id = nextObserver_++;
        observers_.emplace(id, std::move(willClose));
        std::weak_ptr<bool> alive = alive_;
        return platform::Subscription([this, alive, id] {
            if (!alive.expired()) observers_.erase(id);
        });
    }

    void setVisible(bool visible) { visible_ = visible; }

private:
    struct Animation {
        Rect from;
        double start = 0;
        double duration = 0;
        std::uint64_t number = 0;
    };

    bool fullSizeContent() const { return (mask_ & platform::kWindowStyleFullSizeContentView) != 0; }
    double titleBarHeight() const { return fullSizeContent() ? 0 : kTitleBarHeight; }
    Rect withTitleBar(const Rect& content) const {
        return Rect(content.minX(), content.minY(), content.width(), content.height() + titleBarHeight());
    }
    void saveFrame() {
        if (autosaveName_.empty() || ownerAlive_.expired()) return;
        char text[128];
        std::snprintf(text, sizeof text, "%g %g %g %g", frame_.minX(), frame_.minY(), frame_.width(),
                      frame_.height());
        owner_.defaults_.set(autosaveKey(autosaveName_), std::string(text));
    }

    SimTitledWindows& owner_;
    std::weak_ptr<bool> ownerAlive_;
    std::uint64_t mask_;
    std::string title_;
    platform::ViewNode content_;
    Rect frame_; // the target while animating
    std::optional<Animation> animation_;
    std::uint64_t animationNumber_ = 0;
    bool sized_;
    bool visible_ = false;
    std::string autosaveName_;
    std::map<std::uint64_t, std::function<void()>> observers_;
    std::map<std::uint64_t, std::function<void(bool)>> keyObservers_;
    std::uint64_t nextObserver_ = 1;
    platform::TitleVisibility titleVisibility_ = platform::TitleVisibility::Visible;
    bool transparentTitleBar_ = false;
    // The sim keeps every window while a handle to it lives either way; the setting is AppKit's.
    bool releasedWhenClosed_ = true;
    std::optional<std::string> firstResponder_;
    std::optional<platform::Alert> sheet_;
    platform::WindowEventHandlers handlers_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

SimTitledWindows::SimTitledWindows(platform::UserDefaults& defaults, SimScreens& screens,
                                   platform::Fonts& fonts, platform::RunLoop& loop)
    : defaults_(defaults), screens_(screens), fonts_(fonts), loop_(loop) {}

SimTitledWindows::~SimTitledWindows() {
    *alive_ = false;
}

std::shared_ptr<platform::Window> SimTitledWindows::makeWindow(const Rect& contentRect,
                                                               std::uint64_t styleMask, platform::Defer) {
    auto window = std::make_shared<SimWindow>(*this, alive_, contentRect, styleMask);
    windows_.push_back(window);
    return window;
}

std::shared_ptr<SimTitledWindows::SimWindow> SimTitledWindows::find(SimWindow* window) const {
    for (const auto& weak : windows_) {
        auto found = weak.lock();
        if (found && found.get() == window) return found;
    }
    return nullptr;
}

std::shared_ptr<platform::Window> SimTitledWindows::keyWindow() const {
    return key_ ? find(key_) : nullptr;
}

std::vector<std::shared_ptr<platform::Window>> SimTitledWindows::visibleWindows() const {
    std::vector<std::shared_ptr<platform::Window>> visible;
    for (auto* front : order_) {
        if (auto window = find(front)) visible.push_back(window);
    }
    return visible;
}

void SimTitledWindows::setKey(SimWindow* window) {
    if (key_ == window) return;
    SimWindow* old = std::exchange(key_, window);
    // Hold both while their observers run: an observer may drop the last other handle.
    auto oldHandle = old ? find(old) : nullptr;
    auto newHandle = window ? find(window) : nullptr;
    if (oldHandle) oldHandle->tellKeyStatus(false);
    if (newHandle && key_ == window) newHandle->tellKeyStatus(true);
}

void SimTitledWindows::orderFront(SimWindow* window, bool makeKey) {
    std::erase(order_, window);
    order_.insert(order_.begin(), window);
    window->setVisible(true);
    if (makeKey) setKey(window);
}

void SimTitledWindows::orderOut(SimWindow* window) {
    std::erase(order_, window);
    window->setVisible(false);
    if (key_ != window) return;
    // The window being destroyed is told nothing; the next one in front becomes key.
    if (!find(window)) key_ = nullptr;
    setKey(order_.empty() ? nullptr : order_.front());
}

bool SimTitledWindows::handleKeyEvent(const platform::Event& event) {
    if (event.type != platform::EventType::KeyDown || !key_) return false;
    auto window = find(key_);
    if (!window) return false;
    if (window->alert()) return window->sheetKey(event);
    if (event.keyCode == kTab && (event.modifierFlags & kChordModifiers) == 0) {
        window->selectNextKeyView();
        return true;
    }
    bool enter = event.keyCode == platform::kKeyCodeReturn || event.keyCode == platform::kKeyCodeKeypadEnter;
    if (!enter) return false;
    const auto* button = platform::defaultButton(window->content());
    if (!button || !button->action) return false;
    auto action = button->action; // the action may replace the content that holds it
    action();
    return true;
}

bool SimTitledWindows::click(platform::Window& window, platform::Point point) {
    auto* sim = dynamic_cast<SimWindow*>(&window);
    return sim && sim->click(point, std::nullopt);
}

bool SimTitledWindows::choose(platform::Window& window, platform::Point point, int option) {
    auto* sim = dynamic_cast<SimWindow*>(&window);
    return sim && sim->click(point, option);
}

bool SimTitledWindows::pressAlertButton(platform::Window& window, const std::string& title) {
    auto* sim = dynamic_cast<SimWindow*>(&window);
    auto alert = sim ? sim->alert() : std::nullopt;
    if (!alert) return false;
    for (std::size_t i = 0; i < alert->buttons.size(); ++i) {
        if (alert->buttons[i].title != title) continue;
        sim->endAlert(i);
        return true;
    }
    return false;
}

bool SimTitledWindows::clickButton(platform::Window& window, const std::string& title) {
    auto* sim = dynamic_cast<SimWindow*>(&window);
    return sim && sim->clickButton(title);
}

std::optional<platform::Alert> SimTitledWindows::alert(const platform::Window& window) {
    const auto* sim = dynamic_cast<const SimWindow*>(&window);
    return sim ? sim->alert() : std::nullopt;
}

TitleBarLook SimTitledWindows::titleBarLook(const platform::Window& window) {
    const auto* sim = dynamic_cast<const SimWindow*>(&window);
    return sim ? sim->look() : TitleBarLook{};
}

double SimTitledWindows::contentTop(const platform::Window& window) {
    const auto* sim = dynamic_cast<const SimWindow*>(&window);
    return sim ? sim->contentTop() : kTitleBarHeight;
}

Rect SimTitledWindows::targetFrame(const platform::Window& window) {
    const auto* sim = dynamic_cast<const SimWindow*>(&window);
    return sim ? sim->target() : window.frame();
}

} // namespace marlowick::sim
