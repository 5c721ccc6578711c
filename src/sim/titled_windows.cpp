#include "sim/titled_windows.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>

#include "platform/key_codes.h"

namespace marlowick::sim {

using platform::Rect;

namespace {

constexpr std::uint16_t kReturn = platform::kKeyCodeReturn;
constexpr std::uint16_t kKeypadEnter = platform::kKeyCodeKeypadEnter;

std::string autosaveKey(const std::string& name) {
    return "NSWindow Frame " + name;
}

std::optional<Rect> parseFrame(const std::string& text) {
    std::istringstream stream(text);
    double x, y, width, height;
    if (!(stream >> x >> y >> width >> height) || width <= 0 || height <= 0) return std::nullopt;
    return Rect(x, y, width, height);
}

const platform::ButtonView* findButton(const platform::ViewNode& node, const std::string& title) {
    if (const auto* button = node.as<platform::ButtonView>())
        return button->title == title ? button : nullptr;
    if (const auto* stack = node.as<platform::StackView>()) {
        for (const auto& child : stack->children) {
            if (const auto* found = findButton(child, title)) return found;
        }
    }
    return nullptr;
}

} // namespace

class SimTitledWindows::SimWindow final : public platform::Window {
public:
    SimWindow(SimTitledWindows& owner, std::weak_ptr<bool> ownerAlive, Rect contentRect, std::uint64_t mask)
        : owner_(owner), ownerAlive_(std::move(ownerAlive)), mask_(mask), frame_(withTitleBar(contentRect)),
          sized_(contentRect.width() > 0 && contentRect.height() > 0) {}
    ~SimWindow() override {
        if (!ownerAlive_.expired()) owner_.orderOut(this);
    }

    std::string title() const override { return title_; }
    void setTitle(std::string title) override { title_ = std::move(title); }
    std::uint64_t styleMask() const override { return mask_; }
    void setContent(platform::ViewNode content) override {
        content_ = std::move(content);
        if (sized_ || ownerAlive_.expired()) return;
        auto size = platform::layoutViews(content_, owner_.fonts_).size;
        double top = frame_.maxY();
        setFrame(Rect(frame_.minX(), top - size.height - kTitleBarHeight, size.width,
                      size.height + kTitleBarHeight));
    }
    const platform::ViewNode& content() const override { return content_; }

    Rect frame() const override { return frame_; }
    void setFrame(const Rect& frame) override {
        frame_ = frame;
        saveFrame();
    }
    void animateFrame(const Rect& frame) override { setFrame(frame); }
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

    std::optional<std::string> firstResponder() const override { return firstResponder_; }
    void makeFirstResponder(std::optional<std::string> identifier) override {
        firstResponder_ = std::move(identifier);
    }
    platform::Subscription observeKeyStatus(std::function<void(bool)> changed) override {
        auto id = nextObserver_++;
        keyObservers_.emplace(id, std::move(changed));
        std::weak_ptr<bool> alive = alive_;
        return platform::Subscription([this, alive, id] {
            if (!alive.expired()) keyObservers_.erase(id);
        });
    }

    void beginAlert(platform::Alert alert, std::function<void(std::size_t)> answered) override {
        alert_ = std::move(alert);
        answered_ = std::move(answered);
    }
    bool hasAlert() const override { return alert_.has_value(); }

    void makeKeyAndOrderFront() override {
        if (!ownerAlive_.expired()) owner_.orderFront(this, true);
    }
    void orderFrontRegardless() override {
        if (!ownerAlive_.expired()) owner_.orderFront(this, false);
    }
    bool isVisible() const override { return visible_; }
    bool isKeyWindow() const override { return !ownerAlive_.expired() && owner_.key_ == this; }
    void performClose() override {
        if (mask_ & platform::kWindowStyleClosable) close();
    }
    void close() override {
        if (!visible_) return;
        // Observers may drop their own handles while they run.
        auto observers = observers_;
        for (const auto& [id, observer] : observers) {
            if (observers_.contains(id)) observer();
        }
        if (!ownerAlive_.expired()) owner_.orderOut(this);
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
    static Rect withTitleBar(const Rect& content) {
        return Rect(content.minX(), content.minY(), content.width(), content.height() + kTitleBarHeight);
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
    Rect frame_;
    bool sized_;
    bool visible_ = false;
    std::string autosaveName_;
    std::map<std::uint64_t, std::function<void()>> observers_;
    std::map<std::uint64_t, std::function<void(bool)>> keyObservers_;
    platform::TitleVisibility titleVisibility_ = platform::TitleVisibility::Visible;
    bool transparentTitleBar_ = false;
    bool releasedWhenClosed_ = true;
    std::optional<std::string> firstResponder_;
    std::optional<platform::Alert> alert_;
    std::function<void(std::size_t)> answered_;
    std::uint64_t nextObserver_ = 1;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

SimTitledWindows::SimTitledWindows(platform::UserDefaults& defaults, SimScreens& screens,
                                   platform::Fonts& fonts)
    : defaults_(defaults), screens_(screens), fonts_(fonts) {}

SimTitledWindows::~SimTitledWindows() {
    *alive_ = false;
}

std::shared_ptr<platform::Window> SimTitledWindows::makeWindow(const Rect& contentRect,
                                                               std::uint64_t styleMask, platform::Defer) {
    auto window = std::make_shared<SimWindow>(*this, alive_, contentRect, styleMask);
    windows_.push_back(window);
    return window;
}

std::shared_ptr<platform::Window> SimTitledWindows::keyWindow() const {
    for (const auto& weak : windows_) {
        auto window = weak.lock();
        if (window && window.get() == key_) return window;
    }
    return nullptr;
}

std::vector<std::shared_ptr<platform::Window>> SimTitledWindows::visibleWindows() const {
    std::vector<std::shared_ptr<platform::Window>> visible;
    for (auto* front : order_) {
        for (const auto& weak : windows_) {
            auto window = weak.lock();
            if (window && window.get() == front) visible.push_back(window);
        }
    }
    return visible;
}

void SimTitledWindows::orderFront(SimWindow* window, bool makeKey) {
    std::erase(order_, window);
    order_.insert(order_.begin(), window);
    window->setVisible(true);
    if (makeKey) key_ = window;
}

void SimTitledWindows::orderOut(SimWindow* window) {
    std::erase(order_, window);
    window->setVisible(false);
    if (key_ == window) key_ = nullptr;
}

bool SimTitledWindows::handleKeyEvent(const platform::Event& event) {
    if (event.type != platform::EventType::KeyDown) return false;
    if (event.keyCode != kReturn && event.keyCode != kKeypadEnter) return false;
    auto window = keyWindow();
    if (!window) return false;
    const auto* button = platform::defaultButton(window->content());
    if (!button || !button->action) return false;
    auto action = button->action; // the action may replace the content that holds it
    action();
    return true;
}

bool SimTitledWindows::clickButton(const platform::Window& window, const std::string& title) {
    const auto* button = findButton(window.content(), title);
    if (!button || !button->action) return false;
    auto action = button->action;
    action();
    return true;
}

} // namespace marlowick::sim
