// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mdi_arrangement.h"
#include <QMdiArea>
#include <QLayout>
#include <QMdiSubWindow>
#include <algorithm>

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
    const QRect space = area.viewport()->rect();
    const int count = int(windows.size());
    // Shares of the area, spread so the windows fill it exactly; a window that
    // needs more takes it and pushes the next one on: the workspace scrolls
    // rather than crush a window.
    int along = 0;
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized())
            w->showNormal();
        const QSize smallest = SmallestWhole(*w);
        if (direction == Direction::Rows) {
            const int share = space.height() * (i + 1) / count - space.height() * i / count;
            const int height = std::max(share, smallest.height());
            w->setGeometry(0, along, std::max(space.width(), smallest.width()), height);
            along += height;
        } else {
            const int share = space.width() * (i + 1) / count - space.width() * i / count;
            const int width = std::max(share, smallest.width());
            w->setGeometry(along, 0, width, std::max(space.height(), smallest.height()));
            along += width;
        }
    }
}
} // namespace

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

void TileSubWindowsHorizontally(QMdiArea& area) { tile(area, Direction::Rows); }
void TileSubWindowsVertically(QMdiArea& area) { tile(area, Direction::Columns); }

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

} // namespace k3n
