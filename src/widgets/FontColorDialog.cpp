#include "widgets/FontColorDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FontColorDialog::FontColorDialog(const QFont &font, const QColor &colour, QWidget *parent)
    : QDialog(parent)
    , m_fonts(new QFontDialog(font, this))
    , m_colourButton(new QPushButton(tr("&Farbe..."), this))
    , m_colour(colour.isValid() ? colour : QColor(Qt::black))
{
    setWindowTitle(tr("Schriftart"));
    // The font chooser is used as a part of this dialog, not as a window.
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons);
    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(tr("Textfarbe:"), this));
    colourRow->addWidget(m_colourButton);
    colourRow->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
    connect(m_colourButton, &QPushButton::clicked, this, &FontColorDialog::chooseColour);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showColour();
}

QFont FontColorDialog::selectedFont() const
{
    return m_fonts->currentFont();
}

void FontColorDialog::chooseColour()
{
    const QColor chosen = QColorDialog::getColor(m_colour, this, tr("Textfarbe"));
    if (chosen.isValid()) {
        m_colour = chosen;
        showColour();
    }
}

void FontColorDialog::showColour()
{
    QPixmap swatch(32, 14);
    swatch.fill(m_colour);
    m_colourButton->setIcon(QIcon(swatch));
}
