// Batched and one-by-one reads must be interchangeable: the same rows, frames and texts on the same
// trees, whatever odd shapes the trees take; only the number of requests may differ.
#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "notificationcenter/ax.h"
#include "notificationcenter/ax_builders.h"

namespace marlowick {
namespace {

using platform::Rect;

struct Reading {
    std::vector<Notification> notifications;
    std::vector<std::optional<Rect>> rowFrames;
    bool sidebarOpen = false;
    std::optional<platform::Element> history;
    std::vector<std::string> texts;
    std::vector<Rect> textFrames;
    std::vector<std::optional<platform::Element>> scrollAreas;
    std::uint64_t requests = 0;
};

Reading readEverything(sim::SimMac& mac, const std::vector<NodePtr>& nodes, ReadStrategy strategy) {
    ScopedReadStrategy scoped(strategy);
    mac.accessibility().resetRequestCount();
    Reading reading;
    auto app = notificationCenterApp();
    reading.notifications = sidebarNotifications();
    std::vector<platform::Element> rows;
    for (const auto& notification : reading.notifications) {
        reading.rowFrames.push_back(itemFrame(notification.element));
        rows.push_back(notification.element);
    }
    EXPECT_EQ(itemFrames(rows), reading.rowFrames) << "framing rows together must not change a frame";
    reading.sidebarOpen = sidebarIsOpen(*app);
    reading.history = historyButton(*app);
    reading.texts = staticTexts(*app);
    reading.textFrames = staticTextFrames(*app);
    for (const auto& made : nodes)
        reading.scrollAreas.push_back(enclosingScrollArea(made->element()));
    reading.requests = mac.accessibility().requestCount();
    return reading;
}

void expectSameReading(const Reading& batched, const Reading& oneByOne) {
    ASSERT_EQ(batched.notifications.size(), oneByOne.notifications.size());
    for (std::size_t i = 0; i < batched.notifications.size(); ++i) {
        const auto& a = batched.notifications[i];
        const auto& b = oneByOne.notifications[i];
        EXPECT_TRUE(a.element == b.element) << "row " << i;
        EXPECT_EQ(a.id, b.id) << "row " << i;
        EXPECT_EQ(a.title, b.title) << "row " << i;
        EXPECT_EQ(a.body, b.body) << "row " << i;
    }
    EXPECT_EQ(batched.rowFrames, oneByOne.rowFrames);
    EXPECT_EQ(batched.sidebarOpen, oneByOne.sidebarOpen);
    EXPECT_EQ(batched.history, oneByOne.history);
    EXPECT_EQ(batched.texts, oneByOne.texts);
    EXPECT_EQ(batched.textFrames, oneByOne.textFrames);
    EXPECT_EQ(batched.scrollAreas, oneByOne.scrollAreas);
}

// Random trees with every feature the reader looks at, some of them looping back on themselves.
class RandomTree {
public:
    explicit RandomTree(unsigned seed) : random_(seed) {}

    NodePtr build() {
        auto root = node("AXApplication");
        nodes_.push_back(root);
        grow(root, 0);
        // A few explicit links back up the tree or across it.
        for (int link = pick(4); link > 0; --link) {
            auto& from = nodes_[pick(nodes_.size())];
            auto& to = nodes_[pick(nodes_.size())];
            if (chance(2)) {
                from->set("AXParent", to->element());
            } else {
                auto list = std::get<std::vector<platform::Element>>(*from->read("AXChildren"));
                list.push_back(to->element());
                from->set("AXChildren", list);
            }
        }
        return root;
    }
    const std::vector<NodePtr>& nodes() const { return nodes_; }

private:
    std::size_t pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }
    bool chance(std::size_t oneIn) { return pick(oneIn) == 0; }
    template <class T> const T& pickFrom(std::initializer_list<T> choices) {
        return choices.begin()[pick(choices.size())];
    }

