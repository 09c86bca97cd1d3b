// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pieces the service windows share: handlers that run when a control is left,
// the conversion of a box's text with its error message, and the up-down
// arrows beside a number box.
#include <QHash>
#include <QObject>
#include <QWidget>
#include <functional>
#include <optional>

class QLineEdit;
class QToolButton;

namespace k3n {

// The box's text as a number; for a text that is not one (an empty box) the
// conversion error is shown and nothing is returned.
std::optional<int> ConvertBoxText(QLineEdit* box);

// Runs a handler when the focus moves from its control to another control of
// the window (not when a drop-down only opens its list, another window comes to
// the front or the window closes), and on demand for the control holding the focus, so a
// button pressed from the keyboard still sees what was typed.
class ExitHandlers : public QObject {
public:
    explicit ExitHandlers(QWidget* window);
    void bind(QWidget* control, std::function<void()> handler);
    // Runs the handler of the window's focused control, if it has one.
    void commitFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run(QObject* control);
    QWidget* window_;
    QHash<QObject*, std::function<void()>> handlers_;
    bool running_ = false;   // a handler never runs inside another
};

// The small up and down arrows beside a number box; each click asks for one step.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void stepped(int direction);   // +1 or -1

private:
    QToolButton* up_;
    QToolButton* down_;
};

}   // namespace k3n
