#include "console/session.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <cairo.h>

#include "app/app_delegate.h"
#include "console/screen.h"
#include "notificationcenter/controller.h"
#include "overlay/sidebar_overlay.h"
#include "sim/tree_files.h"

namespace marlowick::console {

namespace {

using Result = Session::Result;

// Whether an animation of the layer, its mask or a sublayer's is under way at the time.
bool appliesAnimation(const platform::Layer& layer, double time) {
    for (const auto& key : layer.animationKeys()) {
        const auto* animation = layer.animation(key);
        if (animation && animation->beginTime <= time && time < animation->endTime()) return true;
    }
    if (layer.mask() && appliesAnimation(*layer.mask(), time)) return true;
    return std::any_of(layer.sublayers().begin(), layer.sublayers().end(),
                       [&](const auto& sublayer) { return appliesAnimation(*sublayer, time); });
}

Result failed(std::string message) {
    return {false, false, std::move(message)};
}
Result printed(std::string message) {
    return {true, false, std::move(message)};
}

sim::LayoutId layoutId(LayoutName name) {
    switch (name) {
    case LayoutName::US:
        return sim::LayoutId::US;
    case LayoutName::German:
        return sim::LayoutId::German;
    case LayoutName::French:
        return sim::LayoutId::French;
    case LayoutName::Dvorak:
        return sim::LayoutId::Dvorak;
    case LayoutName::PartialLatin:
        return sim::LayoutId::PartialLatin;
    }
    return sim::LayoutId::US;
}

void postSamples(sim::SimNotificationCenter& center) {
    center.post({.app = "Mail", .title = "Lunch on Friday?", .body = "Ana: the new place by the river"});
    center.post({.app = "Messages", .title = "Ana", .body = "The train is late, see you at 8"});
    center.post({.app = "Calendar", .title = "Design review", .body = "In 15 minutes, room 3"});
    center.post({.app = "Messages", .title = "Jonas", .body = "Bring the keys, please"});
}

// The first visible text of an element, read straight from the simulated process: a static text's
// value, "header" texts left out, in pre-order.
std::string firstText(const sim::AXNode& node, int depth) {
    if (node.stringValue("AXRole") == "AXStaticText" && node.stringValue("AXIdentifier") != "header") {
        std::string value = node.stringValue("AXValue");
        if (!value.empty()) return value;
    }
    if (depth >= 10) return {};
    for (const auto& child : node.children()) {
        if (auto text = firstText(*child, depth + 1); !text.empty()) return text;
    }
    return {};
}

std::string firstText(const platform::Element& element) {
    auto* ref = dynamic_cast<const sim::SimElementRef*>(element.ref());
    auto node = ref ? ref->node() : nullptr;
    return node ? firstText(*node, 0) : std::string();
}

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// A file name made of the command's words: "012-key-opt+n.png".
std::string screenshotName(int number, const std::string& text) {
    std::string name;
    for (char c : text) {
        if (c == '#') break;
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
                     c == '-' || c == ',' || c == '.';
        if (plain)
            name += c;
        else if (!name.empty() && name.back() != '-')
            name += '-';
        if (name.size() >= 48) break;
    }
    while (!name.empty() && name.back() == '-')
        name.pop_back();
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%03d-", number);
    return prefix + name + ".png";
}

} // namespace

Session::Session(Options options)
    : options_(std::move(options)),
      mac_(sim::SimMac::Options{.home = options_.home,
                                .epoch = options_.epoch.value_or(sim::SimMac::Options{}.epoch),
                                .trusted = options_.world == World::Ready,
                                .notificationCenterRunning = true}) {
    mac_.process().setEcho(options_.echoLog);
    mac_.process().setBundleValue("CFBundleShortVersionString", std::string(MARLOWICK_VERSION));
    if (options_.world == World::Ready) {
        postSamples(mac_.notificationCenter());
        launch();
    }
}

Session::~Session() = default;

Result Session::launch(const command::Launch& launch) {
    if (app_ && !mac_.application().isTerminated()) return failed("Marlowick is already running");
    if (app_) {
        // A full run leaves its hot keys and status item with the simulated Mac; only a run that
        // registered none of them (a tree dump) can be followed by another.
        if (app_->statusItem())
            return failed("Marlowick has quit; only a run that recorded a tree is launched again");
        mac_.application().relaunch();
    }
    mac_.process().setArguments(launch.arguments.value_or(options_.arguments));
    app_ = AppDelegate::create();
    // The process entry runs nothing before the event loop: the launch is the loop's first turn.
    mac_.runLoop().async([app = app_] { app->applicationDidFinishLaunching(); });
    mac_.runUntilIdle();
    if (auto status = mac_.application().exitStatus(); status && *status != 0)
        return printed("(Marlowick exited with status " + std::to_string(*status) + ")");
    return {};
}

std::string Session::resolve(const std::string& path) const {
    if (path.starts_with("~/")) return mac_.home() + path.substr(1);
    if (options_.folder.empty() || std::filesystem::path(path).is_absolute()) return path;
    return (std::filesystem::path(options_.folder) / path).string();
}

Result Session::treeFile(const command::TreeFile& command) {
    std::string path = resolve(command.path);
    if (command.dump) {
        if (auto error = sim::writeTreeFile(path, sim::recordSimulatedTree(mac_))) return failed(*error);
        return {};
    }
    auto read = sim::readTreeFile(path);
    if (const auto* error = std::get_if<TreeFileError>(&read)) {
        std::string where = error->line > 0 ? ":" + std::to_string(error->line) : "";
        return failed(path + where + ": " + error->reason);
    }
    sim::showRecordedTree(mac_, std::move(std::get<RecordedTree>(read)));
    return {};
}

Result Session::run(const Command& command) {
    Result result = dispatch(command);
    if (!std::holds_alternative<command::Wait>(command.body)) mac_.runUntilIdle();
    if (!result.ok) return result;
    if (auto shot = afterAction(command); !shot.ok) return shot;
    return result;
}

Result Session::afterAction(const Command& command) {
    if (options_.screenshotsDir.empty()) return {};
    bool action = std::holds_alternative<command::Key>(command.body) ||
                  std::holds_alternative<command::Menu>(command.body) ||
                  std::holds_alternative<command::Sidebar>(command.body) ||
                  std::holds_alternative<command::Window>(command.body);
    if (!action) return {};
    ++screenshots_;
    auto path = std::filesystem::path(options_.screenshotsDir) / screenshotName(screenshots_, command.text);
    return screenshot(path.string());
}

Result Session::dispatch(const Command& command) {
    using namespace command;
    auto& center = mac_.notificationCenter();
    const auto& body = command.body;
    if (const auto* launchCommand = std::get_if<Launch>(&body)) return launch(*launchCommand);
    if (const auto* tree = std::get_if<TreeFile>(&body)) return treeFile(*tree);
    if (auto* wait = std::get_if<Wait>(&body)) {
        mac_.runFor(wait->seconds);
        return {};
    }
    if (auto* permission = std::get_if<Permission>(&body)) {
        if (permission->state == Permission::State::Stale)
            mac_.accessibility().setPermissionStale();
        else
            mac_.accessibility().setTrusted(permission->state == Permission::State::Granted);
        return {};
    }
    if (auto* language = std::get_if<Language>(&body)) {
        if (language->labels) {
            const auto& labels = *language->labels;
            center.setCustomLanguage(language->code, labels.close, labels.clearAll, labels.show);
        } else if (!center.setLanguage(language->code)) {
            return failed("Notification Center ships no " + inQuotes(language->code) +
                          ": give its Close, Clear All and Show labels");
        }
        mac_.bundleStrings().setPreferredLanguages({language->code});
        return {};
    }
    if (auto* lazy = std::get_if<Lazy>(&body)) {
        center.setLazy(lazy->on);
        return {};
    }
    if (auto* widgets = std::get_if<DesktopWidgets>(&body)) {
        center.setDesktopWidgets(widgets->count);
        return {};
    }
    if (auto* widgets = std::get_if<Widgets>(&body)) {
        center.setWidgets(widgets->count);
        return {};
    }
    if (auto* user = std::get_if<User>(&body)) {
        bool done =
            user->action == User::Action::Close ? center.userClose(user->what) : center.userClear(user->what);
        if (!done) return printed("(Notification Center shows no such row: " + inQuotes(user->what) + ")");
        return {};
    }
    if (auto* feed = std::get_if<Feed>(&body)) {
        mac_.updates().setAvailableVersion(feed->version);
        return {};
    }
    if (auto* check = std::get_if<UpdateCheck>(&body)) {
        if (check->scheduled) {
            if (auto reason = mac_.updates().runScheduledCheck())
                return printed("(no scheduled check: " + *reason + ")");
        } else
            mac_.updates().runUserCheck();
        return {};
    }
    if (auto* tool = std::get_if<SampleTool>(&body)) {
        using State = SampleTool::State;
        mac_.workspace().setToolMissing("/usr/bin/sample", tool->state == State::Missing);
        mac_.workspace().setToolExitStatus("/usr/bin/sample", tool->state == State::Failing ? 1 : 0);
        return {};
    }
    if (auto* nc = std::get_if<NotificationCenter>(&body)) {
        using Action = NotificationCenter::Action;
        using State = sim::SimNotificationCenter::State;
        switch (nc->action) {
        case Action::Running:
            if (center.state() == State::Quit) center.launch();
            if (center.state() == State::Hung) center.answer();
            break;
        case Action::Quit:
            center.quit();
            break;
        case Action::Restart:
            center.restart();
            break;
        case Action::Crash:
            center.crash();
            break;
        case Action::Hung:
            center.hang();
            break;
        case Action::Answering:
            center.answer();
            break;
        }
        return {};
    }
    if (auto* post = std::get_if<Post>(&body)) {
        center.post({.app = post->app,
                     .title = post->title,
                     .body = post->body,
                     .subtitle = post->subtitle,
                     .id = post->id,
                     .older = post->older,
                     .actions = post->actions});
        return {};
    }
    if (auto* sidebar = std::get_if<Sidebar>(&body)) {
        bool reacted = sidebar->open ? center.openSidebar() : center.closeSidebar();
        if (!reacted) return printed("(Notification Center did not react)");
        return {};
    }
    if (auto* key = std::get_if<Key>(&body)) return press(key->chord);
    if (auto* held = std::get_if<Hold>(&body)) return hold(held->chord);
    if (auto* layout = std::get_if<Layout>(&body)) {
        mac_.keyboardLayouts().select(layoutId(layout->layout));
        return {};
    }
    if (auto* locale = std::get_if<Locale>(&body)) {
        mac_.dateFormatter().setLocale(locale->code);
        return {};
    }
    if (auto* menuCommand = std::get_if<Menu>(&body)) return menu(*menuCommand);
    if (auto* defaults = std::get_if<Defaults>(&body)) {
        if (defaults->value)
            mac_.defaults().set(defaults->key, *defaults->value);
        else
            mac_.defaults().remove(defaults->key);
        return {};
    }
    if (auto* bundle = std::get_if<Bundle>(&body)) {
        if (app_) return failed("bundle values are read at launch: set them before `launch`");
        if (bundle->value)
            mac_.process().setBundleValue(bundle->key, *bundle->value);
        else
            mac_.process().removeBundleValue(bundle->key);
        return {};
    }
    if (auto* expectation = std::get_if<ExpectLog>(&body)) return expectLog(*expectation);
    if (auto* opened = std::get_if<ExpectOpened>(&body)) {
        const auto& all = center.opened();
        bool found = std::any_of(all.begin(), all.end(),
                                 [&](const sim::SimNotification& n) { return n.title == opened->title; });
        if (found) return {};
        std::string seen;
        for (const auto& n : all)
            seen += (seen.empty() ? "" : ", ") + inQuotes(n.title);
        return failed("no notification titled " + inQuotes(opened->title) +
                      " was opened; opened: " + (seen.empty() ? "none" : seen));
    }
    if (auto* action = std::get_if<ExpectAction>(&body)) {
        const auto& all = center.receivedActions();
        bool found = std::any_of(all.begin(), all.end(), [&](const auto& received) {
            return received.label == action->label && received.title == action->title;
        });
        if (found) return {};
        std::string seen;
        for (const auto& received : all)
            seen += (seen.empty() ? "" : ", ") + inQuotes(received.label) + " on " + inQuotes(received.title);
        return failed("Notification Center received no " + inQuotes(action->label) + " on " +
                      inQuotes(action->title) + "; received: " + (seen.empty() ? "none" : seen));
    }
    if (auto* sidebar = std::get_if<ExpectSidebar>(&body)) {
        if (center.sidebarIsOpen() == sidebar->open) return {};
        return failed(std::string("the sidebar is ") + (sidebar->open ? "closed" : "open"));
    }
    if (std::holds_alternative<ExpectPicker>(body) || std::holds_alternative<ExpectSelected>(body) ||
        std::holds_alternative<ExpectItems>(body) || std::holds_alternative<ExpectRing>(body))
        return expectPicker(command);
    if (auto* row = std::get_if<ExpectMenuRow>(&body)) return expectMenuRow(*row);
    if (auto* windowCommand = std::get_if<Window>(&body)) return window(*windowCommand);
    if (auto* appearance = std::get_if<Appearance>(&body)) {
        mac_.appearance().set(appearance->dark ? platform::Appearance::Dark : platform::Appearance::Light);
        return {};
    }
    if (auto* reduceMotion = std::get_if<ReduceMotion>(&body)) {
        mac_.appearance().setReducesMotion(reduceMotion->on);
        return {};
    }
    if (auto* loginItem = std::get_if<LoginItem>(&body)) {
        using Answer = sim::SimLoginItems::Answer;
        mac_.loginItems().setAnswer(loginItem->answer == LoginItem::Answer::Allow    ? Answer::Allow
                                    : loginItem->answer == LoginItem::Answer::Refuse ? Answer::Refuse
                                                                                     : Answer::Disabled);
        return {};
    }
    if (auto result = expectWindow(body)) return *result;
    if (auto* shot = std::get_if<Screenshot>(&body)) return screenshot(shot->path, shot->frontWindow);
    if (std::holds_alternative<Show>(body)) return printed(describeScreen(mac_, app_.get()));
    if (std::holds_alternative<Help>(body)) return printed(std::string(commandSummary()));
    if (std::holds_alternative<Quit>(body)) return {true, true, ""};
    return failed("command not available here");
}

std::optional<std::uint16_t> Session::keyCode(const Chord& chord) {
    if (chord.keyCode) return chord.keyCode;
    auto layout = mac_.keyboardLayouts().currentASCIICapableLayout();
    return keyCodeFor(chord.character, layout.get(), mac_.keyboardLayouts().keyboardType());
}

Result Session::press(const Chord& chord) {
    auto code = keyCode(chord);
    if (!code) return failed("no key types " + inQuotes(chord.text) + " on this layout");
    mac_.keyboard().type({*code, chord.modifiers});
    return {};
}

Result Session::hold(const Chord& chord) {
    auto code = keyCode(chord);
    if (!code) return failed("no key types " + inQuotes(chord.text) + " on this layout");
    mac_.hotKeys().holdForOtherApplication(*code, sim::SimKeyboard::carbonModifiers(chord.modifiers),
                                           "Other Application");
    return {};
}

Result Session::menu(const command::Menu& menu) {
    using Action = command::Menu::Action;
    if (!app_ || !app_->statusItem()) return failed("there is no status item: `launch` Marlowick first");
    switch (menu.action) {
    case Action::Open:
        if (mac_.menus().openMenu()) return failed("a menu is open already");
        mac_.statusBar().click();
        return {};
    case Action::Close:
        if (!mac_.menus().openMenu()) return failed("no menu is open");
        mac_.menus().close();
        return {};
    case Action::Click: {
        auto open = mac_.menus().openMenu();
        if (!open) return failed("no menu is open: `menu open` first");
        auto items = open->items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i]->isHidden() || items[i]->title() != menu.title) continue;
            if (!items[i]->isEnabled()) return printed("(" + inQuotes(menu.title) + " is disabled)");
            mac_.menus().click(static_cast<int>(i));
            return {};
        }
        return failed("the open menu has no row " + inQuotes(menu.title));
    }
    }
    return {};
}

