// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mdi_arrangement.h"
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>
#include <vector>

namespace k3n {

namespace {
enum class Direction { Rows, Columns };

// What the window's content asks for now, frame included, but no larger than the area.
QSize WantedSize(const QMdiArea& area, QMdiSubWindow& window)
{
    // The content's layout may not have seen its new texts yet.
    if (QWidget* content = window.widget(); content && content->layout())
        content->layout()->activate();
    if (window.layout())
        window.layout()->activate();
    return window.sizeHint().boundedTo(area.viewport()->size());
}

// The smallest size at which every caption and list of the window is whole.
QSize SmallestWhole(QMdiSubWindow& window)
{
    return window.minimumSizeHint().expandedTo(window.minimumSize());
}

void tile(QMdiArea& area, Direction direction)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area.subWindowList(QMdiArea::CreationOrder)) {
        if (w->isVisible() && !w->isMinimized())
            windows.append(w);
    }
    if (windows.isEmpty())
        return;
    const bool rows = direction == Direction::Rows;
    const QRect space = area.viewport()->rect();
    const int length = rows ? space.height() : space.width();
    const int count = int(windows.size());
    // Shares of the area, spread so the windows fill it exactly; a window that
    // needs more takes it and pushes the next one on: the workspace scrolls
    // rather than crush a window.
    std::vector<int> extents;
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const QSize smallest = SmallestWhole(*windows[i]);
        const int share = length * (i + 1) / count - length * i / count;
        extents.push_back(std::max(share, rows ? smallest.height() : smallest.width()));
        total += extents.back();
    }
    // Once the workspace scrolls, its scroll bar takes room across the windows.
    const int bar = total > length ? area.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &area) : 0;
    int along = 0;
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized())
            w->showNormal();
        const QSize smallest = SmallestWhole(*w);
        if (rows)
            w->setGeometry(0, along, std::max(space.width() - bar, smallest.width()), extents[std::size_t(i)]);
        else
            w->setGeometry(along, 0, extents[std::size_t(i)], std::max(space.height() - bar, smallest.height()));
        along += extents[std::size_t(i)];
    }
}
}   // namespace

void PlaceAtTopLeft(QMdiArea& area, QMdiSubWindow& window)
{
    window.setGeometry(QRect(QPoint(0, 0), WantedSize(area, window)));
}

void GrowToFitContent(QMdiArea& area, QMdiSubWindow& window)
{
    if (window.isMinimized() || window.isMaximized())
        return;
    const QSize grown = window.size().expandedTo(WantedSize(area, window));
    if (grown == window.size())
        return;
    // Growing may push the window past the right or bottom edge: move it back
    // in as far as the area allows, never past the top-left corner.
    const QSize space = area.viewport()->size();
    const QPoint at(std::max(0, std::min(window.x(), space.width() - grown.width())),
                    std::max(0, std::min(window.y(), space.height() - grown.height())));
    window.setGeometry(QRect(at, grown));
}

void TileSubWindowsHorizontally(QMdiArea& area)
{
    tile(area, Direction::Rows);
}
void TileSubWindowsVertically(QMdiArea& area)
{
    tile(area, Direction::Columns);
}

void MinimizeAllSubWindows(QMdiArea& area)
{
    for (QMdiSubWindow* w : area.subWindowList())
        w->showMinimized();
}

void ArrangeMinimizedSubWindows(QMdiArea& area)
{
    const QRect space = area.viewport()->rect();
    int x = 0;
    int rowBottom = space.bottom() + 1;
    for (QMdiSubWindow* w : area.subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > space.width()) {
            x = 0;
            rowBottom -= size.height();
        }
        w->move(x, rowBottom - size.height());
        x += size.width();
    }
}

}   // namespace k3n
