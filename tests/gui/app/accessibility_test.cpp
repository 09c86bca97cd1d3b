// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the main window: every page open, in each
// language, walked through Qt's accessibility interfaces (what the desktop's
// accessibility bus is fed from).
#include "app/main_window.h"
#include "editors/channel_window.h"
#include "model/record_layout.h"
#include "support/main_window_fixture.h"
#include "widgets/cell_grid.h"
#include "widgets/spoken_names.h"
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace k3n;
using namespace k3n::test;

namespace {

// A control whose own text is its value: only a caption says what it is for.
bool ShowsAValue(QAccessibleInterface* object)
{
    switch (object->role()) {
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider: return true;
    default: return false;
    }
}

// A screen reader's name of an object: its own, or its label's.
QString SpokenName(QAccessibleInterface* object)
{
    auto* widget = qobject_cast<QWidget*>(object->object());
    QString name = ShowsAValue(object) ? (widget ? widget->accessibleName() : QString())
                                       : object->text(QAccessible::Name).trimmed();
    if (!name.isEmpty())
        return name;
    for (const auto& [label, relation] : object->relations(QAccessible::Label))
        if (label && !label->text(QAccessible::Name).trimmed().isEmpty())
            return label->text(QAccessible::Name).trimmed();
    return {};
}

bool CanBeUsed(QAccessibleInterface* object)
{
    if (object->state().focusable)
        return true;
    QAccessibleActionInterface* actions = object->actionInterface();
    return actions && !actions->actionNames().isEmpty();
}

QString Describe(QAccessibleInterface* object)
{
    QString path;
    for (QAccessibleInterface* at = object; at; at = at->parent()) {
        const QString name = at->object() ? at->object()->objectName() : QString();
        path.prepend(QStringLiteral("/%1(%2)").arg(name).arg(int(at->role()), 0, 16));
        if (at->role() == QAccessible::Window)
            break;
    }
    return path;
}

// The findings of one walk: objects one can focus or act on that have no name,
// and column headers whose name is a bare number.
struct Findings {
    QStringList unnamed;
    QStringList numberedHeaders;
    int objects = 0;
};

void Walk(QAccessibleInterface* object, Findings& findings)
{
    if (!object || !object->isValid() || object->state().invisible)
        return;
    ++findings.objects;
    const QString name = SpokenName(object);
    if (object->role() == QAccessible::ColumnHeader) {
        static const QRegularExpression number(QStringLiteral("^\\d*$"));
        if (number.match(name).hasMatch())
            findings.numberedHeaders << Describe(object) + QStringLiteral(" \"%1\"").arg(name);
    } else if (CanBeUsed(object) && name.isEmpty()) {
        findings.unnamed << Describe(object);
    }
    for (int i = 0; i < object->childCount(); ++i)
        Walk(object->child(i), findings);
}

class AccessibilityTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        makeWindow();
        window->resize(1280, 800);
        ASSERT_NO_FATAL_FAILURE(showWindow());
        for (int page = 0; page < kEditorPageCount; ++page)
            ASSERT_NE(window->OpenEditorPage(page), nullptr);
        QApplication::processEvents();
    }

    // Walks the main window once per tab of every tabbed page.
    Findings WalkEveryPage()
    {
        Findings findings;
        Walk(QAccessible::queryAccessibleInterface(window.get()), findings);
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
            for (int tab = 1; tab < tabs->count(); ++tab) {
                tabs->setCurrentIndex(tab);
                QApplication::processEvents();
                Walk(QAccessible::queryAccessibleInterface(tabs), findings);
            }
        return findings;
    }
};

TEST_F(AccessibilityTest, EveryControlOfEveryPageHasANameAndEveryColumnHeaderItsCaptionInEachLanguage)
{
    for (const char* language : {"MenuLanguage_En", "MenuLanguage_Chs", "MenuLanguage_En"}) {
        window->findChild<QAction*>(language)->trigger();
        QApplication::processEvents();
        const Findings findings = WalkEveryPage();
        EXPECT_GT(findings.objects, 1000) << language << ": the walk reached the grids' cells";
        EXPECT_TRUE(findings.unnamed.isEmpty()) << language << ", unnamed:\n"
                                                << findings.unnamed.join('\n').toStdString();
        EXPECT_TRUE(findings.numberedHeaders.isEmpty()) << language << ", headers:\n"
                                                        << findings.numberedHeaders.join('\n').toStdString();
    }
}

}   // namespace

