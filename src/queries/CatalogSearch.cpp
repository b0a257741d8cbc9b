#include "CatalogSearch.h"

#include "CatalogLines.h"
#include "CatalogStream.h"
#include "CheckTree.h"
#include "DateRangeMatcher.h"
#include "DateReader.h"
#include "ExtensionMatcher.h"
#include "LineFields.h"
#include "ResultSorter.h"
#include "WordMatcher.h"
#include "indexing/RunControl.h"
#include "library/CatalogLibrary.h"
#include "library/SortedLineList.h"
#include "library/Windows1252.h"

#include <QFileInfo>

#include <utility>

namespace {

// Hands every matching line of one catalog file to found, in file order,
// reading the file piece by piece. A restart in Windows-1252 empties lines
// first. False when the file cannot be read.
bool searchFile(CatalogStream &stream, const QString &path, LineMatcher &matcher,
                SortedLineList &lines, const LineMatcher::Found &found)
{
    if (!stream.open(path))
        return false;
    QString decoded;
    for (;;) {
        switch (stream.next()) {
        case CatalogStream::Step::Piece:
            if (stream.isUtf8()) {
                matcher.findInUtf8(stream.piece(), found);
            } else {
                const QByteArrayView piece = stream.piece();
                decoded = Windows1252::decode(QByteArray::fromRawData(piece.data(), piece.size()));
                matcher.findIn(decoded, found);
            }
            break;
        case CatalogStream::Step::Restarted:
            lines.clear();
            break;
        case CatalogStream::Step::End:
            return true;
        case CatalogStream::Step::Failed:
            lines.clear();
            return false;
        }
    }
}

} // namespace

CatalogSearch::Request CatalogSearch::Request::viewAll()
{
    Request r;
    r.mode = Mode::Extension;
    r.extension = QStringLiteral("*.*");
    return r;
}

CatalogSearch::CatalogSearch(const CatalogLibrary &library, const DateFormats &formats,
                             int currentYear)
    : m_library(library), m_formats(formats), m_currentYear(currentYear)
{
}

QString CatalogSearch::foundText(qsizetype matches)
{
    return QStringLiteral("Found %1 Matches").arg(matches);
}

std::unique_ptr<LineMatcher> CatalogSearch::matcherFor(const Request &request,
                                                        QString *error) const
{
    switch (request.mode) {
    case Mode::Word:
        if (request.word.isEmpty())
            return nullptr;
        return std::make_unique<WordMatcher>(request.word, request.caseSensitive);
    case Mode::Extension:
        if (request.extension.isEmpty())
            return nullptr;
        return std::make_unique<ExtensionMatcher>(request.extension);
    case Mode::Date: {
        if (request.from.isEmpty() || request.to.isEmpty())
            return nullptr;
        const DateReader reader(m_formats, m_currentYear);
        const QDate from = reader.read(request.from);
        if (!from.isValid()) {
            if (error)
                *error = DateReader::invalidDateMessage(request.from);
            return nullptr;
        }
        const QDate to = reader.read(request.to);
        if (!to.isValid()) {
            if (error)
                *error = DateReader::invalidDateMessage(request.to);
            return nullptr;
        }
        return std::make_unique<DateRangeMatcher>(from, to, reader);
    }
    }
    return nullptr;
}

CatalogSearch::Result CatalogSearch::run(const Request &request, const CheckTree &tree,
                                         RunControl &control, SortedLineList &results) const
{
    results.clear();
    Result result;
    const std::unique_ptr<LineMatcher> matcher = matcherFor(request, &result.message);
    if (!matcher) {
        result.outcome = result.message.isEmpty() ? Outcome::NothingToDo : Outcome::InvalidDate;
        return result;
    }
    LineFields scratch;
    SortedLineList lines;
    CatalogStream stream;
    ResultSorter sorter;
    for (const CheckTree::Category &category : tree.categories()) {
        for (const CheckTree::Node &catalog : category.catalogs) {
            if (!catalog.checked)
                continue;
            if (!control.keepGoing()) {
                results.clear();
                control.status(QStringLiteral("Search Cancelled"));
                result.outcome = Outcome::Cancelled;
                return result;
            }
            control.status(QStringLiteral("Searching %1 Catalog").arg(catalog.text));
            const QString path = m_library.catalogFilePath(catalog.text);
            if (!QFileInfo(path).isFile())
                continue;
            const QString name = CatalogLines::quotedName(catalog.text);
            lines.clear();
            const bool read = searchFile(stream, path, *matcher, lines, [&](QStringView line) {
                lines.add(CatalogLines::resultLine(line, name, scratch));
            });
            if (!read)
                result.unreadable << catalog.text;
            sorter.add(std::exchange(lines, SortedLineList()));
        }
    }
    results.merge(sorter.takeSorted());
    result.outcome = Outcome::Finished;
    result.matches = results.count();
    control.status(foundText(result.matches));
    return result;
}