Result Session::expectLog(const command::ExpectLog& expectation) {
    using Match = command::ExpectLog::Match;
    auto lines = mac_.logLinesFrom(logCursor_);
    auto matches = [&](const sim::SimMac::LogLine& line) {
        return expectation.match == Match::Exact ? line.message == expectation.text
                                                 : line.message.starts_with(expectation.text);
    };
    auto found = std::find_if(lines.begin(), lines.end(), matches);
    if (expectation.match == Match::Absent) {
        if (found == lines.end()) return {};
        return failed("the log has " + inQuotes(found->message));
    }
    if (found != lines.end()) {
        logCursor_ = found->number + 1;
        return {};
    }
    std::string seen;
    constexpr std::size_t kShown = 12;
    for (std::size_t i = lines.size() > kShown ? lines.size() - kShown : 0; i < lines.size(); ++i)
        seen += "\n    " + lines[i].message;
    return failed("no such log line" + std::string(logCursor_ > 0 ? " after the previous match" : "") +
                  "; written since:" + (seen.empty() ? " nothing" : seen));
}

Result Session::expectPicker(const Command& command) {
    using namespace command;
    // The picker shows when the controller's overlay panel is on screen.
    std::shared_ptr<SidebarOverlay> overlay;
    if (app_ && !mac_.windows().onScreen().empty()) overlay = app_->controller()->shownOverlay();
    if (auto* picker = std::get_if<ExpectPicker>(&command.body)) {
        if (static_cast<bool>(overlay) == picker->shown) return {};
        return failed(std::string("the picker is ") + (overlay ? "shown" : "hidden"));
    }
    if (auto* selected = std::get_if<ExpectSelected>(&command.body)) {
        if (!overlay) return failed("the picker is hidden");
        if (selected->title) {
            auto item = app_->controller()->selectedItem();
            std::string title = item ? firstText(*item) : "";
            if (item && title == *selected->title) return {};
            return failed("the selected item's first text is " + (item ? inQuotes(title) : "missing"));
        }
        if (overlay->selected + 1 == selected->position) return {};
        return failed("item " + std::to_string(overlay->selected + 1) + " is selected");
    }
    if (auto* ring = std::get_if<ExpectRing>(&command.body)) {
        if (!overlay) return failed("the picker is hidden");
        const bool animated = appliesAnimation(*overlay->indicator, mac_.now());
        if (animated == ring->animated) return {};
        return failed(std::string("the ring is ") + (animated ? "animated" : "plain"));
    }
    const auto& items = std::get<ExpectItems>(command.body);
    int count = overlay ? static_cast<int>(overlay->itemFrames.size())
                        : static_cast<int>(mac_.notificationCenter().sidebarRows().size());
    if (count == items.count) return {};
    return failed((overlay ? "the picker has " : "the sidebar lists ") + std::to_string(count) + " item(s)");
}

