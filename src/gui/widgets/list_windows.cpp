// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/list_windows.h"
#include "text/ui_text.h"
#include "text/ui_text_ids.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace k3n {

namespace {
// A list window takes at most this share of the screen's free area.
constexpr double kScreenShare = 0.85;
// Below this a list looks broken rather than small.
constexpr QSize kSmallestList(320, 80);
// What a list cell adds to its text.
constexpr int kCellPadding = 16;

QRect FreeScreenArea(const QWidget& window)
{
    const QWidget* anchor = window.parentWidget() ? window.parentWidget()->window() : &window;
    const QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    return screen->availableGeometry();
}
}   // namespace

QSize TextListSize(const QPlainTextEdit& list)
{
    const QFontMetrics metrics(list.font());
    int widest = 0;
    int lines = 0;
    for (QTextBlock block = list.document()->begin(); block.isValid(); block = block.next(), ++lines)
        widest = std::max(widest, metrics.horizontalAdvance(block.text()));
    const int margins = 2 * (list.frameWidth() + int(list.document()->documentMargin())) + 4;
    return {widest + margins, std::max(lines, 1) * metrics.lineSpacing() + margins};
}

QSize TreeListSize(const QTreeWidget& list)
{
    int width = 2 * list.frameWidth();
    const QFontMetrics metrics(list.font());
    for (int column = 0; column < list.columnCount(); ++column) {
        int widest = list.header()->sectionSizeHint(column);
        for (int row = 0; row < list.topLevelItemCount(); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(list.topLevelItem(row)->text(column)) + kCellPadding);
        width += widest;
    }
    const int rows = std::max(list.topLevelItemCount(), 1);
    const int rowHeight = list.topLevelItemCount() > 0 ? list.sizeHintForRow(0) : list.fontMetrics().height();
    const int height = 2 * list.frameWidth() + (list.isHeaderHidden() ? 0 : list.header()->sizeHint().height())
        + rows * std::max(rowHeight, 1);
    return {width, height};
}

void FitToListContent(QWidget& window, QAbstractScrollArea& list, QSize contentSize)
{
    window.ensurePolished();
    if (window.layout())
        window.layout()->activate();
    // What the window needs besides the list: labels, buttons, margins.
    const QSize around = window.sizeHint() - list.sizeHint();
    const QSize wanted =
        contentSize.expandedTo(kSmallestList) + QSize(std::max(around.width(), 0), std::max(around.height(), 0));
    const QSize screen = FreeScreenArea(window).size() * kScreenShare;
    const QSize fitted = wanted.boundedTo(screen);
    // Scroll bars take room of their own once the list cannot show everything.
    const int barWidth = list.verticalScrollBar()->sizeHint().width();
    window.resize(fitted.width() + (wanted.height() > screen.height() ? barWidth : 0), fitted.height());
}

void PlaceOver(QWidget& window, const QWidget* over)
{
    const QRect area = over && over->window()->isVisible() ? over->window()->frameGeometry() : FreeScreenArea(window);
    QRect placed(QPoint(), window.frameGeometry().size().expandedTo(window.size()));
    placed.moveCenter(area.center());
    // Never past the screen's edges, so the title bar stays reachable.
    const QRect screen = FreeScreenArea(window);
    placed.moveLeft(std::clamp(placed.left(), screen.left(), std::max(screen.left(), screen.right() - placed.width())));
    placed.moveTop(std::clamp(placed.top(), screen.top(), std::max(screen.top(), screen.bottom() - placed.height())));
    window.move(placed.topLeft());
}

ReportWindow::ReportWindow(const QString& title, const QString& intro, const QStringList& lines, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("ReportWindow");
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    sIntro = new QLabel(intro, this);
    sIntro->setObjectName("sIntro");
    sIntro->setWordWrap(true);
    layout->addWidget(sIntro);
    tReport = new QPlainTextEdit(lines.join(u'\n'), this);
    tReport->setObjectName("tReport");
    tReport->setAccessibleName(title);
    tReport->setReadOnly(true);
    tReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(tReport);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    OKBtn = new QPushButton(UiText(ui::kOk), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    buttons->addWidget(OKBtn);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    FitToListContent(*this, *tReport, TextListSize(*tReport));
    PlaceOver(*this, parent);
}

}   // namespace k3n
