#pragma once

// Where the main window's controls go when its inner size changes, in twips
// of the inner area (the toolbar strip at its top included). Pure arithmetic,
// so the rules can be checked without a window.
struct MainLayout
{
    // What the layout starts from: the inner size W × H and the sizes and
    // positions that stay as they are.
    struct Input
    {
        double width = 0.0;
        double height = 0.0;
        double toolbarHeight = 0.0;
        double tabStripHeight = 0.0;
        double txtSucheWidth = 0.0;
        double lblSucheWidth = 0.0;
        double label1Top = 0.0;
        double label1Height = 0.0;
        double ssTab1Left = 0.0;
    };

    static MainLayout compute(const Input &in);
    // A size below zero is not applied; the control keeps the one it has.
    static bool applicable(double size) { return size >= 0.0; }

    double txtSucheLeft = 0.0;
    double lblSucheLeft = 0.0;
    double label1Left = 0.0;
    double label1Width = 0.0;
    double ssTab1Top = 0.0;
    double ssTab1Width = 0.0;
    double ssTab1Height = 0.0;
    double gridWidth = 0.0;
    double gridHeight = 0.0;
};
