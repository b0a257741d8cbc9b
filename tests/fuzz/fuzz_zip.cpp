// The ZIP listing on arbitrary archive bytes: local headers, data
// descriptors, ZIP64 fields and the central directory.
#include "FuzzSupport.h"

#include "indexing/ZipDirectoryReader.h"
#include "library/CommaText.h"
#include "library/DateFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzSupport::writeScratchFile(data, size);
    ZipDirectoryReader reader;
    reader.setFileName(path);
    FuzzSupport::check(reader.Count() == reader.entries().size(), "Count() counts the entries");
    FuzzSupport::check(reader.errorMessage().isEmpty() || reader.errorMessage().endsWith(path),
                       "an error names the archive");

    const QStringList lines = reader.catalogLines(DateFormats());
    FuzzSupport::check(lines.size() == reader.entries().size(), "one catalog line per member");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ZipEntry &entry = reader.entries().at(i);
        FuzzSupport::check(entry.compressedSize >= 0 && entry.compressedSize <= qint64(size),
                           "a member's size is never negative nor beyond the file");
        // A member's line must read back as the five fields of a catalog entry.
        const QStringList fields = CommaText::split(lines.at(i));
        FuzzSupport::check(fields.size() == 5, "a member's line has five fields");
        FuzzSupport::check(fields.at(1) == QString::number(entry.compressedSize),
                           "the size field is the member's compressed size");
    }
    return 0;
}
