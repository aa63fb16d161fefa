#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QVector>

class DataGrid;

// What a grid shows, taken at one moment for printing: its visible columns
// in display order with caption and width (twips), its rows in their order
// as the texts the cells show, its fonts and colours. Printing works on this
// copy, so a preview stays as it was when the grid changes behind it.
struct PrintTable
{
    struct Column
    {
        // The grid's caption line (its window title); the program's grids have none.
    QString caption;
        double widthTwips = 0;
        Qt::Alignment headingAlignment = Qt::AlignLeft;
    };

    QString caption;
    QVector<Column> columns;
    // The grid's column of each printed column.
    QVector<int> gridColumns;
    int rowCount = 0;
    // Row by row, one entry per column.
    QVector<QString> cells;
    QVector<Qt::Alignment> alignments;
    // Per row: the text of a heading line (a class) across all columns, or
    // empty for a row of cells.
    QVector<QString> headings;

    QFont cellFont;
    QFont headingFont;
    QColor textColor = Qt::black;
    QColor background = Qt::white;
    QColor headingTextColor = Qt::black;
    QColor headingBackground = QColor(0xf0, 0xf0, 0xf0);
    QColor gridLineColor = QColor(0xa0, 0xa0, 0xa0);
    // The grid's own row and heading heights, which the print keeps as the least.
    double rowHeightTwips = 0;
    double headingHeightTwips = 0;

    const QString &text(int row, int column) const { return cells.at(row * columns.size() + column); }
    Qt::Alignment alignment(int row, int column) const { return alignments.at(row * columns.size() + column); }
    void addRow(const QVector<QString> &texts, const QVector<Qt::Alignment> &aligns, const QString &heading = {});
    const QString &heading(int row) const { return headings.at(row); }
    // The rows that are heading lines, in order.
    QVector<int> headingRows() const;

    // The grid's columns and looks, without rows.
    static PrintTable layoutOf(DataGrid &grid);
    // Appends the grid's rows [first, first + count), in the columns of
    // layoutOf: the stored rows and the one in edit as shown, never the
    // new-row line.
    void appendRows(DataGrid &grid, int first, int count);
    // Rows of the grid that are printed.
    static int printableRows(DataGrid &grid);
};
