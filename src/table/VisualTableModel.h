#pragma once

#include "DateKeyReader.h"
#include "TableRules.h"
#include "Utf8Rows.h"

#include "library/DateFormats.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <vector>

class ResultRun;
class SortedLineList;

// The rows of the Visual Table: a catalog (five columns), search or
// duplicate results (six) or the report of all catalogs (nine).
//
// Its own interface counts rows as the grid does: row 0 holds the column
// titles, data rows start at 1, and tableRowCount() is the data rows plus
// one. An empty table has two rows, the titles and one empty row. The Qt
// model interface shows only the data rows, with the titles as the
// horizontal header, so Qt row r is table row r + 1.
//
// Each data row is kept as one comma-text line in UTF-8, all rows in one
// buffer, and only the cells asked for are decoded, so a million rows cost
// little more than their catalog file. A cell holds one line of text: line
// breaks and NULs written into a cell become blanks, as they would in a
// catalog file.
class VisualTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        // TableRules::CellColour of the cell, as an int.
        CellColourRole = Qt::UserRole + 1,
        // True on a "File Name" cell of a file that is itself a ZIP archive.
        IsZipFileRole,
    };

    explicit VisualTableModel(const DateFormats &dates = DateFormats(), QObject *parent = nullptr);

    void setDateFormats(const DateFormats &dates);

    // Layouts: clear every cell, set the columns and titles, two rows.
    // Catalog and result views show the sort indicator, the report not.
    void setUpCatalogView();
    void setUpResultView();
    void setUpReportView();

    // Fills the data rows from lines in one batch: one row per line, cells
    // from the line's fields. Lines with no field leave empty rows at the
    // end. An empty list leaves the table as it is.
    void fill(const QStringList &lines);
    void fill(const SortedLineList &lines);
    // The same, taking over the list's storage instead of copying it: the
    // lines are never held twice. The list is left empty.
    void fill(SortedLineList &&lines);
    // The same from a search's results, one sorted run per catalog, in the
    // order and without the repeats of the sorted line lists. The rows keep
    // the runs' bytes and each catalog's name once instead of copying
    // them; the runs are left empty. Ordering many runs takes seconds, so
    // it runs on a thread of its own while whileOrdering is called every few
    // milliseconds (at least once), e.g. to keep a window answering; the
    // model keeps its rows unchanged until the ordered ones replace them.
    void fill(std::vector<ResultRun> &&runs, const std::function<void()> &whileOrdering = {});
    // Braced lists, {} included, are QString lines.
    void fill(std::initializer_list<QString> lines) { fill(QStringList(lines)); }

    QString cell(int column, int row) const;
    // False (and nothing changes) outside the table.
    bool setCell(int column, int row, const QString &text);
    int tableRowCount() const { return int(m_rows.size()) + 1; }
    // At least two rows; new rows are empty.
    void setTableRowCount(int count);
    void setColumnCount(int count);
    // Clears every cell, titles included; the counts stay.
    void clearCells();
    // Removes data rows (row >= 1); removing all of them leaves one empty
    // row, as an empty table has.
    void removeTableRows(int row, int count);
    // The comma-text line of a data row, for code that walks all rows.
    QString rowLine(int row) const;
    // The data rows' first five cells, the fields a catalog file stores.
    QList<QStringList> catalogRows() const;

    // The first data row whose "File Name" starts with the letter in either
    // case, or -1; each search starts again from row 1.
    int firstRowStartingWith(QChar letter) const;

    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    bool sortIndicatorShown() const { return m_sortIndicatorShown; }
    void setSortIndicatorShown(bool shown);
    // A click on a header cell: another column sorts ascending, the same
    // column again reverses; nothing happens with fewer than two data rows.
    void headerClicked(int column);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    // A cell was changed by the in-place editor (table row numbering).
    void cellEdited(int column, int row);
    void sortStateChanged();

private:
    void setUpView(TableRules::View view);
    bool isCell(const QModelIndex &index) const;
    void reorder(const std::vector<int> &order);
    template <typename LineAt>
    void fillFrom(qsizetype count, LineAt lineAt);
    // The runs' lines in the line lists' order as rows viewing their bytes.
    static void appendMerged(const std::vector<ResultRun> &runs, Utf8Rows &rows);
    static QString cleanCell(const QString &text);
    static QString lineWithCell(const QString &line, int column, const QString &text);
    static QString lineTrimmedTo(const QString &line, int fields);

    DateKeyReader m_dateKeys;
    QStringList m_titles;
    Utf8Rows m_rows;
    int m_columnCount = 0;
    int m_sortColumn = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sortIndicatorShown = true;
};
