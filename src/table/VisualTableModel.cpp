#include "VisualTableModel.h"

#include "RowOrder.h"
#include "library/CellFields.h"
#include "library/Utf8Fields.h"

#include "library/CommaText.h"
#include "library/SortedLineList.h"
#include "queries/ResultMerge.h"
#include "queries/ResultRun.h"

#include <algorithm>
#include <chrono>
#include <future>

#ifdef __GLIBC__
#include <malloc.h>
#endif

VisualTableModel::VisualTableModel(const DateFormats &dates, QObject *parent)
    : QAbstractTableModel(parent), m_dateKeys(dates)
{
    setUpView(TableRules::View::Catalog);
}

void VisualTableModel::setDateFormats(const DateFormats &dates)
{
    m_dateKeys = DateKeyReader(dates);
}

void VisualTableModel::setUpCatalogView()
{
    setUpView(TableRules::View::Catalog);
}

void VisualTableModel::setUpResultView()
{
    setUpView(TableRules::View::Result);
}

void VisualTableModel::setUpReportView()
{
    setUpView(TableRules::View::Report);
}

void VisualTableModel::setUpView(TableRules::View view)
{
    beginResetModel();
    m_titles = TableRules::titles(view);
    m_columnCount = int(m_titles.size());
    m_rows = Utf8Rows();
    m_rows.resize(1);
    endResetModel();
    // A new layout starts from the order its rows are filled in.
    m_sortColumn = 0;
    m_sortOrder = Qt::AscendingOrder;
    m_sortIndicatorShown = view != TableRules::View::Report;
    emit sortStateChanged();
}

namespace {

qsizetype utf8Length(QStringView line)
{
    return Utf8Rows::utf8Length(line);
}

qsizetype utf8Length(QByteArrayView line)
{
    return line.size();
}

bool hasFields(QStringView line)
{
    return CellFields::hasFields(line);
}

// The same test on UTF-8: characters 1 to 32 are blanks, a NUL ends the line.
bool hasFields(QByteArrayView line, QByteArrayView tail = {})
{
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            return false;
        if (byte > 32)
            return true;
    }
    return !tail.isEmpty() && hasFields(tail);
}

// How long a fill waits for its ordering thread between calls that keep a
// window answering.
constexpr int kOrderingWaitMs = 15;

// The runs' line places were made on the search's threads, in heaps of
// their own that the table's later allocations (the view's row header
// among them) cannot reuse: their pages go back to the system instead of
// staying with the process beside the rows.
void releaseFreedHeap()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

void VisualTableModel::fill(const QStringList &lines)
{
    fillFrom(lines.size(), [&lines](qsizetype i) { return QStringView(lines.at(i)); });
}

void VisualTableModel::fill(const SortedLineList &lines)
{
    // The list's bytes are already the rows' form: nothing is decoded.
    fillFrom(lines.count(), [&lines](qsizetype i) { return lines.utf8At(i); });
}

void VisualTableModel::fill(SortedLineList &&lines)
{
    if (lines.isEmpty())
        return;
    beginResetModel();
    SortedLineList::Storage storage = lines.takeStorage();
    std::vector<SortedLineList::Line> &rows = storage.lines;
    size_t filled = 0;
    for (const SortedLineList::Line &line : rows) {
        if (hasFields(line.view()))
            rows[filled++] = line;
    }
    std::fill(rows.begin() + qsizetype(filled), rows.end(), SortedLineList::Line{nullptr, 0});
    m_rows.adopt(std::move(storage));
    endResetModel();
}

void VisualTableModel::fill(std::vector<ResultRun> &&runs, const std::function<void()> &whileOrdering)
{
    qsizetype count = 0;
    for (const ResultRun &run : runs)
        count += run.count();
    if (count == 0)
        return;
    Utf8Rows rows;
    rows.reserveRows(count);
    // Only the ordering thread touches the runs and the new rows until it
    // ends; the model's own rows stay as they are for the views meanwhile.
    std::future<void> ordering = std::async(std::launch::async, [&runs, &rows] { appendMerged(runs, rows); });
    do {
        if (whileOrdering)
            whileOrdering();
    } while (ordering.wait_for(std::chrono::milliseconds(kOrderingWaitMs)) != std::future_status::ready);
    ordering.get();
    for (ResultRun &taken : runs)
        rows.holdBlocks(taken.takeBlocks());
    runs.clear();
    beginResetModel();
    m_rows = std::move(rows);
    releaseFreedHeap();
    endResetModel();
}