namespace {

// The cells whose change was announced in place: row, column and what is said.
struct Announcement {
    int row, col;
    QString said;
};

using Col = TChInforDlg::Col;

}   // namespace

TEST_F(AccessibilityTest, TheChannelGridReadsAsATableOfItsCaptionsWhileItLooksAsBefore)
{
    auto* grid = window->findChild<CellGrid*>("StringGrid1");
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    ASSERT_TRUE(table && table->tableInterface());
    for (const char* language : {"MenuLanguage_Chs", "MenuLanguage_En"}) {
        window->findChild<QAction*>(language)->trigger();
        EXPECT_EQ(table->text(QAccessible::Name), window->editorOfPage(0)->windowTitle()) << language;
        for (int col = 1; col <= grid->columnTotal(); ++col) {
            // What is read is what is painted: the header row's text.
            EXPECT_EQ(table->tableInterface()->columnDescription(col), grid->cellText(0, col)) << language;
            EXPECT_FALSE(grid->cellText(0, col).isEmpty());
        }
        EXPECT_EQ(table->tableInterface()->rowDescription(3), QStringLiteral("03"));
    }
    EXPECT_EQ(table->tableInterface()->cellAt(1, Col::Rx)->text(QAccessible::Name), QStringLiteral("blank"));

    // A cell editor opened from the keyboard says which cell it edits.
    grid->setFocus();
    grid->setCurrentCell(1, Col::Rx);
    QTest::keyClick(grid, Qt::Key_Return);
    auto* box = window->findChild<QLineEdit*>("Edit_ChFreq");
    ASSERT_TRUE(box->hasFocus());
    EXPECT_EQ(box->accessibleName(), grid->cellText(0, Col::Rx) + QStringLiteral(", row 01"));
    QTest::keyClicks(box, "145.5");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_NE(data.record.get(rec::ch::rx_freq(1)), 0u);
    EXPECT_EQ(table->tableInterface()->cellAt(1, Col::Rx)->text(QAccessible::Name), grid->cellText(1, Col::Rx));

    // Space on a two-state cell changes it in place, and the new value is announced.
    std::vector<Announcement> announcements;
    WatchAnnouncements([&](QAccessibleInterface* object) {
        ASSERT_TRUE(object->tableCellInterface());
        announcements.push_back({object->tableCellInterface()->rowIndex(), object->tableCellInterface()->columnIndex(),
                                 object->text(QAccessible::Name)});
    });
    grid->setCurrentCell(1, Col::Power);
    const QString before = grid->cellText(1, Col::Power);
    QTest::keyClick(grid, Qt::Key_Space);
    WatchAnnouncements({});
    EXPECT_NE(grid->cellText(1, Col::Power), before);
    ASSERT_EQ(announcements.size(), 1u);
    EXPECT_EQ(std::pair(announcements[0].row, announcements[0].col), std::pair(1, int(Col::Power)));
    EXPECT_EQ(announcements[0].said, grid->cellText(1, Col::Power));
}

TEST_F(AccessibilityTest, TheFocusSinkIsNeverSeenOrReachedAndSaveGivesTheFocusBack)
{
    ScratchDir dir;
    window->setFileNameChooser([&](bool) { return dir.file("saved.fse"); });
    EditorWindow* channels = window->OpenEditorPage(0);
    auto* sink = channels->findChild<QPushButton*>("bHide");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(sink)->state().invisible);
    QTest::mouseClick(sink, Qt::LeftButton);
    EXPECT_FALSE(sink->hasFocus()) << "a click";
    auto* group = channels->findChild<QComboBox*>("cbChInforGroup");
    group->setFocus();
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), sink) << "Tab " << i;
    }

    // A frequency being typed is saved, and the grid it was typed in has the focus again.
    auto* grid = channels->findChild<CellGrid*>("StringGrid1");
    grid->setFocus();
    grid->setCurrentCell(2, Col::Rx);
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "146");
    window->findChild<QAction*>("MenuFile_Save")->trigger();
    EXPECT_EQ(data.record.get(rec::ch::rx_freq(2)), 146000000u);
    EXPECT_EQ(QApplication::focusWidget(), grid);

    group->setFocus();
    window->findChild<QAction*>("MenuFile_Save")->trigger();
    EXPECT_EQ(QApplication::focusWidget(), group);
}
