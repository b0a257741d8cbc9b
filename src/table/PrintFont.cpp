#include "PrintFont.h"

#include "settings/FormValues.h"

#include <QStringList>

#include <cmath>

namespace {

const QString kKey = QStringLiteral("FontDialog1_Font");

QString key(const char *attribute)
{
    return kKey + QLatin1String(attribute);
}

QStringList styleNames(const QFont &font)
{
    QStringList names;
    if (font.bold())
        names << QStringLiteral("fsBold");
    if (font.italic())
        names << QStringLiteral("fsItalic");
    if (font.underline())
        names << QStringLiteral("fsUnderline");
    if (font.strikeOut())
        names << QStringLiteral("fsStrikeOut");
    return names;
}

} // namespace

namespace PrintFont {

QFont read(const FormValues &form)
{
    QFont font(form.text(key("Name")));
    const int points = form.integer(key("Size"));
    const int height = form.integer(key("Height"));
    if (points > 0)
        font.setPointSize(points);
    else if (height != 0)
        font.setPointSizeF(std::abs(height) * 72.0 / 96.0);
    const QString style = form.text(key("Style"));
    font.setBold(style.contains(QLatin1String("fsBold")));
    font.setItalic(style.contains(QLatin1String("fsItalic")));
    font.setUnderline(style.contains(QLatin1String("fsUnderline")));
    font.setStrikeOut(style.contains(QLatin1String("fsStrikeOut")));
    return font;
}

void write(FormValues &form, const QFont &font)
{
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    form.setText(key("Name"), font.family());
    form.setInteger(key("Size"), int(std::lround(points)));
    form.setInteger(key("Height"), -int(std::lround(points * 96.0 / 72.0)));
    form.setText(key("Style"), QLatin1Char('[') + styleNames(font).join(u',') + QLatin1Char(']'));
}

} // namespace PrintFont