void VisualTableModel::appendMerged(const std::vector<ResultRun> &runs, Utf8Rows &rows)
{
    std::vector<int> tails;
    tails.reserve(runs.size());
    for (const ResultRun &run : runs)
        tails.push_back(rows.addTail(run.tail().toByteArray()));
    ResultMerge merge(runs);
    const ResultRun *run = nullptr;
    qsizetype index = 0;
    qsizetype blank = 0;
    QByteArray whole;
    while (merge.next(run, index)) {
        const QByteArrayView head = run->head(index);
        const int tail = tails[size_t(run - runs.data())];
        if (!hasFields(head, run->tail())) {
            ++blank;
        } else if (tail > 0) {
            rows.appendHeld(head, tail);
        } else {
            run->lineAt(index, whole);
            rows.append(QByteArrayView(whole));
        }
    }
    // As in every fill, lines without fields are empty rows at the end.
    rows.resize(rows.size() + blank);
}

template <typename LineAt>
void VisualTableModel::fillFrom(qsizetype count, LineAt lineAt)
{
    if (count == 0)
        return;
    beginResetModel();
    // The exact size first, so the buffer is allocated once.
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < count; ++i)
        bytes += utf8Length(lineAt(i));
    Utf8Rows rows;
    rows.reserveBytes(bytes);
    rows.reserveRows(count);
    for (qsizetype i = 0; i < count; ++i) {
        const auto line = lineAt(i);
        if (hasFields(line))
            rows.append(line);
    }
    rows.resize(count);
    m_rows = std::move(rows);
    endResetModel();
}

QString VisualTableModel::cell(int column, int row) const
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= tableRowCount())
        return QString();
    if (row == 0)
        return m_titles.value(column);
    QByteArray scratch;
    return Utf8Fields::text(m_rows.line(row - 1, scratch), column);
}

bool VisualTableModel::setCell(int column, int row, const QString &text)
{
    if (column < 0 || column >= m_columnCount || row < 0 || row >= tableRowCount())
        return false;
    if (row == 0) {
        m_titles[column] = cleanCell(text);
        emit headerDataChanged(Qt::Horizontal, column, column);
        return true;
    }
    m_rows.set(row - 1, lineWithCell(m_rows.line(row - 1), column, cleanCell(text)));
    const QModelIndex changed = index(row - 1, column);
    // The path decides the colour of the whole row.
    if (column == 3)
        emit dataChanged(index(row - 1, 0), index(row - 1, m_columnCount - 1));
    else
        emit dataChanged(changed, changed);
    return true;
}

void VisualTableModel::setTableRowCount(int count)
{
    const int rows = qMax(count, 2) - 1;
    const int old = int(m_rows.size());
    if (rows > old) {
        beginInsertRows(QModelIndex(), old, rows - 1);
        m_rows.resize(rows);
        endInsertRows();
    } else if (rows < old) {
        beginRemoveRows(QModelIndex(), rows, old - 1);
        m_rows.resize(rows);
        endRemoveRows();
    }
}

void VisualTableModel::setColumnCount(int count)
{
    count = qMax(count, 1);
    if (count == m_columnCount)
        return;
    beginResetModel();
    // Fields a narrower table did not show must not reappear as cells.
    if (count > m_columnCount) {
        QByteArray scratch;
        for (qsizetype i = 0; i < m_rows.size(); ++i) {
            if (Utf8Fields::count(m_rows.line(i, scratch)) > m_columnCount)
                m_rows.set(i, lineTrimmedTo(m_rows.line(i), m_columnCount));
        }
    }
    m_titles.resize(count);
    m_columnCount = count;
    endResetModel();
}

void VisualTableModel::clearCells()
{
    beginResetModel();
    for (QString &title : m_titles)
        title.clear();
    m_rows.clearLines();
    endResetModel();
}

void VisualTableModel::removeTableRows(int row, int count)
{
    const int first = qMax(row, 1);
    const int last = qMin(row + count, tableRowCount()) - 1;
    if (last < first)
        return;
    if (first == 1 && last == tableRowCount() - 1) {
        // The grid always keeps one data row: keep the first, emptied.
        if (last > first) {
            beginRemoveRows(QModelIndex(), 1, last - 1);
            m_rows.resize(1);
            endRemoveRows();
        }
        m_rows.set(0, QString());
        emit dataChanged(index(0, 0), index(0, m_columnCount - 1));
        return;
    }
    beginRemoveRows(QModelIndex(), first - 1, last - 1);
    m_rows.remove(first - 1, last - first + 1);
    endRemoveRows();
}

QString VisualTableModel::rowLine(int row) const
{
    return row >= 1 && row < tableRowCount() ? m_rows.line(row - 1) : QString();
}

QList<QStringList> VisualTableModel::catalogRows() const
{
    QList<QStringList> rows;
    const int count = tableRowCount();
    rows.reserve(count);
    for (int r = 1; r < count; ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << cell(c, r);
        rows << cells;
    }
    return rows;
}

