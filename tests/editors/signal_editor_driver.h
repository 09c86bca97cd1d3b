#pragma once
// Drives the signalling editors the way a user does: double-clicks grid
// cells, types, pastes, picks list entries with the keyboard and moves the focus.
#include "editors/signal_editor.h"
#include "editors/signal_grid.h"
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <vector>

namespace k3n::test {

// The four pages every signalling editor has, in order.
enum Page { OptionPage, SystemPage, DecodePage, EncodePage };

using Bytes = std::vector<uint8_t>;

inline Bytes RecordBytes(const RadioData& data, uint16_t offset, int length)
{
    const auto s = data.record.slice(offset, std::size_t(length));
    return {s.begin(), s.end()};
}

template <class T>
T* Child(QWidget& w, const char* name)
{
    T* child = w.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

inline void Settle()
{
    QApplication::processEvents();
}

// Takes the focus away from whatever is being edited, as a click elsewhere does.
inline void Leave(QWidget& window)
{
    Child<QPushButton>(window, "bHide")->setFocus(Qt::MouseFocusReason);
    Settle();
}

inline void DoubleClickCell(SignalGrid* grid, int row, int col)
{
    ASSERT_TRUE(grid->isVisible()) << grid->objectName().toStdString() << ": its page is not shown";
    const QModelIndex cell = grid->model()->index(row - 1, col - 1);
    grid->scrollTo(cell);
    Settle();
    const QPoint centre = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
    Settle();
}

// The edit box that a double-click laid over the cell.
inline QLineEdit* OpenEdit(SignalGrid* grid, int row, int col)
{
    DoubleClickCell(grid, row, col);
    auto* edit = qobject_cast<QLineEdit*>(grid->openEditor());
    EXPECT_NE(edit, nullptr) << grid->objectName().toStdString() << " " << row << "," << col;
    if (edit) {
        EXPECT_TRUE(edit->isVisible() && edit->hasFocus());
    }
    return edit;
}

inline QComboBox* OpenList(SignalGrid* grid, int row, int col)
{
    DoubleClickCell(grid, row, col);
    auto* list = qobject_cast<QComboBox*>(grid->openEditor());
    EXPECT_NE(list, nullptr) << grid->objectName().toStdString() << " " << row << "," << col;
    if (list) {
        EXPECT_TRUE(list->isVisible() && list->hasFocus());
    }
    return list;
}

// Replaces the edit's text by typing, as the user does after selecting all.
inline void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

inline void Paste(QLineEdit* edit, const QString& text)
{
    QApplication::clipboard()->setText(text);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

// Picks the entry with the given text with the keyboard (Home, then Down).
inline void Pick(QComboBox* list, const QString& text)
{
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != text; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), text);
}

// Clicks a check box on its indicator.
inline void ClickCheck(QWidget* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    Settle();
}

inline QStringList Entries(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// Switches to another page of the editor, which reloads it from the record.
inline void TurnPage(QWidget& window, const char* pageControl, int page)
{
    auto* pages = Child<QTabWidget>(window, pageControl);
    pages->setCurrentIndex(page);
    Settle();
}

inline void ShowAndActivate(QWidget& window)
{
    window.resize(900, 560);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

} // namespace k3n::test
