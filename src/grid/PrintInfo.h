#pragma once

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QString>

// The print settings of a grid: what its print and preview put around the
// rows and how the page is set up. Header and footer texts may hold the
// two-character sequences \t (next part: left, centre, right), \p (this
// page's number) and \P (the number of pages). Margins are twips.
struct PrintInfo
{
    PrintInfo();

    QString pageHeader;
    QFont pageHeaderFont;
    // A line under the page header, in the footer's font (the tie rule that
    // ranked the list); none when empty.
    QString pageSubheader;
    QString pageFooter;
    QFont pageFooterFont;
    bool repeatGridHeader = false;
    bool repeatColumnHeaders = false;
    double marginLeft = 1000;
    double marginRight = 1000;
    double marginTop = 1000;
    double marginBottom = 1000;
    // 1 portrait, 2 landscape.
    double orientation = 2;
    // Columns as wide as their widest text, heading included, instead of the
    // grid's widths: a club's long name is not cut because the screen is narrow.
    bool fitColumnsToContents = false;
    // Each heading line of the rows (a class) starts a page of its own.
    bool newPagePerHeading = false;

    // Fixed with the grid's design.
    QString previewCaption;
    QString previewPageOf = QStringLiteral("Page \\p of \\P");

    // Only 2 is landscape, as the printer settings dialog shows every other
    // number as portrait.
    QPageLayout::Orientation pageOrientation() const;
    // A negative margin is no margin.
    QMarginsF marginsInTwips() const;
};
