#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

// Cell editor of the grids. It remembers the open editor, so that commands
// can take over a half-typed cell before they store the row.
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    QWidget *openEditor() const { return m_editor; }

private:
    mutable QPointer<QWidget> m_editor;
};
