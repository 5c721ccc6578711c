#include "sim/keyboard_layouts.h"

#include <array>
#include <map>
#include <set>
#include <string_view>

#include "platform/hot_keys.h"

namespace marlowick::sim {

namespace {

using KeyTable = std::map<std::uint16_t, std::u16string>;

// Keys that type the same on every layout here: control keys, keypad, arrows and function keys
// (which produce the platform's function-key character 0x10).
KeyTable commonKeys() {
    KeyTable keys{
        {36, u"\r"},    {48, u"\t"},    {49, u" "},     {51, u"\x08"},  {53, u"\x1b"},  {65, u"."},
        {67, u"*"},     {69, u"+"},     {71, u"\x1b"},  {75, u"/"},     {76, u"\x03"},  {78, u"-"},
        {81, u"="},     {82, u"0"},     {83, u"1"},     {84, u"2"},     {85, u"3"},     {86, u"4"},
        {87, u"5"},     {88, u"6"},     {89, u"7"},     {91, u"8"},     {92, u"9"},     {114, u"\x05"},
        {115, u"\x01"}, {116, u"\x0b"}, {117, u"\x7f"}, {119, u"\x04"}, {121, u"\x0c"}, {123, u"\x1c"},
        {124, u"\x1d"}, {125, u"\x1f"}, {126, u"\x1e"},
    };
    for (std::uint16_t functionKey :
         {122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107, 113, 106, 64, 79, 80, 90})
        keys[functionKey] = u"\x10";
    return keys;
}

// The typing keys from key code 0 to 50, in key-code order; an empty entry types nothing.
using TypingRow = std::array<const char16_t*, 51>;

constexpr TypingRow kUS = {u"a", u"s", u"d", u"f",  u"h", u"g", u"z", u"x", u"c", u"v", u"§", u"b", u"q",
                           u"w", u"e", u"r", u"y",  u"t", u"1", u"2", u"3", u"4", u"6", u"5", u"=", u"9",
                           u"7", u"-", u"8", u"0",  u"]", u"o", u"u", u"[", u"i", u"p", u"",  u"l", u"j",
                           u"'", u"k", u";", u"\\", u",", u"/", u"n", u"m", u".", u"",  u"",  u"`"};

constexpr TypingRow kGerman = {u"a", u"s", u"d", u"f", u"h", u"g", u"y", u"x", u"c", u"v", u"^", u"b", u"q",
                               u"w", u"e", u"r", u"z", u"t", u"1", u"2", u"3", u"4", u"6", u"5", u"´", u"9",
                               u"7", u"ß", u"8", u"0", u"+", u"o", u"u", u"ü", u"i", u"p", u"",  u"l", u"j",
                               u"ä", u"k", u"ö", u"#", u",", u"-", u"n", u"m", u".", u"",  u"",  u"<"};

constexpr TypingRow kFrench = {u"q", u"s", u"d", u"f", u"h", u"g", u"w", u"x",  u"c", u"v", u"@", u"b", u"a",
                               u"z", u"e", u"r", u"y", u"t", u"&", u"é", u"\"", u"'", u"§", u"(", u"-", u"ç",
                               u"è", u")", u"!", u"à", u"$", u"o", u"u", u"^",  u"i", u"p", u"",  u"l", u"j",
                               u"ù", u"k", u"m", u"`", u";", u"=", u"n", u",",  u":", u"",  u"",  u"<"};

constexpr TypingRow kDvorak = {u"a", u"o", u"e", u"u",  u"d", u"i", u";", u"q", u"j", u"k", u"§", u"x", u"'",
                               u",", u".", u"p", u"f",  u"y", u"1", u"2", u"3", u"4", u"6", u"5", u"]", u"9",
                               u"7", u"[", u"8", u"0",  u"=", u"r", u"g", u"/", u"c", u"l", u"",  u"n", u"h",
                               u"-", u"t", u"s", u"\\", u"w", u"z", u"b", u"m", u"v", u"",  u"",  u"`"};

// What Shift makes of the typing keys' characters, as pairs (unshifted, shifted); letters a to z
// become capitals on every layout.
constexpr std::u16string_view kUSShifted = u"1!2@3#4$5%6^7&8*9(0)-_=+[{]}\\|;:'\",<.>/?`~§±";
constexpr std::u16string_view kGermanShifted = u"1!2\"3§4$5%6&7/8(9)0=ß?´`+*#',;.:-_<>^°üÜäÄöÖ";
constexpr std::u16string_view kFrenchShifted = u"&1é2\"3'4(5§6è7!8ç9à0)°-_^¨$*ù%`£;.:/=+,?@#<>";

class TableLayout final : public platform::KeyLayout {
public:
    TableLayout(const TypingRow& row, std::set<std::uint16_t> deadKeys, std::u16string_view shiftPairs,
                std::map<std::uint16_t, std::u16string> changes = {})
        : keys_(commonKeys()), deadKeys_(std::move(deadKeys)) {
        for (std::uint16_t code = 0; code < row.size(); ++code) {
            if (*row[code]) keys_[code] = row[code];
        }
        for (auto& [code, text] : changes)
            keys_[code] = std::move(text);
        shifted_ = keys_;
        for (auto& [code, text] : shifted_) {
            if (code >= row.size() || text.size() != 1) continue;
            char16_t c = text[0];
            if (c >= u'a' && c <= u'z') {
                text[0] = static_cast<char16_t>(c - u'a' + u'A');
                continue;
            }
            for (std::size_t i = 0; i + 1 < shiftPairs.size(); i += 2) {
                if (shiftPairs[i] == c) {
                    text[0] = shiftPairs[i + 1];
                    break;
                }
            }
        }
    }

