#pragma once
// The Window menu's arrangements of the editor windows inside the main window.
class QMdiArea;

namespace k3n {

// One window above the other, each the full width of the area.
void TileSubWindowsHorizontally(QMdiArea& area);
// Side by side, each the full height of the area.
void TileSubWindowsVertically(QMdiArea& area);
void MinimizeAllSubWindows(QMdiArea& area);
// Lines the minimised windows up along the bottom edge, left to right.
void ArrangeMinimizedSubWindows(QMdiArea& area);

} // namespace k3n
