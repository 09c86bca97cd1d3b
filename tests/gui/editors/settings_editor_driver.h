// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the editor windows the way a user does: Tab into a control, pick a
// list entry from its open list with the keyboard, tick boxes with the mouse,
// and move the focus on so the control's exit handler writes it.
#include "support/main_window_fixture.h"
#include "support/modal_answers.h"
#include "support/test_support.h"
#include "widgets/editor_window.h"
#include "widgets/list_windows.h"
#include "widgets/message_windows.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <utility>

namespace k3n::test {

// Shows the editor as the active window, as the main window does when its page is clicked.

template <class T> T* Child(QWidget& editor, const char* name)
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

// A list entry and the byte its pick must leave in the record.
struct StoredPick {
    const char* list;
    const char* entry;
    U8Field field;
    uint8_t stored;
};

inline void ExpectPicksStored(QWidget& editor, const RadioRecord& record, std::initializer_list<StoredPick> picks)
{
    for (const StoredPick& p : picks) {
        ChooseAndLeave(editor, Child<QComboBox>(editor, p.list), p.entry);
        EXPECT_EQ(record.get(p.field), p.stored) << p.list << " " << p.entry;
    }
}

// Checks the text each named list shows.
inline void ExpectShown(QWidget& editor, std::initializer_list<std::pair<const char*, const char*>> shown)
{
    for (const auto& [list, text] : shown)
        EXPECT_EQ(Child<QComboBox>(editor, list)->currentText(), text) << list;
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

// Each list shows no entry (it holds a value it does not offer) and is tabbed through.
inline void ExpectNoEntryAndTabThrough(QWidget& editor, std::initializer_list<const char*> lists)
{
    for (const char* name : lists) {
        auto* box = Child<QComboBox>(editor, name);
        EXPECT_EQ(box->currentIndex(), -1) << name;
        TabThrough(editor, box);
    }
}

// Steps a list that has the focus to the entry with the given text with the keyboard (Home, then Down).
inline void StepTo(QComboBox* list, const QString& text)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != text; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), text);
}

// A double click as the window system delivers it: press, release, double-click press, release.
inline void DoubleClick(QWidget* widget, QPoint pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    QApplication::processEvents();
}

inline void ClickBox(QAbstractButton* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QApplication::processEvents();
}

// One editor window over a fresh record; open() makes it and shows it active.
template <class Editor> class EditorPageTest : public ::testing::Test {
protected:
    void open()
    {
        editor = std::make_unique<Editor>(data);
        ASSERT_TRUE(ShowActive(*editor));
    }
    QComboBox* list(const char* name) { return Child<QComboBox>(*editor, name); }

    RadioData data;
    std::unique_ptr<Editor> editor;
};

}   // namespace k3n::test
