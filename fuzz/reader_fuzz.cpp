// The Notification Center reader on accessibility trees made from arbitrary bytes: any depth, loops
// through explicit "AXChildren" and "AXParent" values, missing attributes, values of the wrong type,
// stale elements and huge texts. Every read operation must end and never crash.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "notificationcenter/ax.h"
#include "notificationcenter/reader.h"
#include "sim/sim_mac.h"

namespace {

using namespace marlowick;
using fuzzing::check;
using platform::AXValue;
using platform::Element;
using sim::AXNode;

constexpr std::size_t kMaxNodes = 48;

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return position_ >= size_; }
    std::uint8_t next() { return empty() ? 0 : data_[position_++]; }
    std::size_t below(std::size_t count) { return count == 0 ? 0 : next() % count; }
    double number() {
        switch (next() % 8) {
        case 0:
            return std::numeric_limits<double>::quiet_NaN();
        case 1:
            return std::numeric_limits<double>::infinity();
        case 2:
            return -std::numeric_limits<double>::infinity();
        case 3: {
            double raw = 0;
            std::uint64_t bits = 0;
            for (int i = 0; i < 8; ++i)
                bits = (bits << 8) | next();
            std::memcpy(&raw, &bits, sizeof raw);
            return raw;
        }
        default:
            return static_cast<double>(static_cast<std::int8_t>(next())) * 8;
        }
    }
    // Short texts from the input, now and then blown up to hundreds of kilobytes.
    std::string text() {
        std::size_t length = below(12);
        std::string result;
        for (std::size_t i = 0; i < length; ++i)
            result += static_cast<char>(next());
        if (below(16) == 0) result.append(static_cast<std::size_t>(next()) * 2048, 'x');
        return result;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

const char* const kRoles[] = {"AXApplication", "AXWindow",  "AXGroup",   "AXStaticText", "AXButton",
                              "AXScrollArea",  "AXMenuBar", "AXHeading", "AXImage",      ""};
const char* const kAttributes[] = {"AXChildren", "AXRole",  "AXSubrole", "AXDescription", "AXIdentifier",
                                   "AXTitle",    "AXValue", "AXParent",  "AXPosition",    "AXSize"};
const char* const kStrings[] = {"AXNotificationCenterAlert",
                                "AXNotificationCenterAlertStack",
                                "Notification",
                                "header",
                                "widget-editor-button",
                                "AXShowHistoryButton",
                                "Mail, 2 notifications",
                                ", ",
                                "AXStaticText",
                                "AXScrollArea",
                                "AXMenuBar",
                                "AXGroup",
                                "AXButton",
                                ""};
const char* const kActions[] = {"AXPress",           "Name:Show\nTarget:1", "Name:Close\n",
                                "Name:Clear All\nx", "AXScrollDownByPage",  "AXScrollUpByPage"};

template <class T, std::size_t N> const T& pick(Bytes& bytes, const T (&choices)[N]) {
    return choices[bytes.below(N)];
}

Element elementOf(Bytes& bytes, const std::vector<std::shared_ptr<AXNode>>& nodes) {
    std::size_t index = bytes.below(nodes.size() + 1);
    return index == nodes.size() ? Element() : nodes[index]->element();
}

AXValue anyValue(Bytes& bytes, const std::vector<std::shared_ptr<AXNode>>& nodes) {
    switch (bytes.below(9)) {
    case 0:
        return std::monostate{};
    case 1:
        return bytes.below(2) == 0 ? std::string(pick(bytes, kStrings)) : bytes.text();
    case 2:
        return bytes.below(2) == 0;
    case 3:
        return static_cast<std::int64_t>(bytes.next());
    case 4:
        return bytes.number();
    case 5:
        return platform::Point{bytes.number(), bytes.number()};
    case 6:
        return platform::Size{bytes.number(), bytes.number()};
    case 7:
        return elementOf(bytes, nodes);
    default: {
        std::vector<Element> list(bytes.below(8));
        for (auto& element : list)
            element = elementOf(bytes, nodes);
        return list;
    }
    }
}

// Builds the tree the input describes below a fresh application node; returns every node made.
std::vector<std::shared_ptr<AXNode>> buildTree(Bytes& bytes) {
    std::vector<std::shared_ptr<AXNode>> nodes{AXNode::make("AXApplication")};
    while (!bytes.empty()) {
        auto& target = nodes[bytes.below(nodes.size())];
        switch (bytes.below(9)) {
        case 0:
        case 1:
            // A new node below an existing one; the structure itself stays a tree.
            if (nodes.size() < kMaxNodes) {
                auto child = AXNode::make(pick(bytes, kRoles));
                target->addChild(child);
                nodes.push_back(child);
            }
            break;
        case 2:
            target->set("AXSubrole", std::string(pick(bytes, kStrings)));
            break;
        case 3:
            target->set(pick(bytes, kAttributes), anyValue(bytes, nodes));
            break;
        case 4:
            target->set("AXPosition", platform::Point{bytes.number(), bytes.number()});
            target->set("AXSize", platform::Size{bytes.number(), bytes.number()});
            break;
        case 5:
            target->set("AXValue", bytes.text());
            break;
        case 6:
            target->addAction(pick(bytes, kActions),
                              [code = -static_cast<platform::AXError>(bytes.below(3))] { return code; });
            break;
        case 7:
            target->erase(pick(bytes, kAttributes));
            break;
        default:
            if (bytes.below(4) == 0) target->destroy();
            break;
        }
    }
    return nodes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    auto& simulated = fuzzing::recycledMac(1000);
    setReadStrategy(bytes.below(2) == 0 ? ReadStrategy::Batched : ReadStrategy::OneByOne);
    if (bytes.below(8) == 0) simulated.screens().setScreenFrames({});
    bool hung = bytes.below(16) == 0;
    auto nodes = buildTree(bytes);

    auto pid = simulated.workspace().launchApplication(std::string(kNotificationCenterBundleID));
    simulated.accessibility().registerProcess(pid, nodes.front());
    simulated.accessibility().setHung(pid, hung);

    if (auto app = notificationCenterApp()) {
        sidebarIsOpen(*app);
        historyButton(*app);
    }
    for (const auto& notification : sidebarNotifications()) {
        itemFrame(notification.element);
        isStack(notification.element);
    }
    for (const auto& node : nodes) {
        auto element = node->element();
        stringAttribute(element, "AXRole");
        children(element);
        customActionName(element, "Close");
        frameOf(element);
        staticTexts(element);
        staticTextFrames(element);
        enclosingScrollArea(element);
        itemFrame(element);
        scrollIntoView(element);
        stackAppName(element);
    }

    simulated.accessibility().unregisterProcess(pid);
    simulated.workspace().terminateApplication(pid);
    simulated.screens().setScreenFrames({platform::Rect(0, 0, 1512, 982)});
    simulated.runUntilIdle();
    return 0;
}
