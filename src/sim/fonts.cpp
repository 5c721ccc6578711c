#include "sim/fonts.h"

#include <string>

namespace marlowick::sim {

namespace {

// The family fontconfig knows Inter by; the machine's setup installs it.
constexpr const char* kSystemFontFamily = "Inter";

PangoWeight pangoWeight(platform::FontWeight weight) {
    using platform::FontWeight;
    switch (weight) {
    case FontWeight::UltraLight:
        return PANGO_WEIGHT_ULTRALIGHT;
    case FontWeight::Thin:
        return PANGO_WEIGHT_THIN;
    case FontWeight::Light:
        return PANGO_WEIGHT_LIGHT;
    case FontWeight::Regular:
        return PANGO_WEIGHT_NORMAL;
    case FontWeight::Medium:
        return PANGO_WEIGHT_MEDIUM;
    case FontWeight::Semibold:
        return PANGO_WEIGHT_SEMIBOLD;
    case FontWeight::Bold:
        return PANGO_WEIGHT_BOLD;
    case FontWeight::Heavy:
        return PANGO_WEIGHT_HEAVY;
    case FontWeight::Black:
        return PANGO_WEIGHT_ULTRAHEAVY;
    }
    return PANGO_WEIGHT_NORMAL;
}

std::string validUtf8(std::string_view text) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

} // namespace

void configureTextContext(PangoContext* context) {
    pango_cairo_context_set_resolution(context, 72);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
}

PangoLayoutPtr createTextLayout(PangoContext* context, std::string_view text, const platform::Font& font) {
    PangoLayoutPtr layout(pango_layout_new(context));
    pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    const std::string valid = validUtf8(text);
    pango_layout_set_text(layout.get(), valid.c_str(), -1);

    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, kSystemFontFamily);
    pango_font_description_set_weight(description, pangoWeight(font.weight));
    const double size = font.size > 0 && font.size < 10000 ? font.size : 13;
    pango_font_description_set_absolute_size(description, size * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);

    if (font.monospacedDigits) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_font_features_new("tnum"));
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    return layout;
}

platform::Size layoutSize(PangoLayout* layout) {
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {double(logical.width) / PANGO_SCALE, double(logical.height) / PANGO_SCALE};
}

SimFonts::SimFonts() : context_(pango_font_map_create_context(pango_cairo_font_map_get_default())) {
    configureTextContext(context_.get());
}

platform::Size SimFonts::measureText(std::string_view text, const platform::Font& font) {
    return layoutSize(createTextLayout(context_.get(), text, font).get());
}

} // namespace marlowick::sim

// Fontconfig keeps its configuration for the life of the process by design. Sanitizer builds are
// told so here, where every program that sets text links it, rather than failing each test on it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
