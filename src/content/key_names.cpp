#include "content/key_names.h"
#include "app/sfml_compat.h"

#include <iterator>

namespace {
using Key = sf::Keyboard::Key;

struct NamedKey {
    Key key;
    const char* name;
};

// Every key SFML names, under its current name (SFML 2.5 knows these too, beside the old
// spellings it still accepts, such as "SemiColon" and "Return").
const NamedKey kKeys[] = {
    {Key::A, "A"}, {Key::B, "B"}, {Key::C, "C"}, {Key::D, "D"}, {Key::E, "E"}, {Key::F, "F"}, {Key::G, "G"},
    {Key::H, "H"}, {Key::I, "I"}, {Key::J, "J"}, {Key::K, "K"}, {Key::L, "L"}, {Key::M, "M"}, {Key::N, "N"},
    {Key::O, "O"}, {Key::P, "P"}, {Key::Q, "Q"}, {Key::R, "R"}, {Key::S, "S"}, {Key::T, "T"}, {Key::U, "U"},
    {Key::V, "V"}, {Key::W, "W"}, {Key::X, "X"}, {Key::Y, "Y"}, {Key::Z, "Z"},
    {Key::Num0, "Num0"}, {Key::Num1, "Num1"}, {Key::Num2, "Num2"}, {Key::Num3, "Num3"}, {Key::Num4, "Num4"},
    {Key::Num5, "Num5"}, {Key::Num6, "Num6"}, {Key::Num7, "Num7"}, {Key::Num8, "Num8"}, {Key::Num9, "Num9"},
    {Key::Escape, "Escape"}, {Key::LControl, "LControl"}, {Key::LShift, "LShift"}, {Key::LAlt, "LAlt"},
    {Key::LSystem, "LSystem"}, {Key::RControl, "RControl"}, {Key::RShift, "RShift"}, {Key::RAlt, "RAlt"},
    {Key::RSystem, "RSystem"}, {Key::Menu, "Menu"}, {Key::LBracket, "LBracket"}, {Key::RBracket, "RBracket"},
    {Key::Semicolon, "Semicolon"}, {Key::Comma, "Comma"}, {Key::Period, "Period"},
    {kApostropheKey, "Apostrophe"}, {Key::Slash, "Slash"}, {Key::Backslash, "Backslash"},
    {kGraveKey, "Grave"}, {Key::Equal, "Equal"}, {Key::Hyphen, "Hyphen"}, {Key::Space, "Space"},
    {Key::Enter, "Enter"}, {Key::Backspace, "Backspace"}, {Key::Tab, "Tab"}, {Key::PageUp, "PageUp"},
    {Key::PageDown, "PageDown"}, {Key::End, "End"}, {Key::Home, "Home"}, {Key::Insert, "Insert"},
    {Key::Delete, "Delete"}, {Key::Add, "Add"}, {Key::Subtract, "Subtract"}, {Key::Multiply, "Multiply"},
    {Key::Divide, "Divide"}, {Key::Left, "Left"}, {Key::Right, "Right"}, {Key::Up, "Up"}, {Key::Down, "Down"},
    {Key::Numpad0, "Numpad0"}, {Key::Numpad1, "Numpad1"}, {Key::Numpad2, "Numpad2"}, {Key::Numpad3, "Numpad3"},
    {Key::Numpad4, "Numpad4"}, {Key::Numpad5, "Numpad5"}, {Key::Numpad6, "Numpad6"}, {Key::Numpad7, "Numpad7"},
    {Key::Numpad8, "Numpad8"}, {Key::Numpad9, "Numpad9"}, {Key::F1, "F1"}, {Key::F2, "F2"}, {Key::F3, "F3"},
    {Key::F4, "F4"}, {Key::F5, "F5"}, {Key::F6, "F6"}, {Key::F7, "F7"}, {Key::F8, "F8"}, {Key::F9, "F9"},
    {Key::F10, "F10"}, {Key::F11, "F11"}, {Key::F12, "F12"}, {Key::F13, "F13"}, {Key::F14, "F14"},
    {Key::F15, "F15"}, {Key::Pause, "Pause"},
};
}  // namespace

std::optional<sf::Keyboard::Key> keyNamed(const std::string& name) {
    for (const NamedKey& named : kKeys)
        if (name == named.name) return named.key;
    return std::nullopt;
}

std::string keyName(sf::Keyboard::Key key) {
    for (const NamedKey& named : kKeys)
        if (key == named.key) return named.name;
    return "";
}
