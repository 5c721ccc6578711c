#include "notificationcenter/tree_recording.h"

#include <array>
#include <cmath>

#include "platform/platform.h"

namespace marlowick {

using platform::AXValue;
using platform::Element;

namespace {

// One batched read an element: its texts in their slots first, then these.
enum Slot : std::size_t { Position = kRecordedTexts.size(), Size, Children, SlotCount };
constexpr auto kAttributes = [] {
    std::array<std::string_view, SlotCount> names{};
    for (std::size_t i = 0; i < kRecordedTexts.size(); ++i)
        names[i] = kRecordedTexts[i].attribute;
    names[Position] = "AXPosition";
    names[Size] = "AXSize";
    names[Children] = "AXChildren";
    return names;
}();

class Recorder {
public:
    explicit Recorder(platform::Accessibility& accessibility) : accessibility_(accessibility) {}

    platform::AXError record(const Element& element, int depth, RecordedElement& out) {
        std::vector<platform::AXAttributeResult> slots;
        if (auto error = accessibility_.copyMultipleAttributeValues(element, kAttributes, slots);
            error != platform::kAXErrorSuccess)
            return error;
        ++elements_;
        slots.resize(SlotCount);
        for (std::size_t slot = 0; slot < kRecordedTexts.size(); ++slot) {
            const auto* value = std::get_if<std::string>(&slots[slot].value);
            if (slots[slot].error == platform::kAXErrorSuccess && value)
                out.*kRecordedTexts[slot].field = *value;
        }
        if (const auto* position = valueOf<platform::Point>(slots[Position]);
            position && std::isfinite(position->x) && std::isfinite(position->y))
            out.position = *position;
        if (const auto* size = valueOf<platform::Size>(slots[Size]); size && std::isfinite(size->width) &&
                                                                     std::isfinite(size->height) &&
                                                                     size->width >= 0 && size->height >= 0)
            out.size = *size;
        std::vector<std::string> actions;
        if (auto error = accessibility_.copyActionNames(element, actions); error == platform::kAXErrorSuccess)
            out.actions = std::move(actions);
        else
            noteFailure(error);

        const auto* children = valueOf<std::vector<Element>>(slots[Children]);
        if (!children || children->empty()) return platform::kAXErrorSuccess;
        if (depth >= kMaxRecordedDepth) {
            cutOff = true;
            return platform::kAXErrorSuccess;
        }
        for (const auto& child : *children) {
            if (stopped != platform::kAXErrorSuccess) break;
            if (elements_ >= kMaxRecordedElements) {
                cutOff = true;
                break;
            }
            RecordedElement recorded;
            if (auto error = record(child, depth + 1, recorded); error == platform::kAXErrorSuccess)
                out.children.push_back(std::move(recorded));
            else
                noteFailure(error);
        }
        return platform::kAXErrorSuccess;
    }

    bool cutOff = false;
    // Why the walk stopped short, when it did.
    platform::AXError stopped = platform::kAXErrorSuccess;

private:
    // An element that went meanwhile is left out, but a process that no longer answers (each
    // further request waits out the time-out) or a permission withdrawn fails every request to
    // come: the walk stops rather than write a part of the tree as the whole.
    void noteFailure(platform::AXError error) {
        if (error == platform::kAXErrorCannotComplete || error == platform::kAXErrorAPIDisabled)
            stopped = error;
    }

    template <typename T> static const T* valueOf(const platform::AXAttributeResult& slot) {
        return slot.error == platform::kAXErrorSuccess ? std::get_if<T>(&slot.value) : nullptr;
    }

    platform::Accessibility& accessibility_;
    std::size_t elements_ = 0;
};

} // namespace

TreeRecording recordTree(const Element& application) {
    auto& services = platform::current();
    TreeRecording recording;
    // The service's coordinates start at the main screen's top-left corner.
    auto screens = services.screens->screenFrames();
    double mainHeight = screens.empty() ? 0 : screens.front().height();
    for (const auto& screen : screens) {
        if (recording.tree.screens.size() == kMaxRecordedScreens) break;
        recording.tree.screens.emplace_back(screen.minX(), mainHeight - screen.maxY(), screen.width(),
                                            screen.height());
    }
    Recorder recorder(*services.accessibility);
    recording.error = recorder.record(application, 0, recording.tree.application);
    if (recording.error == platform::kAXErrorSuccess) recording.error = recorder.stopped;
    recording.cutOff = recorder.cutOff;
    return recording;
}

} // namespace marlowick
