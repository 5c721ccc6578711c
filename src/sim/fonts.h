// Text on the simulated Mac: the system font is Inter, set with Pango for measuring and drawing.
// Models: one-line text in the system font at any size and weight, tabular digits on request, invalid
// UTF-8 replaced. Not modelled: the Mac's own font (metrics differ slightly), font fallback choices.
#pragma once

#include <pango/pangocairo.h>

#include <memory>
#include <string_view>

#include "platform/fonts.h"

namespace marlowick::sim {

struct GObjectRelease {
    void operator()(void* object) const { g_object_unref(object); }
};
using PangoLayoutPtr = std::unique_ptr<PangoLayout, GObjectRelease>;

// Sets up a Pango context the way all text is set: sizes in points (user-space units) and unhinted
// metrics, so a measurement does not depend on the scale it is drawn at.
void configureTextContext(PangoContext* context);
// One line of text in the font, laid out in the context.
PangoLayoutPtr createTextLayout(PangoContext* context, std::string_view text, const platform::Font& font);
// The advance width and line height of a laid-out line.
platform::Size layoutSize(PangoLayout* layout);

class SimFonts final : public platform::Fonts {
public:
    SimFonts();
    platform::Size measureText(std::string_view text, const platform::Font& font) override;

private:
    std::unique_ptr<PangoContext, GObjectRelease> context_;
};

} // namespace marlowick::sim
