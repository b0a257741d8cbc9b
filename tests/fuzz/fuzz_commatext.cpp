// The comma-text parser on arbitrary file bytes, decoded as files are.
#include "FuzzSupport.h"

#include "library/CellFields.h"
#include "library/CommaText.h"
#include "library/TextFile.h"

namespace {

void checkLine(QStringView line)
{
    const QStringList fields = CommaText::split(line);
    // The table reads cells in place; it must see the fields the parser sees.
    FuzzSupport::check(CellFields::count(line) == fields.size(), "count() agrees with split()");
    FuzzSupport::check(CellFields::hasFields(line) == !fields.isEmpty(), "hasFields() agrees with split()");
    for (int k = 0; k < fields.size() && k < 64; ++k)
        FuzzSupport::check(CellFields::text(line, k) == fields.at(k), "text(k) agrees with split()");
    FuzzSupport::check(CellFields::text(line, int(fields.size())).isEmpty(), "a field past the end is empty");

    // What is written reads back as the same fields; lines hold no line
    // breaks, so join() has none to flatten.
    FuzzSupport::check(CommaText::split(CommaText::join(fields)) == fields,
                       "join() then split() gives the fields back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = TextFile::decode(FuzzSupport::bytes(data, size));
    for (const QString &line : TextFile::splitLines(text))
        checkLine(line);
    return 0;
}
