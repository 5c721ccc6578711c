#include "notificationcenter/reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "notificationcenter/ax.h"
#include "platform/platform.h"

namespace marlowick {

using platform::Element;
using platform::Rect;

namespace {

constexpr int kSidebarMarkerMaxDepth = 7;
constexpr int kRowSearchMaxDepth = 24;
constexpr double kTextMargin = 12.5;
constexpr int kMaxScrollPages = 5;

// Everything a row's record and frame need, fetched with the search's own read of each element.
constexpr AttributeSet kRowAttributes =
    AttributeSet{Attribute::Subrole, Attribute::Description, Attribute::Parent} |
    TreeWalker::kTextAttributes | TreeWalker::kTextFrameAttributes;

struct ProcessCache {
    std::shared_ptr<const platform::RunningApplication> record;
    std::uint64_t generation = 0;
};

ProcessCache& processCache() {
    static ProcessCache cache;
    return cache;
}

std::optional<Element> findByIdentifier(const Element& root, int maxDepth, std::string_view identifier) {
    std::optional<Element> found;
    TreeWalker().search(root, maxDepth, {Attribute::Identifier}, [&](ElementAttributes& element) {
        if (!element.stringEquals(Attribute::Identifier, identifier)) return SearchStep::Descend;
        found = element.element();
        return SearchStep::Stop;
    });
    return found;
}

struct Row {
    ElementAttributes attributes;
    // Texts already read while deciding that the element is a row.
    std::optional<std::vector<std::string>> texts;
};

std::vector<Row> collectRows(TreeWalker& walker, const Element& application) {
    std::vector<Row> rows;
    walker.search(application, kRowSearchMaxDepth, kRowAttributes, [&](ElementAttributes& element) {
        auto subrole = element.string(Attribute::Subrole);
        if (!subrole || subrole->find("Notification") == std::string::npos) return SearchStep::Descend;
        if (!hasAction(element.element(), "AXPress")) return SearchStep::Descend;
        rows.push_back({element, std::nullopt});
        return SearchStep::SkipChildren;
    });
    if (!rows.empty()) return rows;

    // Without subroles, a pressable group that shows text stands for a row. Widgets look just the
    // same; only their identifiers ("widget-…", as the sidebar's "widget-editor-button") tell them
    // apart, and a badge over a widget would press into some other application.
    walker.search(application, kRowSearchMaxDepth, kRowAttributes, [&](ElementAttributes& element) {
        if (auto id = element.string(Attribute::Identifier); id && id->starts_with("widget"))
            return SearchStep::SkipChildren;
        if (!element.stringEquals(Attribute::Role, "AXGroup")) return SearchStep::Descend;
        if (!hasAction(element.element(), "AXPress")) return SearchStep::Descend;
        std::vector<std::string> texts;
        walker.collectStaticTexts(element, 0, texts);
        if (texts.empty()) return SearchStep::Descend;
        rows.push_back({element, std::move(texts)});
        return SearchStep::SkipChildren;
    });
    return rows;
}

// `row` must offer kTextFrameAttributes and "AXParent".
// The frames of parents already read while framing several rows in one pass. Most rows share one
// parent (the list), so each row then costs a single request. Compared by element identity.
class ParentFrames {
public:
    const std::optional<Rect>* find(const Element& parent) const {
        for (const auto& [element, frame] : known_) {
            if (element == parent) return &frame;
        }
        return nullptr;
    }
    void remember(const Element& parent, std::optional<Rect> frame) {
        if (known_.size() < kMaxKnownParents) known_.emplace_back(parent, frame);
    }

private:
    // Rows with parents of their own (folded stacks) are few; the bound keeps the scan short.
    static constexpr std::size_t kMaxKnownParents = 32;
    std::vector<std::pair<Element, std::optional<Rect>>> known_;
};

std::optional<Rect> itemFrame(TreeWalker& walker, ElementAttributes& row, ParentFrames* parents = nullptr) {
    auto frame = row.frame();
    if (!frame) return std::nullopt;
    auto parentElement = row.parent();
    if (!parentElement) return frame;
    if (parents) {
        if (const auto* known = parents->find(*parentElement); known && *known != frame) return frame;
    }
    // Children are left out of the batch: a row's parent is usually the whole list, and only a
    // parent the row fills (a small stack group) needs them.
    auto parent = walker.read(*parentElement, {Attribute::Position, Attribute::Size});
    if (parents) parents->remember(*parentElement, parent.frame());
    if (parent.frame() != frame) return frame;

    // The row fills its parent, as a folded stack does: ring its text instead.
    std::vector<Rect> textFrames;
    walker.collectStaticTextFrames(row, 0, textFrames);
    if (textFrames.empty()) return frame;
    double top = -std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
    for (const auto& text : textFrames) {
        top = std::max(top, text.maxY());
        bottom = std::min(bottom, text.minY());
    }

    // Keep clear of the parent's last button (the stack's close button) by staying symmetric to it.
    double width = frame->width();
    const auto& siblings = parent.children();
    for (auto sibling = siblings.rbegin(); sibling != siblings.rend(); ++sibling) {
        auto attributes = walker.read(*sibling, {Attribute::Role, Attribute::Position, Attribute::Size});
        if (!attributes.stringEquals(Attribute::Role, "AXButton")) continue;
        if (auto button = attributes.frame(); button && frame->minX() < button->midX()) {
            width = std::min(width, 2 * (button->midX() - frame->minX()));
        }
        break;
    }
    return Rect(frame->minX(), bottom - kTextMargin, width, (top - bottom) + 2 * kTextMargin);
}

Notification makeNotification(TreeWalker& walker, Row& row) {
    auto& attributes = row.attributes;
    std::vector<std::string> texts;
    if (row.texts) {
        texts = std::move(*row.texts);
    } else {
        walker.collectStaticTexts(attributes, 0, texts);
    }
    Notification notification{attributes.element(), attributes.string(Attribute::Identifier), {}, {}};
    if (!texts.empty()) {
        notification.title = std::move(texts.front());
    } else {
        notification.title = attributes.string(Attribute::Description).value_or("Notification");
    }
    for (std::size_t i = 1; i < texts.size(); ++i) {
        if (i > 1) notification.body += ' ';
        notification.body += texts[i];
    }
    return notification;
}

} // namespace

std::shared_ptr<const platform::RunningApplication> notificationCenterProcess() {
    auto& cache = processCache();
    if (cache.generation != platform::generation()) {
        cache = {nullptr, platform::generation()};
    }
    if (cache.record && !cache.record->isTerminated()) return cache.record;
    cache.record.reset();
    for (auto& application : platform::current().workspace->runningApplications()) {
        if (application && application->bundleIdentifier() == kNotificationCenterBundleID) {
            cache.record = std::move(application);
            break;
        }
    }
    return cache.record;
}

std::optional<Element> notificationCenterApp() {
    auto process = notificationCenterProcess();
    if (!process) return std::nullopt;
    return platform::current().accessibility->application(process->processIdentifier());
}

bool sidebarIsOpen(const Element& application) {
    // Only whether the marker exists matters, and it sits near the top of the sidebar's window, so
    // the search goes level by level instead of through every row first.
    return TreeWalker().anyBreadthFirst(
        application, kSidebarMarkerMaxDepth, {Attribute::Identifier}, [](ElementAttributes& element) {
            return element.stringEquals(Attribute::Identifier, "widget-editor-button");
        });
}

std::optional<Element> historyButton(const Element& application) {
    return findByIdentifier(application, kRowSearchMaxDepth, "AXShowHistoryButton");
}

Notification readNotification(const Element& row) {
    TreeWalker walker;
    Row read{walker.read(row, kRowAttributes), std::nullopt};
    return makeNotification(walker, read);
}

std::vector<Notification> sidebarNotifications() {
    auto application = notificationCenterApp();
    if (!application) return {};
    TreeWalker walker;
    auto rows = collectRows(walker, *application);

    // Highest top edge first; equal edges keep tree order; rows without a usable frame go last.
    std::vector<double> keys;
    keys.reserve(rows.size());
    ParentFrames parents;
    for (auto& row : rows) {
        auto frame = itemFrame(walker, row.attributes, &parents);
        double top = frame ? frame->maxY() : -std::numeric_limits<double>::infinity();
        keys.push_back(std::isnan(top) ? -std::numeric_limits<double>::infinity() : top);
    }
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] > keys[b]; });

    std::vector<Notification> notifications;
    notifications.reserve(rows.size());
    for (auto index : order)
        notifications.push_back(makeNotification(walker, rows[index]));
    return notifications;
}

