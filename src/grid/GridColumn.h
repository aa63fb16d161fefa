#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

class DataGrid;

// One column of a grid, addressed by its index in the grid's column
// collection. Widths are in twips; the display position counts from 0 at the
// left. Value reads and writes the cell of the current row; a write by the
// program never raises the grid's edit notification.
class GridColumn
{
public:
    GridColumn(DataGrid *grid, int index);

    int index() const { return m_index; }
    QString dataField() const;
    QString caption() const;
    void setCaption(const QString &caption);
    double width() const;
    void setWidth(double twips);
    bool isVisible() const;
    void setVisible(bool visible);
    // Whether a print or export of the grid carries the column when no row
    // has a value in it (a class in a competition without classes).
    bool isPrintedWhenEmpty() const;
    void setPrintedWhenEmpty(bool printed);
    // Whether the heading's menu offers the column to be shown or hidden.
    bool isInColumnMenu() const;
    void setInColumnMenu(bool offered);
    // The texts the cell's editor offers while typing.
    void setChoices(const QStringList &choices);
    QStringList choices() const;
    // What takes a typed text: the text to store, or none to leave the cell
    // as it was. Set once; the chooser may change the choices.
    using Chooser = std::function<std::optional<QString>(const QString &)>;
    void setChooser(Chooser choose);
    int order() const;
    void setOrder(int position);
    // The heading alignment: 0 left, 1 right, 2 centred.
    int alignment() const;
    void setAlignment(int alignment);

    QVariant value() const;
    QString text() const;
    void setValue(const QVariant &value);

private:
    DataGrid *m_grid;
    int m_index;
};
