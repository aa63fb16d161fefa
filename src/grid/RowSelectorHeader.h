#pragma once

#include <QHeaderView>
#include <QStringList>

// The grids' row selectors: each row shows one of a few fixed symbols (the
// marker, the pencil, the star) or nothing. QHeaderView sizes itself by
// measuring the first and last hundred rows again after every change of a
// heading, which the marker makes at each move; with the symbols known, the
// width is the widest of them and needs no look at the rows.
class RowSelectorHeader : public QHeaderView
{
    Q_OBJECT

public:
    RowSelectorHeader(const QStringList &symbols, QWidget *parent);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    QStringList m_symbols;
    mutable QSize m_hint;
};