Result Session::expectMenuRow(const command::ExpectMenuRow& expectation) {
    using State = command::ExpectMenuRow::State;
    // Rows are refreshed as the menu opens, so they are only seen (and checked) in the open menu.
    auto menu = mac_.menus().openMenu();
    if (!menu) return failed("no menu is open: `menu open` first");
    std::shared_ptr<platform::MenuItem> shown;
    for (const auto& item : menu->items()) {
        if (item->title() == expectation.title && !item->isHidden()) shown = item;
    }
    std::string actual = !shown ? "hidden" : shown->isEnabled() ? "enabled" : "disabled";
    bool holds = false;
    switch (expectation.state) {
    case State::Hidden:
        holds = !shown;
        break;
    case State::Shown:
        holds = shown != nullptr;
        break;
    case State::Enabled:
        holds = shown && shown->isEnabled();
        break;
    case State::Disabled:
        holds = shown && !shown->isEnabled();
        break;
    }
    if (holds) return {};
    return failed("the row " + inQuotes(expectation.title) + " is " + actual);
}

Result Session::screenshot(const std::string& path, bool frontWindow) {
    auto parent = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
    auto screen = renderScreen(mac_);
    if (!frontWindow) {
        if (!screen.writePng(path)) return failed("could not write " + path);
        return {};
    }
    auto windows = mac_.titledWindows().visibleWindows();
    if (windows.empty()) return failed("no window is on screen");
    // The window and a margin for its shadow, cut out of the screen (top-left origin there).
    constexpr double kMargin = 24;
    auto frame = windows.front()->frame();
    double top = sim::SimScreens::kHeight - frame.maxY();
    sim::Image cut({frame.width() + 2 * kMargin, frame.height() + 2 * kMargin}, screen.scale());
    cairo_t* cr = cairo_create(cut.surface());
    cairo_set_source_surface(cr, screen.surface(), -(frame.minX() - kMargin) * screen.scale(),
                             -(top - kMargin) * screen.scale());
    cairo_paint(cr);
    cairo_destroy(cr);
    if (!cut.writePng(path)) return failed("could not write " + path);
    return {};
}

} // namespace marlowick::console
