#pragma once

#include <QString>
#include <optional>
#include <vector>

// The sixteen standard named colours the colour pickers offer, and the rule
// by which a stored colour value reaches a picker. Colour values are stored
// as Windows colour numbers, 0x00BBGGRR.
class NamedColours
{
public:
    struct Colour {
        const char *name;
        int value; // 0x00BBGGRR
    };

    static const std::vector<Colour> &all();
    // Position of value in all(), or -1 when it is not a named colour.
    static int indexOf(int value);
    // The colour as 0xRRGGBB, the order Qt and the web use.
    static unsigned rgb(int value);

    static constexpr int Yellow = 0x00FFFF;
    static constexpr int Black = 0x000000;

    // What a picker showing current does with a stored value: it takes the
    // stored colour only when that is one of its colours and differs from
    // current (a change, which the caller applies); otherwise nothing.
    static std::optional<int> restoredChange(int current, int stored);
};
