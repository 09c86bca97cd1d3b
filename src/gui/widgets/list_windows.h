// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows that list what a command found or left out: the list scrolls, the
// window is as large as its content asks (up to most of the screen), and it
// opens over the window it belongs to.
#include <QDialog>
#include <QSize>
#include <QStringList>

class QAbstractScrollArea;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace k3n {

// The room a list needs to show every line or row without scrolling.
QSize TextListSize(const QPlainTextEdit& list);
QSize TreeListSize(const QTreeWidget& list);
// Resizes window so that list gets contentSize, within most of the screen's free area.
void FitToListContent(QWidget& window, QAbstractScrollArea& list, QSize contentSize);
// Centres window over the window of 'over' (or its screen when there is none).
void PlaceOver(QWidget& window, const QWidget* over);

// What a command could not do, one line each, with an OK button.
class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ReportWindow(const QString& title, const QString& intro, const QStringList& lines, QWidget* parent = nullptr);

    QLabel* sIntro;
    QPlainTextEdit* tReport;
    QPushButton* OKBtn;
};

}   // namespace k3n
