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
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized())
            w->showNormal();
        // Spread the remainder so the windows fill the area exactly.
        if (direction == Direction::Rows) {
            const int top = space.height() * i / count;
            const int bottom = space.height() * (i + 1) / count;
            w->setGeometry(0, top, space.width(), bottom - top);
        } else {
            const int left = space.width() * i / count;
            const int right = space.width() * (i + 1) / count;
            w->setGeometry(left, 0, right - left, space.height());
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
