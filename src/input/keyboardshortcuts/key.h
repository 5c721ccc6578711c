// Keys by their virtual key codes, as the platform's standard layout numbers them. Which character
// a key types depends on the layout and is looked up elsewhere (shortcut.h's description).
#pragma once

#include <cstdint>

namespace KeyboardShortcuts {

struct Key {
    std::int64_t rawValue = 0;

    constexpr explicit Key(std::int64_t code) : rawValue(code) {}
    friend constexpr bool operator==(const Key&, const Key&) = default;

    // Letters, by their place on the U.S. layout.
    static const Key a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p, q, r, s, t, u, v, w, x, y, z;
    static const Key zero, one, two, three, four, five, six, seven, eight, nine;
    static const Key equal, minus, leftBracket, rightBracket, quote, semicolon, backslash, comma, slash,
        period, backtick, section;
    // `return` and `delete` are words of the language, hence the suffix on those two.
    static const Key returnKey, deleteKey, deleteForward, end, escape, help, home, space, tab, pageUp,
        pageDown, upArrow, rightArrow, downArrow, leftArrow;
    static const Key f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19,
        f20;
    static const Key keypad0, keypad1, keypad2, keypad3, keypad4, keypad5, keypad6, keypad7, keypad8, keypad9,
        keypadClear, keypadDecimal, keypadDivide, keypadEnter, keypadEquals, keypadMinus, keypadMultiply,
        keypadPlus;
    static const Key command, rightCommand, shift, rightShift, option, rightOption, control, rightControl,
        capsLock, function, volumeUp, volumeDown, mute;
};

inline constexpr Key Key::a{0}, Key::s{1}, Key::d{2}, Key::f{3}, Key::h{4}, Key::g{5}, Key::z{6}, Key::x{7},
    Key::c{8}, Key::v{9}, Key::b{11}, Key::q{12}, Key::w{13}, Key::e{14}, Key::r{15}, Key::y{16}, Key::t{17},
    Key::o{31}, Key::u{32}, Key::i{34}, Key::p{35}, Key::l{37}, Key::j{38}, Key::k{40}, Key::n{45},
    Key::m{46};
inline constexpr Key Key::one{18}, Key::two{19}, Key::three{20}, Key::four{21}, Key::six{22}, Key::five{23},
    Key::nine{25}, Key::seven{26}, Key::eight{28}, Key::zero{29};
inline constexpr Key Key::section{10}, Key::equal{24}, Key::minus{27}, Key::rightBracket{30},
    Key::leftBracket{33}, Key::quote{39}, Key::semicolon{41}, Key::backslash{42}, Key::comma{43},
    Key::slash{44}, Key::period{47}, Key::backtick{50};
inline constexpr Key Key::returnKey{36}, Key::tab{48}, Key::space{49}, Key::deleteKey{51}, Key::escape{53},
    Key::help{114}, Key::home{115}, Key::pageUp{116}, Key::deleteForward{117}, Key::end{119},
    Key::pageDown{121}, Key::leftArrow{123}, Key::rightArrow{124}, Key::downArrow{125}, Key::upArrow{126};
inline constexpr Key Key::f1{122}, Key::f2{120}, Key::f3{99}, Key::f4{118}, Key::f5{96}, Key::f6{97},
    Key::f7{98}, Key::f8{100}, Key::f9{101}, Key::f10{109}, Key::f11{103}, Key::f12{111}, Key::f13{105},
    Key::f14{107}, Key::f15{113}, Key::f16{106}, Key::f17{64}, Key::f18{79}, Key::f19{80}, Key::f20{90};
inline constexpr Key Key::keypadDecimal{65}, Key::keypadMultiply{67}, Key::keypadPlus{69},
    Key::keypadClear{71}, Key::keypadDivide{75}, Key::keypadEnter{76}, Key::keypadMinus{78},
    Key::keypadEquals{81}, Key::keypad0{82}, Key::keypad1{83}, Key::keypad2{84}, Key::keypad3{85},
    Key::keypad4{86}, Key::keypad5{87}, Key::keypad6{88}, Key::keypad7{89}, Key::keypad8{91},
    Key::keypad9{92};
inline constexpr Key Key::rightCommand{54}, Key::command{55}, Key::shift{56}, Key::capsLock{57},
    Key::option{58}, Key::control{59}, Key::rightShift{60}, Key::rightOption{61}, Key::rightControl{62},
    Key::function{63}, Key::volumeUp{72}, Key::volumeDown{73}, Key::mute{74};

} // namespace KeyboardShortcuts
