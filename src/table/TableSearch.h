#pragma once

#include <QString>
#include <QStringView>

#include <functional>

// The state of "Find First" and "Find Next" over the Visual Table: the text
// and options of the last "Find First" and where its last match was.
//
// Cells are tested column by column from the left, and in each column from
// the first data row (row 1) down; the title row 0 is never tested. Rows
// are counted as the table counts them, titles included.
class TableSearch
{
public:
    using CellReader = std::function<QString(int column, int row)>;

    enum class Outcome {
        // Empty search text: nothing was searched and nothing changed.
        Ignored,
        Found,
        // "Find First" found no cell.
        NoMatch,
        // "Find Next" ran off the end; the next one starts from the top.
        NoMoreMatch,
    };

    static QString message(Outcome outcome);

    // Searches from column 0, row 1 and remembers text and options for
    // "Find Next".
    Outcome findFirst(const QString &text, int options, int columnCount, int rowCount,
                      const CellReader &cell);
    // Continues after the last match with the remembered text and options.
    // typedText is only checked for being empty: an empty box stops the
    // button, as it stops "Find First". Before any "Find First" there is
    // nothing to continue and nothing happens.
    Outcome findNext(QStringView typedText, int columnCount, int rowCount, const CellReader &cell);

    bool hasSearch() const { return !m_text.isEmpty(); }
    // The last match, or -1 for both when there is none.
    int matchColumn() const { return m_column; }
    int matchRow() const { return m_row; }

private:
    Outcome searchFrom(int column, int row, int columnCount, int rowCount, const CellReader &cell);
    void forgetMatch();

    QString m_text;
    int m_options = 0;
    int m_column = -1;
    int m_row = -1;
};
