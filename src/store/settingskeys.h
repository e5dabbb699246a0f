#pragma once

#include <array>
#include <cstddef>

// Every entry the program keeps, declared once. The setup and color rows stand in the
// order in which a first run writes their defaults.
enum class Key : int {
    Start, Top, Left,
    Sp1, Sp2, Sp2i, Tel, TelS1, TelS2, Mode,
    ColorB, ColorF, ColorS, ColorTel,
    Holiday, OnTop, Hourly, Coast,
};

// The switches the program added beyond the design, from this one on: a missing one is
// written quietly, so an upgrade does not warn.
inline constexpr Key kFirstExtra = Key::Holiday;

enum class Encoding { Marker, Position, Switch, Colour };

struct KeyInfo {
    Key key;
    const char *section;
    const char *name;
    Encoding encoding;
    const char *firstRunDefault; // nullptr: written only when the window closes
};

inline constexpr std::array<KeyInfo, 18> kKeys{{
    {Key::Start, "info", "start", Encoding::Marker, nullptr},
    {Key::Top, "info", "top", Encoding::Position, nullptr},
    {Key::Left, "info", "left", Encoding::Position, nullptr},
    {Key::Sp1, "setup", "sp1", Encoding::Switch, "1"},
    {Key::Sp2, "setup", "sp2", Encoding::Switch, "0"},
    {Key::Sp2i, "setup", "sp2i", Encoding::Switch, "0"},
    {Key::Tel, "setup", "tel", Encoding::Switch, "0"},
    {Key::TelS1, "setup", "tel_s1", Encoding::Switch, "1"},
    {Key::TelS2, "setup", "tel_s2", Encoding::Switch, "0"},
    {Key::Mode, "setup", "mode", Encoding::Switch, "0"},
    {Key::ColorB, "color", "color_b", Encoding::Colour, "0"},
    {Key::ColorF, "color", "color_f", Encoding::Colour, "65280"},
    {Key::ColorS, "color", "color_s", Encoding::Colour, "255"},
    {Key::ColorTel, "color", "color_tel", Encoding::Colour, "16744576"},
    // Switched from the clock's menu: holidays coloured as Sundays, the window kept on top,
    // the time signal listened to on every hour, the clock moved by the estimate between signals.
    {Key::Holiday, "setup", "holiday", Encoding::Switch, "0"},
    {Key::OnTop, "setup", "ontop", Encoding::Switch, "0"},
    {Key::Hourly, "setup", "hourly", Encoding::Switch, "0"},
    {Key::Coast, "setup", "coast", Encoding::Switch, "0"},
}};

constexpr const KeyInfo &keyInfo(Key key) { return kKeys[static_cast<std::size_t>(key)]; }

// What the marker reads as when it is missing: a first run.
inline constexpr const char *kStartDefault = "0";
inline constexpr const char *kStartedMarker = "1";
