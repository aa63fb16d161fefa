#pragma once

#include "settings/ColumnState.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The grid layout (section "Allgemein", key "Grid-Layout-" + layout name): one
// piece per column in collection order, "position - width;" for a visible
// column and "position - 0;" for a hidden one: "2 - 1440;1 - 0;0 - 2400;".
namespace GridLayout {

// One change to a column, to be applied in the order given: first move column
// to displayPosition, then give it width, or hide it when width is empty. A
// column whose new width could not be taken (and was ignored) keeps its width
// and its visibility. Loading never makes a column visible.
struct Operation
{
    enum class Change { SetWidth, Hide, KeepWidth };

    int column = 0;
    int displayPosition = 0;
    Change change = Change::KeepWidth;
    double width = 0.0;

    bool operator==(const Operation &other) const
    {
        return column == other.column && displayPosition == other.displayPosition && change == other.change
               && (change != Change::SetWidth || width == other.width);
    }
};

struct Reading
{
    // False for an empty text: the grid is not touched at all (it is neither
    // told to hold on to its columns nor refreshed).
    bool stored = false;
    // True when a failure was answered with Abort: the operations before it
    // still apply, but the grid is not refreshed.
    bool aborted = false;
    std::vector<Operation> operations;
};

// Runs one step that may throw a RingtalError, the way ErrorProtocol::runStep
// does: retrying or ignoring a failure is its business; it returns false when
// the user aborted.
using StepRunner = std::function<bool(const std::function<void()> &)>;

QString toText(const std::vector<ColumnState> &columns);

// Reads the layout for a grid of columnCount columns. The reading of a
// position or width that is no number, and a width no column can take, fail
// as steps of runStep ("Fehler beim Laden des Grid-Konfiguration."). Pieces
// beyond the grid's columns are skipped without a message.
Reading fromText(const QString &text, int columnCount, const StepRunner &runStep);

} // namespace GridLayout
