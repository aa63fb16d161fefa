#pragma once

#include "scoring/TieRule.h"

#include <QString>

#include <array>
#include <vector>

class RowAccess;

// Cleans the ten ring cells of one result row and writes its series total
// (Serie) and sort key (Sortierung). The main window's ComputeRowScore calls
// computeRow after every edit of the entry grid's current row.
//
// The layout of the key is the competition's tie rule (TieRule.h); by
// default the total in six characters, inner tens in two, then the counts of
// tens, nines, ... ones in two each.
class ScoreComputation
{
public:
    // A ring cell whose typed text the cleaning turned into 0: a typo the
    // user must see, since it changes the result.
    struct CleanedShot
    {
        QString column;
        QString typed;
    };

    // Never fails: unusable entries become 0 and still count as a shot. An
    // empty cell becoming 0 is no typo and is not reported.
    static std::vector<CleanedShot> computeRow(RowAccess &row, TieRule rule = TieRule::InnerTensFirst);

    // The ring value a shot counts as in the key: the text before its
    // decimal comma, to the nearest whole number (halves to even), so 10,9 is
    // a ten and 9,5 a nine.
    static double countedValue(const QString &cellText);

    // A value the cleaning keeps as it is: a number from 0 to 10,9.
    static bool isCleanShot(const QVariant &value);

    // Column of shot number 1 ... 10: "Ring1" ... "Ring10".
    static QString ringColumn(int shot);

    static constexpr int ShotCount = 10;

private:
    ScoreComputation(RowAccess &row, TieRule rule);

    void takeShot(const QString &column, std::vector<CleanedShot> &cleaned);
    void replaceMark(const QString &column);
    void replaceNonNumeric(const QString &column);
    void replaceOutOfRange(const QString &column);
    void countShot(const QString &column);
    void writeResult();

    QString cellText(const QString &column) const;

    RowAccess &m_row;
    TieRule m_rule;
    double m_total = 0.0;
    // One counter per whole ring value 0 ... 11; only 10 ... 1 enter the key.
    std::array<qint16, 12> m_counts{};
};
