#include "CellStyle.h"

namespace {

constexpr quint32 kBlue = 0x0000FF;
constexpr quint32 kYellow = 0xFFFF00;
constexpr quint32 kAqua = 0x00FFFF;
constexpr quint32 kBlack = 0x000000;

} // namespace

CellStyle CellStyle::of(TableRules::CellColour colour)
{
    CellStyle style;
    switch (colour) {
    case TableRules::CellColour::Header:
        style.background = kBlue;
        style.text = kYellow;
        style.bold = true;
        break;
    case TableRules::CellColour::ZipMember:
        style.background = kAqua;
        style.text = kBlack;
        break;
    case TableRules::CellColour::Normal:
        break;
    }
    return style;
}
