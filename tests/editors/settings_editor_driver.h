#pragma once
// Drives the settings editor pages the way a user does: Tab into a control,
// pick a list entry from its open list with the keyboard, tick boxes with the
// mouse, and move the focus on so the control's exit handler writes it.
#include "app/base/editor_window.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE
// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace k3n::test {

// Shows the editor as the active window, as the main window does when its page is clicked.
inline bool ShowActive(QWidget& editor)
{
    editor.show();
    editor.activateWindow();
    return QTest::qWaitForWindowActive(&editor);
}

template <class T>
T* Child(QWidget& editor, const char* name)
{
    T* child = editor.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Gives control the focus as a Tab key would.
inline void TabInto(QWidget* control)
{
    control->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

// Moves the focus on to the editor's focus sink; the control that had it commits.
inline void LeaveControl(QWidget& editor)
{
    editor.findChild<QPushButton*>("bHide")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

// Opens the list of box, walks to entry position with the arrow keys and takes it with Enter.
// The list keeps its focus the whole time, as when a user picks with the keyboard.
inline void PickEntry(QComboBox* box, int position)
{
    TabInto(box);
    box->showPopup();
    QAbstractItemView* view = box->view();
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < position; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    // A desktop gives the activation back to the window when the list closes;
    // the offscreen platform leaves it with the closed list.
    box->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(box->window()));
    EXPECT_TRUE(box->hasFocus());
}

inline void PickEntry(QComboBox* box, const QString& text)
{
    const int position = box->findText(text, Qt::MatchExactly);
    ASSERT_GE(position, 0) << "no entry " << text.toStdString() << " in " << box->objectName().toStdString();
    PickEntry(box, position);
}

// Picks an entry and moves on, the usual way a list value reaches the record.
inline void ChooseAndLeave(QWidget& editor, QComboBox* box, const QString& text)
{
    PickEntry(box, text);
    LeaveControl(editor);
}

inline QStringList Entries(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// Tabs into the control and out of it again without changing anything.
inline void TabThrough(QWidget& editor, QWidget* control)
{
    TabInto(control);
    LeaveControl(editor);
}

// A double click as the window system delivers it: press, release, double-click press, release.
inline void DoubleClick(QWidget* widget, QPoint pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    QApplication::processEvents();
}

inline void ClickBox(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QApplication::processEvents();
}

} // namespace k3n::test