int VisualTableModel::firstRowStartingWith(QChar letter) const
{
    if (!TableRules::isJumpLetter(letter))
        return -1;
    Utf8Fields::Span span;
    QByteArray scratch;
    for (int i = 0; i < m_rows.size(); ++i) {
        const QByteArrayView line = m_rows.line(i, scratch);
        // A jump letter is ASCII, so the first byte decides.
        if (!Utf8Fields::find(line, 0, span) || span.length == 0)
            continue;
        const char16_t first = uchar(line[span.start]);
        if (TableRules::startsWithLetter(QStringView(&first, 1), letter))
            return i + 1;
    }
    return -1;
}

void VisualTableModel::setSortIndicatorShown(bool shown)
{
    if (shown == m_sortIndicatorShown)
        return;
    m_sortIndicatorShown = shown;
    emit sortStateChanged();
}

void VisualTableModel::headerClicked(int column)
{
    if (column < 0 || column >= m_columnCount || !TableRules::canSortByClick(tableRowCount()))
        return;
    Qt::SortOrder order = Qt::AscendingOrder;
    if (column == m_sortColumn && m_sortOrder == Qt::AscendingOrder)
        order = Qt::DescendingOrder;
    sort(column, order);
}

void VisualTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    if (m_rows.size() > 1) {
        const auto kind = TableRules::sortKind(m_columnCount, column);
        reorder(RowOrder::order(m_rows, column, kind, order == Qt::DescendingOrder, m_dateKeys));
    }
    emit sortStateChanged();
}

void VisualTableModel::reorder(const std::vector<int> &order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    std::vector<int> newRowOf;
    if (!from.isEmpty()) {
        newRowOf.resize(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            newRowOf[order[i]] = int(i);
    }
    m_rows.reorder(order);
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &idx : from)
        to.append(index(newRowOf[idx.row()], idx.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int VisualTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int VisualTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant VisualTableModel::data(const QModelIndex &index, int role) const
{
    if (!isCell(index))
        return QVariant();
    const int column = index.column();
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cell(column, row);
    case Qt::TextAlignmentRole:
        return int(TableRules::alignment(m_columnCount, column, row));
    case Qt::ToolTipRole: {
        const QString hint = TableRules::hint(cell(column, row));
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    case CellColourRole:
        return int(TableRules::cellColour(m_columnCount, row, cell(3, row)));
    case IsZipFileRole:
        return column == 0 && TableRules::viewFor(m_columnCount) != TableRules::View::Report &&
               TableRules::isZipFileName(cell(0, row));
    default:
        return QVariant();
    }
}

bool VisualTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !isCell(index))
        return false;
    const int column = index.column();
    const int row = index.row() + 1;
    if (!TableRules::isEditable(m_columnCount, column, row))
        return false;
    const QString text = value.toString();
    // Opening the editor and leaving it unchanged is not an edit.
    if (text == cell(column, row))
        return true;
    setCell(column, row, text);
    emit cellEdited(column, row);
    return true;
}

QVariant VisualTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return m_titles.value(section);
    case Qt::TextAlignmentRole:
        return int(TableRules::alignment(m_columnCount, section, 0));
    case Qt::ToolTipRole: {
        const QString hint = TableRules::hint(m_titles.value(section));
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    case CellColourRole:
        return int(TableRules::CellColour::Header);
    default:
        return QVariant();
    }
}

Qt::ItemFlags VisualTableModel::flags(const QModelIndex &index) const
{
    if (!isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (TableRules::isEditable(m_columnCount, index.column(), index.row() + 1))
        f |= Qt::ItemIsEditable;
    return f;
}

bool VisualTableModel::isCell(const QModelIndex &index) const
{
    // Views ask about invalid indexes too; those are simply no cell.
    return index.isValid() && index.model() == this && index.row() < m_rows.size() &&
           index.column() < m_columnCount;
}

QString VisualTableModel::cleanCell(const QString &text)
{
    QString clean = text;
    for (QChar &c : clean) {
        if (c == u'\0' || c == u'\r' || c == u'\n')
            c = u' ';
    }
    return clean;
}

QString VisualTableModel::lineWithCell(const QString &line, int column, const QString &text)
{
    QStringList fields = CommaText::split(line);
    while (fields.size() <= column)
        fields.append(QString());
    fields[column] = text;
    return CommaText::join(fields);
}

QString VisualTableModel::lineTrimmedTo(const QString &line, int fields)
{
    QStringList kept = CommaText::split(line);
    kept = kept.mid(0, fields);
    return kept.isEmpty() ? QString() : CommaText::join(kept);
}
