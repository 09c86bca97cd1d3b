// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the main window and in every other window,
// in each language, walked through Qt's accessibility interfaces (what the
// desktop's accessibility bus is fed from); what a session says while it runs;
// and whether every caption stays whole with a font half as large again.
#include "app/about_window.h"
#include "app/changes_window.h"
#include "app/check_window.h"
#include "app/compare_window.h"
#include "app/import_report_window.h"
#include "app/main_window.h"
#include "app/port_window.h"
#include "app/program_window.h"
#include "app/restore_window.h"
#include "app/several_radios_window.h"
#include "editors/channel_window.h"
#include "model/record_layout.h"
#include "programming/radio_backups.h"
#include "programming/transfer_plan.h"
#include "service/adjustment_window.h"
#include "service/apc_tune_window.h"
#include "service/password_window.h"
#include "service/write_sn_window.h"
#include "support/main_window_fixture.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include "virtualradio/emulated_radio.h"
#include "widgets/cell_grid.h"
#include "widgets/list_windows.h"
#include "widgets/message_windows.h"
#include "widgets/spoken_names.h"
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace k3n;
using namespace k3n::test;

namespace {

constexpr int kSampleText = 155;   // "Clear all data ?": a message of the language in use

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

// Lets a font change run its course: each layout that grows asks its parent's
// layout in a posted event of its own.
void SettleLayouts()
{
    for (int level = 0; level < 8; ++level)
        QApplication::processEvents();
}

// What a larger font may have cut: a label or button smaller than its size
// hint (a wrapped label: than its height at its width), a window or panel
// smaller than its layout's least size, a grid column narrower than its caption.
QStringList CutCaptions(const QWidget* w)
{
    auto* label = qobject_cast<const QLabel*>(w);
    auto* button = qobject_cast<const QAbstractButton*>(w);
    const QSize hint = w->sizeHint(), least = w->layout() ? w->layout()->totalMinimumSize() : QSize();
    QStringList cut;
    if ((label && !label->text().isEmpty()) || (button && !button->text().isEmpty()))
        if (label && label->wordWrap() ? label->heightForWidth(w->width()) > w->height()
                                       : w->width() < hint.width() || w->height() < hint.height())
            cut << QStringLiteral("%1x%2 of %3x%4")
                       .arg(w->width())
                       .arg(w->height())
                       .arg(hint.width())
                       .arg(hint.height());
    if (w->width() < least.width() || w->height() < least.height())
        cut << QStringLiteral("smaller than its layout");
    if (auto* grid = qobject_cast<const CellGrid*>(w))
        for (int col = 1; col <= grid->columnTotal(); ++col)
            if (grid->columnWidth(col) < grid->fontMetrics().horizontalAdvance(grid->cellText(0, col)))
                cut << grid->cellText(0, col);
    return cut;
}

// The findings of one walk: objects one can focus or act on that have no name,
// column headers whose name is a bare number, captions cut and windows
// smaller than their content.
struct Findings {
    QStringList unnamed;
    QStringList numberedHeaders;
    QStringList cut;
    int objects = 0;

    void expectNone(const std::string& where) const
    {
        EXPECT_TRUE(unnamed.isEmpty()) << where << ", unnamed:\n" << unnamed.join('\n').toStdString();
        EXPECT_TRUE(numberedHeaders.isEmpty()) << where << ", headers:\n" << numberedHeaders.join('\n').toStdString();
        EXPECT_TRUE(cut.isEmpty()) << where << ", cut:\n" << cut.join('\n').toStdString();
    }
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
    if (auto* w = qobject_cast<QWidget*>(object->object()); w && w->isVisible())
        for (const QString& cut : CutCaptions(w))
            findings.cut << Describe(object) + QLatin1Char(' ') + cut;
    for (int i = 0; i < object->childCount(); ++i)
        Walk(object->child(i), findings);
}

// The windows besides the pages, each built as its command builds it, in the
// language of the moment, shown over 'owner'.
class OtherWindows {
public:
    OtherWindows()
    {
        radio_.ResetForBand(0);
        radio_.record.set(rec::ch::in_use(1), 1);   // one difference to list
        EXPECT_TRUE(SaveBackup(backups_.path(), radio_.record, "00000001", QDateTime::currentDateTime()));
        HalvexComm32::TCommSerialPortInfo::AddExtraPort("virtual radio", kListedPort);   // a row to read
    }
    ~OtherWindows() { HalvexComm32::TCommSerialPortInfo::RemoveExtraPort(kListedPort); }