std::optional<Rect> itemFrame(const Element& element) {
    TreeWalker walker;
    auto row = walker.read(element, TreeWalker::kTextFrameAttributes | AttributeSet{Attribute::Parent});
    return itemFrame(walker, row);
}

std::vector<std::optional<Rect>> itemFrames(std::span<const Element> elements) {
    TreeWalker walker;
    ParentFrames parents;
    std::vector<std::optional<Rect>> frames;
    frames.reserve(elements.size());
    for (const auto& element : elements) {
        auto row = walker.read(element, TreeWalker::kTextFrameAttributes | AttributeSet{Attribute::Parent});
        frames.push_back(itemFrame(walker, row, &parents));
    }
    return frames;
}

void scrollIntoView(const Element& element) {
    auto area = enclosingScrollArea(element);
    if (!area) return;
    auto areaFrame = frameOf(*area);
    if (!areaFrame) return;
    for (int page = 0; page < kMaxScrollPages; ++page) {
        auto rowFrame = itemFrame(element);
        if (!rowFrame) return;
        if (rowFrame->minY() < areaFrame->minY()) {
            performAction(*area, "AXScrollDownByPage");
        } else if (areaFrame->maxY() < rowFrame->maxY()) {
            performAction(*area, "AXScrollUpByPage");
        } else {
            return;
        }
    }
}

bool isStack(const Element& element) {
    auto subrole = stringAttribute(element, "AXSubrole");
    return subrole && subrole->ends_with("Stack");
}

std::optional<std::string> stackAppName(const Element& element) {
    auto description = stringAttribute(element, "AXDescription");
    if (!description) return std::nullopt;
    auto separator = description->find(", ");
    if (separator == std::string::npos) return description;
    return description->substr(0, separator);
}

} // namespace marlowick
