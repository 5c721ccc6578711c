#include "input/titled_window_controller.h"

#include <optional>
#include <string>
#include <utility>

#include "platform/key_codes.h"

namespace marlowick {

namespace {

constexpr platform::ModifierFlags kChordModifiers =
    platform::kFlagShift | platform::kFlagControl | platform::kFlagOption | platform::kFlagCommand;

// The clear action of the field with the identifier, unless the field or a stack around it is
// disabled.
std::function<void()> clearActionOf(const platform::ViewNode& node, const std::string& identifier) {
    if (node.disabled) return nullptr;
    if (const auto* field = node.as<platform::ShortcutFieldView>())
        return field->identifier == identifier ? field->onClear : nullptr;
    if (const auto* stack = node.as<platform::StackView>()) {
        for (const auto& child : stack->children) {
            if (auto action = clearActionOf(child, identifier)) return action;
        }
    }
    return nullptr;
}

std::optional<std::size_t> firstCancelButton(const platform::Alert& alert) {
    for (std::size_t i = 0; i < alert.buttons.size(); ++i) {
        if (alert.buttons[i].role == platform::ButtonRole::Cancel) return i;
    }
    return std::nullopt;
}

// A button has one key equivalent: Return for the first, Escape for the first cancel one unless
// that is the first, whose Escape then comes as a sheet key (sheetKeyDown).
platform::Alert withKeys(platform::Alert alert) {
    const auto cancel = firstCancelButton(alert);
    for (std::size_t i = 0; i < alert.buttons.size(); ++i) {
        alert.buttons[i].key = i == 0        ? platform::AlertKey::Return
                               : i == cancel ? platform::AlertKey::Escape
                                             : platform::AlertKey::None;
    }
    return alert;
}

} // namespace

std::shared_ptr<TitledWindowController>
TitledWindowController::attach(std::shared_ptr<platform::Window> window) {
    std::shared_ptr<TitledWindowController> controller(new TitledWindowController(std::move(window)));
    std::weak_ptr<TitledWindowController> weak = controller;
    controller->window_->setEventHandlers({
        .mouseDown =
            [weak](const platform::MouseDown& down) {
                auto self = weak.lock();
                return self && self->mouseDown(down);
            },
        .sheetKeyDown =
            [weak](const platform::Event& event) {
                auto self = weak.lock();
                return self && self->sheetKeyDown(event);
            },
        .sheetEnded =
            [weak](std::int64_t response) {
                if (auto self = weak.lock()) self->sheetEnded(response);
            },
    });
    // A closed window edits nothing: the field's recording ends with it.
    controller->willClose_ = controller->window_->observeWillClose([weak] {
        if (auto self = weak.lock()) self->window_->makeFirstResponder(std::nullopt);
    });
    return controller;
}

TitledWindowController::TitledWindowController(std::shared_ptr<platform::Window> window)
    : window_(std::move(window)) {}

TitledWindowController::~TitledWindowController() {
    window_->setEventHandlers({});
}

void TitledWindowController::setContent(platform::ViewNode content) {
    const platform::Rect before = window_->frame();
    window_->setContent(std::move(content));
    const platform::Rect fitted = window_->frame();
    if (fitted.height() == before.height()) return;
    window_->setFrame(
        platform::Rect(fitted.minX(), before.maxY() - fitted.height(), fitted.width(), fitted.height()));
}

void TitledWindowController::setFrameHeight(double height, bool animated) {
    const platform::Rect frame = window_->frame();
    const platform::Rect target(frame.minX(), frame.maxY() - height, frame.width(), height);
    if (target == frame) return;
    if (animated)
        window_->animateFrame(target);
    else
        window_->setFrame(target);
}

bool TitledWindowController::mouseDown(const platform::MouseDown& down) {
    // The clear button clears at once. Left to the window, the click would first make its field
    // the first responder, starting to record and taking the status from the edited field.
    if (down.field && down.onClearButton) {
        if (auto clear = clearActionOf(window_->content(), *down.field)) {
            clear();
            return true;
        }
    }
    // A click anywhere but on the edited field ends its editing, as a click on a field starts it;
    // the window alone would keep the field editing under a click on a button.
    const auto edited = window_->firstResponder();
    if (edited && edited != down.field) window_->makeFirstResponder(std::nullopt);
    return false;
}

void TitledWindowController::selectNextKeyView() {
    const auto edited = window_->firstResponder();
    window_->selectNextKeyView();
    if (edited && window_->firstResponder() == edited) window_->makeFirstResponder(std::nullopt);
}

bool TitledWindowController::sheetKeyDown(const platform::Event& event) {
    if (!alertShowing_ || event.type != platform::EventType::KeyDown) return false;
    if (event.keyCode != platform::kKeyCodeEscape || (event.modifierFlags & kChordModifiers)) return false;
    if (firstCancelButton(alerts_.front().alert) != 0) return false;
    window_->endAlert(0);
    return true;
}

void TitledWindowController::beginAlert(platform::Alert alert, std::function<void(std::size_t)> answered) {
    alerts_.push_back({std::move(alert), std::move(answered)});
    if (!alertShowing_) showFrontAlert();
}

void TitledWindowController::endAlert(std::size_t button) {
    if (alertShowing_) window_->endAlert(button);
}

void TitledWindowController::showFrontAlert() {
    alertShowing_ = true;
    window_->showAlert(withKeys(alerts_.front().alert));
}

void TitledWindowController::sheetEnded(std::int64_t response) {
    if (!alertShowing_) return;
    alertShowing_ = false;
    PendingAlert ended = std::move(alerts_.front());
    alerts_.pop_front();
    const bool isButton = response >= 0 && static_cast<std::size_t>(response) < ended.alert.buttons.size();
    if (isButton && ended.answered) ended.answered(static_cast<std::size_t>(response));
    // The answer may have begun another alert, which then already shows.
    if (!alertShowing_ && !alerts_.empty()) showFrontAlert();
}

} // namespace marlowick
