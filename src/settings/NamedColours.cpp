#include "NamedColours.h"

const std::vector<NamedColours::Colour> &NamedColours::all()
{
    static const std::vector<Colour> colours = {
        {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
        {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
        {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
        {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
    };
    return colours;
}

int NamedColours::indexOf(int value)
{
    const auto &colours = all();
    for (size_t i = 0; i < colours.size(); ++i)
        if (colours[i].value == value)
            return int(i);
    return -1;
}

unsigned NamedColours::rgb(int value)
{
    const auto bgr = unsigned(value);
    return ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}

std::optional<int> NamedColours::restoredChange(int current, int stored)
{
    if (indexOf(stored) < 0 || stored == current)
        return std::nullopt;
    return stored;
}