    platform::OSStatus translate(std::uint16_t keyCode, platform::KeyAction action,
                                 std::uint32_t modifierKeyState, std::uint32_t, platform::DeadKeys deadKeys,
                                 std::uint32_t& deadKeyState, std::size_t maxLength,
                                 std::u16string& out) const override {
        out.clear();
        // Only Shift is modelled; other modifier keys are refused rather than ignored.
        constexpr std::uint32_t kShiftState = platform::kCarbonShift >> 8;
        if ((modifierKeyState & ~kShiftState) != 0) return platform::kParamErr;
        if (action == platform::KeyAction::Up) return platform::kNoErr;
        const KeyTable& table = modifierKeyState & kShiftState ? shifted_ : keys_;
        auto found = table.find(keyCode);
        if (found == table.end()) return platform::kNoErr;
        // A dead key types nothing now and changes the next key, unless the caller suppresses it
        // or only wants to show what the key stands for.
        bool startsDeadKey = deadKeys_.contains(keyCode) && deadKeys == platform::DeadKeys::Process &&
                             action != platform::KeyAction::Display;
        if (startsDeadKey) {
            deadKeyState = keyCode + 1u;
            return platform::kNoErr;
        }
        deadKeyState = 0;
        if (found->second.size() > maxLength) return platform::kUCOutputBufferTooSmall;
        out = found->second;
        return platform::kNoErr;
    }

private:
    KeyTable keys_;
    KeyTable shifted_;
    std::set<std::uint16_t> deadKeys_;
};

} // namespace

std::shared_ptr<const platform::KeyLayout> SimKeyboardLayouts::layout(LayoutId id) {
    static const auto us = std::make_shared<TableLayout>(kUS, std::set<std::uint16_t>{}, kUSShifted);
    static const auto german =
        std::make_shared<TableLayout>(kGerman, std::set<std::uint16_t>{10, 24}, kGermanShifted);
    static const auto french =
        std::make_shared<TableLayout>(kFrench, std::set<std::uint16_t>{33, 42}, kFrenchShifted);
    static const auto dvorak = std::make_shared<TableLayout>(kDvorak, std::set<std::uint16_t>{}, kUSShifted);
    static const auto partialLatin = std::make_shared<TableLayout>(kUS, std::set<std::uint16_t>{}, kUSShifted,
                                                                   KeyTable{{31, u"ø"}, {12, u"ʻ"}});
    switch (id) {
    case LayoutId::US:
        return us;
    case LayoutId::German:
        return german;
    case LayoutId::French:
        return french;
    case LayoutId::Dvorak:
        return dvorak;
    case LayoutId::PartialLatin:
        return partialLatin;
    }
    return us;
}

std::shared_ptr<const platform::KeyLayout> SimKeyboardLayouts::currentASCIICapableLayout() {
    if (layoutDataMissing_) return nullptr;
    return layout(selected_);
}

} // namespace marlowick::sim