    // Every window, shown: the caller walks them and lets them go.
    std::vector<std::unique_ptr<QWidget>> open(QWidget* owner, RadioData& data, AppSettings& settings)
    {
        const ServiceContext service{service_, serviceRadio_, {}};
        const PortPlan port{false, {QStringLiteral("COM1")}};
        const QString text = UiText(kSampleText);
        std::vector<std::unique_ptr<QWidget>> w;
        w.push_back(std::make_unique<TCommunicationPort>(settings, HalvexComm32::TCommSerialPortInfo().Ports(), owner));
        w.push_back(std::make_unique<TProgramDialog>(ConfigurationReadRequest(), port, owner));
        w.push_back(std::make_unique<TProgramDialog>(data, settings, port, owner));
        w.push_back(std::make_unique<TPasswordDlg>(service, owner));
        w.push_back(std::make_unique<TAdjustmentDlg>(service, owner));
        w.push_back(std::make_unique<TApcTuneDlg>(service, owner));
        w.push_back(std::make_unique<TWriteSnDlg>(service, owner));
        w.push_back(
            std::make_unique<CompareWindow>(CompareSide::Radio, QStringLiteral("00000001"), radio_.record, owner));
        static_cast<CompareWindow*>(w.back().get())->compare(data.record);
        w.push_back(std::make_unique<ChangesWindow>(radio_, data.record, owner));
        w.push_back(std::make_unique<RestoreWindow>(backups_.path(), owner));
        w.push_back(std::make_unique<SeveralRadiosWindow>(data, WriteLogContext{}, settings,
                                                          HalvexComm32::TCommSerialPortInfo(), owner));
        w.push_back(std::make_unique<CheckWindow>(owner));
        static_cast<CheckWindow*>(w.back().get())->setProblems(CheckConfiguration(radio_.record));
        w.push_back(
            std::make_unique<ImportReportWindow>(QStringLiteral("channels.csv"), QStringList{text}, text, true, owner));
        w.push_back(std::make_unique<ReportWindow>(text, text, QStringList{text}, owner));
        w.push_back(std::make_unique<TAboutBox>(owner));
        w.push_back(std::make_unique<TMyWarnDlg_2>(owner));
        static_cast<TMyWarnDlg_2*>(w.back().get())->Label1->setText(text);
        w.push_back(std::make_unique<TMyWarnDlg_3>(owner));
        static_cast<TMyWarnDlg_3*>(w.back().get())->Label1->setText(text);
        w.push_back(std::make_unique<TUserWarnDlg>(owner));
        static_cast<TUserWarnDlg*>(w.back().get())->WarnDlgText->setText(text);
        for (const auto& window : w)
            window->show();
        SettleLayouts();
        return w;
    }

    // Walks every window in the language of the moment; a window's findings name it.
    void expectNone(QWidget* owner, RadioData& data, AppSettings& settings, const std::string& where)
    {
        for (const auto& window : open(owner, data, settings)) {
            Findings findings;
            Walk(QAccessible::queryAccessibleInterface(window.get()), findings);
            EXPECT_GE(findings.objects, 3) << where;   // a window, its text and a button at least
            findings.expectNone(where + " " + window->metaObject()->className());
        }
    }

private:
    static constexpr const char* kListedPort = "/emulated/nothing";
    test::ScratchDir backups_;
    RadioData radio_;
    ServiceData service_;
    RadioData serviceRadio_;
};

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
        findings.expectNone(language);
    }
}

TEST_F(AccessibilityTest, EveryOtherWindowHasItsControlsNamedInEachLanguage)
{
    OtherWindows others;
    for (const char* language : {"MenuLanguage_En", "MenuLanguage_Chs"}) {
        window->findChild<QAction*>(language)->trigger();
        others.expectNone(window.get(), data, settings, language);
    }
}

