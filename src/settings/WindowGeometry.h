#pragma once

// Position and size of a window in twips, as the window entry keeps them.
struct WindowGeometry
{
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};
