// Loading Master.TXT into the category tree, and writing it back.
#include "FuzzSupport.h"

#include "library/CategoryTree.h"
#include "library/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = TextFile::decode(FuzzSupport::bytes(data, size));
    CategoryTree tree;
    tree.loadLines(TextFile::splitLines(text));
    const QStringList saved = tree.saveLines();

    // What the program writes it must read back unchanged: a tree saved at
    // every shutdown may not drift from one start to the next.
    CategoryTree reloaded;
    reloaded.loadLines(saved);
    FuzzSupport::check(reloaded.saveLines() == saved, "a saved tree loads and saves unchanged");
    FuzzSupport::check(reloaded.catalogCount() <= tree.catalogCount(), "saving adds no catalog");
    return 0;
}
