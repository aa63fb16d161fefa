#pragma once

// What the settings store keeps of one grid column, addressed by its index in
// the grid's column collection. Widths are twips; the display position counts
// from 0 at the left.
struct ColumnState
{
    double width = 0.0;
    bool visible = true;
    int displayPosition = 0;
};
