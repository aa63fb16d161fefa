#pragma once

#include <QCache>
#include <QFont>
#include <QPointer>
#include <QStaticText>
#include <QStyledItemDelegate>

// Cell editor and painter of the grids. It remembers the open editor, so that
// commands can take over a half-typed cell before they store the row.
class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    QWidget *openEditor() const { return m_editor; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const QStaticText &laidOut(const QString &text, const QFont &font) const;
    QString elided(const QString &text, const QStyleOptionViewItem &cell, int width) const;
    bool leavesPlainCellsEmpty(const QStyle *style, const QStyleOptionViewItem &cell) const;

    mutable QPointer<QWidget> m_editor;
    mutable QCache<QString, QStaticText> m_texts{4096};
    mutable QCache<QString, QString> m_elided{4096}; // by width, elide mode and text
    mutable QFont m_textsFont;
    mutable const QStyle *m_probedStyle = nullptr;
    mutable bool m_plainCellsEmpty = false;
};
