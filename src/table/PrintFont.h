#pragma once

#include <QFont>

class FormValues;

// The print font as the settings file keeps it: one key per attribute
// under FontDialog1_Font (Name, Size in points, Height as negative pixels
// at 96 to the inch, Style as a set such as "[fsBold,fsItalic]"). The
// colour, character set and pitch keys are kept as they were.
namespace PrintFont {

QFont read(const FormValues &form);
void write(FormValues &form, const QFont &font);

} // namespace PrintFont
