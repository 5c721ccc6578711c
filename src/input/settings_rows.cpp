#include "input/settings_rows.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"
#include "platform/view_metrics.h"

namespace marlowick {

using platform::StackView;
using platform::ViewNode;

namespace {

// The least room between a row's title and its control.
constexpr double kTitleToControl = 16;
// A leading view (the status circle) and the row's spacing before the title.
constexpr double kLeadingViewWidth = platform::metrics::kStatusCircleDiameter + 8;

StackView stack(platform::Axis axis, double spacing) {
    StackView view;
    view.axis = axis;
    view.alignment = axis == platform::Axis::Vertical ? platform::StackAlignment::Leading
                                                      : platform::StackAlignment::Center;
    view.spacing = spacing;
    return view;
}

} // namespace

ViewNode gap(double height) {
    StackView room;
    room.height = std::max(0.0, height);
    return ViewNode::makeStack(std::move(room));
}

ViewNode label(std::string text, platform::FontRole role, std::optional<platform::FontWeight> weight,
               platform::ForegroundStyle style) {
    platform::TextView view;
    view.text = std::move(text);
    view.role = role;
    view.weight = weight;
    view.style = style;
    return ViewNode::makeText(std::move(view));
}

ViewNode note(std::string text) {
    return label(std::move(text), platform::FontRole::Footnote, std::nullopt,
                 platform::ForegroundStyle::Secondary);
}

ViewNode statusCircle(bool done) {
    return ViewNode::make(platform::StatusCircleView{done});
}

ViewNode row(Row content) {
    auto line = stack(platform::Axis::Horizontal, 8);
    line.width = kSettingsRowWidth;
    double used = 0;
    auto& fonts = *platform::current().fonts;
    used += fonts.measureText(content.title, platform::fontFor(platform::FontRole::Body)).width;
    const double titleInset = content.leading ? kLeadingViewWidth : 0;
    if (content.leading) {
        used += titleInset;
        line.children.push_back(std::move(*content.leading));
    }
    line.children.push_back(label(content.title));
    if (content.control) {
        // A pop-up stays at the trailing edge, its title cut short where the row has no room.
        if (auto* picker = content.control->as<platform::PickerView>())
            picker->maximumWidth = std::floor(kSettingsRowWidth - used - kTitleToControl);
        line.children.push_back(ViewNode::make(platform::SpacerView{}));
        line.children.push_back(std::move(*content.control));
    }

    auto column = stack(platform::Axis::Vertical, 4);
    column.width = kSettingsRowWidth;
    column.children.push_back(ViewNode::makeStack(std::move(line)));
    // The details line up with the title, not under the leading view.
    for (auto& detail : content.details) {
        if (titleInset == 0) {
            column.children.push_back(std::move(detail));
            continue;
        }
        auto indented = stack(platform::Axis::Horizontal, 0);
        StackView inset;
        inset.width = titleInset;
        indented.children.push_back(ViewNode::makeStack(std::move(inset)));
        indented.children.push_back(std::move(detail));
        column.children.push_back(ViewNode::makeStack(std::move(indented)));
    }
    ViewNode node = ViewNode::makeStack(std::move(column));
    node.accessibilityLabel = std::move(content.title);
    return node;
}

ViewNode rowGroup(std::optional<std::string> title, std::vector<ViewNode> rows, bool dividers) {
    auto group = stack(platform::Axis::Vertical, 6);
    if (title) {
        group.children.push_back(
            label(*title, platform::FontRole::Subheadline, platform::FontWeight::Semibold));
    }
    auto box = stack(platform::Axis::Vertical, 8);
    box.padding = kSettingsGroupPadding;
    box.width = kSettingsRowWidth + 2 * kSettingsGroupPadding;
    box.background = platform::StackBackground::GroupBox;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (dividers && i > 0) box.children.push_back(ViewNode::make(platform::DividerView{}));
        box.children.push_back(std::move(rows[i]));
    }
    group.children.push_back(ViewNode::makeStack(std::move(box)));
    return ViewNode::makeStack(std::move(group));
}

