#include "mainwindow/MainLayout.h"

namespace {

// Right margin of the search box, and the room the grids leave inside the tab control.
constexpr double Margin = 270;
// Room below the tab control.
constexpr double BottomMargin = 550;

} // namespace

MainLayout MainLayout::compute(const Input &in)
{
    MainLayout out;
    out.txtSucheLeft = in.width - Margin - in.txtSucheWidth;
    // The label touches the box.
    out.lblSucheLeft = out.txtSucheLeft - in.lblSucheWidth;
    out.label1Left = in.ssTab1Left;
    out.label1Width = out.lblSucheLeft - 2 * out.label1Left;
    out.ssTab1Top = in.label1Top + in.label1Height;
    out.ssTab1Width = in.width - 2 * in.ssTab1Left;
    out.ssTab1Height = in.height - BottomMargin - in.toolbarHeight;
    out.gridWidth = out.ssTab1Width - Margin;
    out.gridHeight = out.ssTab1Height - in.tabStripHeight - Margin;
    return out;
}
