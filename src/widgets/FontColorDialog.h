#pragma once

#include <QColor>
#include <QDialog>

class QFontDialog;
class QPushButton;

// One modal chooser for a font and its text colour: Qt's font chooser (face,
// size, bold, italic, underline, strike-through) with a colour button below.
class FontColorDialog : public QDialog
{
    Q_OBJECT

public:
    FontColorDialog(const QFont &font, const QColor &colour, QWidget *parent = nullptr);

    QFont selectedFont() const;
    QColor selectedColour() const { return m_colour; }

private:
    void chooseColour();
    void showColour();

    QFontDialog *m_fonts;
    QPushButton *m_colourButton;
    QColor m_colour;
};
