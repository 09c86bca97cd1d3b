// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the editor windows go inside the main window: their first place, their
// growth after a relabelling, and the Window menu's arrangements.
class QMdiArea;
class QMdiSubWindow;

namespace k3n {

// A new window opens at the top-left corner at the size its content asks for,
// no larger than the area.
void PlaceAtTopLeft(QMdiArea& area, QMdiSubWindow& window);
// After its texts changed, a window grows to what its content asks for (never
// shrinking below the size it has) and, where it fits, stays inside the area.
void GrowToFitContent(QMdiArea& area, QMdiSubWindow& window);

// One window above the other, each the full width of the area.
void TileSubWindowsHorizontally(QMdiArea& area);
// Side by side, each the full height of the area.
void TileSubWindowsVertically(QMdiArea& area);
void MinimizeAllSubWindows(QMdiArea& area);
// Lines the minimised windows up along the bottom edge, left to right.
void ArrangeMinimizedSubWindows(QMdiArea& area);

}   // namespace k3n