std::string flagNote(std::string_view flag) {
    return "\u2691 Set by " + std::string(flag) + " until the next launch.";
}

std::string forcedSwitchNote(bool value, std::string_view flag) {
    return std::string("\u2691 ") + (value ? "On" : "Off") + " by " + std::string(flag) +
           " until the next launch.";
}

ViewNode choiceRow(const ChoiceRow& choice) {
    const bool forced = AppSettings::hasOverride(choice.flag);
    platform::PickerView picker;
    picker.label = choice.title;
    for (const auto& title : choice.optionTitles)
        picker.options.push_back({title, std::nullopt});
    picker.selectedIndex = choice.current;
    if (!forced) {
        picker.onSelect = [key = choice.key, raw = choice.rawValues](int index) {
            if (index < 0 || static_cast<std::size_t>(index) >= raw.size()) return;
            platform::current().defaults->set(key, std::string(raw[static_cast<std::size_t>(index)]));
        };
    }
    ViewNode control = ViewNode::make(std::move(picker));
    control.disabled = forced;

    std::vector<ViewNode> details;
    if (forced)
        details.push_back(note(flagNote(choice.flag)));
    else if (choice.note)
        details.push_back(note(*choice.note));
    ViewNode node = row({choice.title, std::nullopt, std::move(control), std::move(details)});
    if (choice.isOff) {
        node.disabled = true;
        node.opacity = kDimmedRowOpacity;
    }
    return node;
}

ViewNode flagSwitchRow(const FlagSwitchRow& content) {
    const bool forced = AppSettings::hasOverride(content.flag);
    platform::SwitchView toggle;
    toggle.label = content.title;
    toggle.isOn = forced ? content.flagValue : content.isOn;
    if (!forced) {
        toggle.onChange = [key = content.key](bool on) { platform::current().defaults->set(key, on); };
    }
    ViewNode control = ViewNode::make(std::move(toggle));
    control.disabled = forced;
    std::vector<ViewNode> details;
    if (forced)
        details.push_back(note(forcedSwitchNote(content.flagValue, content.flag)));
    else if (content.note)
        details.push_back(note(*content.note));
    return row({content.title, std::nullopt, std::move(control), std::move(details)});
}

ViewNode legendRow(const LegendEntry& entry, std::shared_ptr<platform::HostedContent> caps) {
    platform::HostedView hosted;
    hosted.content = std::move(caps);
    return row({entry.title, std::nullopt, ViewNode::make(std::move(hosted)), {}});
}

ViewNode swatches(const Swatches& content) {
    auto line = stack(platform::Axis::Horizontal, 8);
    for (const auto& name : content.names) {
        platform::SwatchView swatch;
        swatch.name = name;
        swatch.color = AppSettings::resolveColor(name).value_or(platform::Color{0.5, 0.5, 0.5, 1});
        swatch.isSelected = name == content.selected;
        if (content.select) swatch.action = [select = content.select, name] { select(name); };
        ViewNode node = ViewNode::make(std::move(swatch));
        node.disabled = content.disabled;
        line.children.push_back(std::move(node));
    }
    return ViewNode::makeStack(std::move(line));
}

ViewNode restoreButton(bool isAtDefaults, std::function<void()> action) {
    auto line = stack(platform::Axis::Horizontal, 8);
    line.width = kSettingsPaneWidth - 2 * kSettingsPanePadding;
    line.children.push_back(ViewNode::make(platform::SpacerView{}));
    platform::ButtonView button;
    button.title = "Restore Defaults";
    button.action = std::move(action);
    ViewNode node = ViewNode::makeButton(std::move(button));
    node.disabled = isAtDefaults;
    line.children.push_back(std::move(node));
    return ViewNode::makeStack(std::move(line));
}

bool storedBoolean(std::string_view key, bool fallback) {
    return platform::current().defaults->boolean(key).value_or(fallback);
}

} // namespace marlowick