TEST_F(AccessibilityTest, WithTheFontHalfAsLargeAgainEveryCaptionIsWholeAndEveryWindowFitsItsContent)
{
    struct PutBack {
        QFont font = QApplication::font();
        ~PutBack() { QApplication::setFont(font); }
    } normal;
    QFont large = normal.font;
    large.setPointSizeF(normal.font.pointSizeF() * 1.5);
    QApplication::setFont(large);   // the pages are open already: they follow
    SettleLayouts();
    EXPECT_EQ(window->editorOfPage(1)->font().pointSizeF(), large.pointSizeF());
    WalkEveryPage().expectNone("pages open when the font grew");
    OtherWindows others;
    for (const char* language : {"MenuLanguage_Chs", "MenuLanguage_En"}) {
        window->findChild<QAction*>(language)->trigger();
        SettleLayouts();
        WalkEveryPage().expectNone(std::string(language) + " pages");
        others.expectNone(window.get(), data, settings, language);
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
    WatchAnnouncements([&](QAccessibleInterface* object, QAccessible::Event kind) {
        EXPECT_EQ(kind, QAccessible::NameChanged);
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

TEST(SessionSpeech, AWriteSaysItsPortPhasesAndBackupAndItsOutcomeIsReadWithItsProgress)
{
    ApplyLanguageSetting(0);
    EmulatedSessions sessions;
    EmulatedRadio radio(VirtualRadioOptions{});
    RadioData data;
    data.ResetForBand(0);
    AppSettings settings;   // backup and read-back on
    TProgramDialog dlg(data, settings, PortPlan{false, {radio.devicePath()}});
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(dlg.ProgressBar1);
    EXPECT_EQ(bar->text(QAccessible::Name), dlg.windowTitle());

    QStringList said;   // what came up as a notification
    WatchAnnouncements([&](QAccessibleInterface* object, QAccessible::Event kind) {
        if (kind == QAccessible::ObjectShow && object->role() == QAccessible::Notification)
            said << object->text(QAccessible::Name);
    });
    QStringList read;   // each closing box as a screen reader reads it, with the bar's value behind it
    ModalAnswers answer;
    answer.always<TUserWarnDlg>([&](TUserWarnDlg& notice) {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&notice);
        read << QStringLiteral("%1 %2 %3/%4")
                    .arg(int(box->role()))
                    .arg(box->text(QAccessible::Description))
                    .arg(bar->valueInterface()->currentValue().toInt())
                    .arg(bar->valueInterface()->maximumValue().toInt());
        notice.OKBtn->click();
    });
    dlg.show();
    // The window's own loop runs its timers back to back (a polling wait would pause between them).
    QEventLoop running;
    QObject::connect(&dlg, &QDialog::finished, &running, &QEventLoop::quit);
    QTimer::singleShot(10000, &running, &QEventLoop::quit);   // a deadline, not a wait
    QTest::mouseClick(dlg.ProgramStart, Qt::LeftButton);
    if (dlg.isVisible())
        running.exec();
    WatchAnnouncements({});
    ASSERT_EQ(dlg.result(), QDialog::Accepted);

    // The port, then each phase, the backup's file with each phase after it.
    ASSERT_EQ(said.size(), 4) << said.join('|').toStdString();
    EXPECT_TRUE(said[0].contains(radio.devicePath()));
    EXPECT_EQ(said[1], "Backing up the radio");
    const QString backup = "\n" + Text(OwnText::SafeWriteBackupSaved).arg(dlg.safeWrite()->result().backup_path);
    EXPECT_EQ(said[2], "Writing" + backup);
    EXPECT_EQ(said[3], "Verifying" + backup);
    // The outcome is read as an alert, over a bar that says it is all done.
    const int max = dlg.ProgressBar1->maximum();
    EXPECT_EQ(read,
              QStringList{QStringLiteral("%1 %2 %3/%3")
                              .arg(int(QAccessible::AlertMessage))
                              .arg(dlg.safeWrite()->result().message)
                              .arg(max)});
    EXPECT_TRUE(dlg.safeWrite()->result().message.startsWith("SUCCESS"));
}