    void grow(const NodePtr& parent, int depth) {
        if (depth > 11) return;
        for (std::size_t count = pick(depth < 3 ? 5 : 3); count > 0; --count) {
            auto child = node(pickFrom<std::string>({"AXGroup", "AXGroup", "AXStaticText", "AXButton",
                                                     "AXScrollArea", "AXMenuBar", "AXHeading", ""}));
            if (chance(3)) {
                child->set("AXSubrole",
                           pickFrom<std::string>({"AXNotificationCenterAlert",
                                                  "AXNotificationCenterAlertStack", "AXUnknown", ""}));
            }
            if (chance(4)) {
                child->set("AXIdentifier", pickFrom<std::string>({"header", "widget-editor-button",
                                                                  "AXShowHistoryButton", "row", ""}));
            }
            if (chance(2)) child->set("AXValue", pickFrom<std::string>({"Lunch", "At noon?", "", "Mail"}));
            if (chance(5)) child->set("AXValue", std::int64_t{3});
            if (chance(4))
                child->set("AXDescription", pickFrom<std::string>({"Mail, 2 notifications", "", "Calendar"}));
            if (chance(2)) child->addAction("AXPress", [] { return platform::kAXErrorSuccess; });
            if (chance(4) && parent->read("AXPosition")) {
                // Same frame as the parent, as folded stacks have.
                child->set("AXPosition", *parent->read("AXPosition")).set("AXSize", *parent->read("AXSize"));
            } else if (!chance(5)) {
                child->set("AXPosition", platform::Point{double(pick(400)), double(pick(900))});
                child->set("AXSize", platform::Size{double(pick(300)), double(pick(120))});
            }
            if (chance(12)) child->set("AXSize", std::string("wrong type"));
            parent->addChild(child);
            nodes_.push_back(child);
            grow(child, depth + 1);
        }
    }

    std::mt19937 random_;
    std::vector<NodePtr> nodes_;
};

TEST(ReadStrategy, BatchedAndOneByOneReadTheSameFromRandomTrees) {
    std::size_t rows = 0, narrowed = 0, openSidebars = 0, histories = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        sim::SimMac mac{withoutNotificationCenter()};
        RandomTree tree(seed);
        launchNotificationCenter(mac, tree.build());
        auto batched = readEverything(mac, tree.nodes(), ReadStrategy::Batched);
        auto oneByOne = readEverything(mac, tree.nodes(), ReadStrategy::OneByOne);
        expectSameReading(batched, oneByOne);
        EXPECT_LE(batched.requests, oneByOne.requests);

        rows += batched.notifications.size();
        for (std::size_t i = 0; i < batched.rowFrames.size(); ++i) {
            narrowed +=
                batched.rowFrames[i] && batched.rowFrames[i] != frameOf(batched.notifications[i].element);
        }
        openSidebars += batched.sidebarOpen;
        histories += batched.history.has_value();
    }
    // The trees exercise what they are meant to.
    EXPECT_GT(rows, 80u); // fewer since walks stay out of "widget…" elements
    EXPECT_GT(narrowed, 5u);
    EXPECT_GT(openSidebars, 5u);
    EXPECT_GT(histories, 5u);
}

TEST(ReadStrategy, BatchedReadsOfASidebarCostFarFewerRequests) {
    sim::SimMac mac;
    auto& center = mac.notificationCenter();
    for (int i = 0; i < 20; ++i) {
        center.post(
            {.app = "App " + std::to_string(i % 15), .title = "Title", .body = "Body"}); // five stacks
    }
    mac.runFor(6.0);
    center.openSidebar();
    mac.runFor(1.0);

    auto batched = readEverything(mac, {}, ReadStrategy::Batched);
    auto oneByOne = readEverything(mac, {}, ReadStrategy::OneByOne);
    expectSameReading(batched, oneByOne);
    EXPECT_EQ(batched.notifications.size(), 15u);
    EXPECT_TRUE(batched.sidebarOpen);
    EXPECT_LT(batched.requests * 2, oneByOne.requests);
}

} // namespace
} // namespace marlowick
