// SPDX-License-Identifier: GPL-3.0-or-later
// The programming window against a virtual radio on a pseudo-terminal: the
// whole path through the session runner and real terminals, on the real clock.
#include "app/main_window.h"
#include "app/port_window.h"
#include "app/program_window.h"
#include "app/quit_signals.h"
#include "app/restore_window.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/programming_log.h"
#include "programming/radio_backups.h"
#include "programming/safe_write.h"
#include "support/main_window_fixture.h"
#include "support/virtual_radio_memory.h"
#include "text/app_lang.h"
#include "virtualradio/emulated_radio.h"
#include "virtualradio/virtual_radio.h"
#include "widgets/editor_window.h"
#include "widgets/message_windows.h"
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <random>

namespace k3n {
namespace {

using namespace std::chrono_literals;

const ProgramTime kTime{2024, 6, 30, 23, 59};

// Answers the modal windows as they open: every notice with OK (keeping its
// text), a programming window with Start, a port dialog with 'choosePort';
// any other window is closed, so no test waits forever.
class NoticeAnswerer {
public:
    NoticeAnswerer()
    {
        answers.always<TUserWarnDlg>([this](TUserWarnDlg& notice) {
            texts << notice.WarnDlgText->text();
            // The phase line as the write ended, under its closing notice.
            if (auto* program = qobject_cast<TProgramDialog*>(notice.parentWidget()); program && program->sPhase)
                phases << program->sPhase->text();
            notice.OKBtn->click();
        });
        answers.always<TProgramDialog>([this](TProgramDialog& program) {
            test::StartWhenReady(program);
            if (program.sPhase && (phases.isEmpty() || phases.constLast() != program.sPhase->text()))
                phases << program.sPhase->text();
        });
        answers.always<RestoreWindow>([this](RestoreWindow& restore) {
            restoreListed = restore.tvBackups->topLevelItemCount();
            restore.bOpen->click();
        });
        answers.always<TMyWarnDlg_3>([this](TMyWarnDlg_3& ask) {
            questions << ask.Label1->text();
            (answerYes ? ask.OKBtn : ask.NoBtn)->click();
        });
        answers.always<TCommunicationPort>([this](TCommunicationPort& ports) {
            if (choosePort)
                std::exchange(choosePort, nullptr)(ports);
            else
                ports.reject();
        });
        answers.closeOthers();
    }
    QStringList texts;
    QStringList phases;   // what a configuration write's phase line showed, in turn
    int restoreListed = -1;   // the backups the restore window listed
    QStringList questions;   // Yes/No questions, answered with 'answerYes'
    bool answerYes = false;
    std::function<void(TCommunicationPort&)> choosePort;

private:
    test::ModalAnswers answers;
};

std::unique_ptr<VirtualRadio> StartRadio(VirtualRadioOptions options = {})
{
    auto radio = std::make_unique<VirtualRadio>(std::move(options));
    EXPECT_EQ(radio->Start(), std::nullopt);
    return radio;
}

VirtualRadioOptions Options(std::optional<int> band, FaultPlan fault = {})
{
    VirtualRadioOptions options;
    options.band = band;
    options.fault = fault;
    return options;
}

PortPlan FixedPort(const VirtualRadio& radio)
{
    return {false, {radio.devicePath()}};
}

// The texts asserted on are the English ones.
class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override { ApplyLanguageSetting(0); }
    NoticeAnswerer notices;
};

// Presses Start and waits (with a deadline) until the window has closed itself.
void RunToEnd(TProgramDialog& dlg, std::chrono::milliseconds deadline)
{
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    ASSERT_TRUE(dlg.ProgramStart->isEnabled());
    QTest::mouseClick(dlg.ProgramStart, Qt::LeftButton);
    EXPECT_FALSE(dlg.ProgramStart->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); }, int(deadline.count())));
}

TEST_F(ProgramWindow, ReadsTheRadioAndEndsWithSuccess)
{
    auto radio = StartRadio(Options(2));
    TProgramDialog dlg(ConfigurationReadRequest(), FixedPort(*radio));
    EXPECT_EQ(dlg.ProgramStart->text(), "Start");
    EXPECT_EQ(dlg.CancelBtn->text(), "Cancel");
    EXPECT_EQ(dlg.ProgressBar1->maximum(), 260);
    // The port is named before anything is sent.
    EXPECT_TRUE(dlg.sPort->text().contains(radio->devicePath()));
    RunToEnd(dlg, 10s);
    EXPECT_EQ(notices.texts, QStringList{"SUCCESS"});
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.ProgressBar1->value(), 260);

    RadioData back;
    ASSERT_TRUE(ApplyConfigurationRead(dlg.session(), back));
    EXPECT_EQ(back.record.get(rec::freq_band), 2);
}

TEST_F(ProgramWindow, PortThatCannotBeOpenedIsNamedThenTheSessionFails)
{
    TProgramDialog dlg(ConfigurationReadRequest(), {false, {"/dev/k3n-no-such-port"}});
    RunToEnd(dlg, 5s);
    ASSERT_EQ(notices.texts.size(), 2);
    EXPECT_TRUE(notices.texts[0].startsWith("ZebCommDevice1: ")) << notices.texts[0].toStdString();
    EXPECT_TRUE(notices.texts[0].contains("/dev/k3n-no-such-port"));
    EXPECT_EQ(notices.texts[1], "Communication False");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(ProgramWindow, RememberedCableGoneIsSaidBeforeCommunicationFalse)
{
    auto radio = StartRadio(Options(0));
    PortPlan plan = FixedPort(*radio);
    plan.missing_cable = "0403:6001:A50285BI";
    TProgramDialog dlg(ConfigurationReadRequest(), plan);
    RunToEnd(dlg, 5s);
    EXPECT_EQ(notices.texts,
              (QStringList{"The chosen cable is not connected: 0403:6001:A50285BI", "Communication False"}));
    EXPECT_TRUE(radio->frames().empty());   // whatever took the cable's place is not greeted
}

TEST_F(ProgramWindow, CablePulledMidReadEndsPromptly)
{
    auto radio = StartRadio(Options({}, {RadioFault::HangUp, 30}));
    TProgramDialog dlg(ConfigurationReadRequest(), FixedPort(*radio));
    RunToEnd(dlg, 15s);
    // The hang-up itself ends the session, not the 5000 ms answer time-out.
    EXPECT_EQ(notices.texts, QStringList{"Communication False"});
    EXPECT_EQ(dlg.session().failure(), SessionFailure::LinkLost);
}

TEST_F(ProgramWindow, CancelDuringTheWriteSaysThatThePartWrittenIsInTheRadio)
{
    auto radio = StartRadio(Options(0));
    RadioData data;
    data.ResetForBand(0);
    AppSettings settings;
    TProgramDialog dlg(data, settings, FixedPort(*radio));
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.ProgramStart, Qt::LeftButton);
    EXPECT_FALSE(dlg.cBackup->isEnabled());   // the choice is fixed once started
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return dlg.safeWrite()->phase() == SafeWritePhase::Write && dlg.safeWrite()->session()->stepsSent() >= 3;
        },
        15000));
    EXPECT_EQ(dlg.ProgressBar1->maximum(), 3 * kProgressMax);
    EXPECT_GT(dlg.ProgressBar1->value(), kProgressMax);   // the backup's third is behind it
    EXPECT_TRUE(dlg.sPhase->text().startsWith("Writing\nBackup saved: ")) << dlg.sPhase->text().toStdString();
    QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(notices.texts,
              QStringList{"Cancelled during the write: the radio now holds only part of the new configuration"});
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.safeWrite()->result().outcome, SafeWriteOutcome::Cancelled);
}

TEST_F(ProgramWindow, CancelAbandonsTheTransferAndReleasesThePort)
{
    auto radio = StartRadio();
    RadioData data;
    data.ResetForBand(0);
    {
        TProgramDialog dlg(ConfigurationWriteRequest(data, kTime, true), FixedPort(*radio));
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(dlg.ProgramStart, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return radio->frames().size() >= 5; }, 5000));
        QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(dlg.session().outcome(), SessionOutcome::Cancelled);
        EXPECT_FALSE(dlg.Timer_Tx->isActive());
    }
    EXPECT_TRUE(notices.texts.isEmpty());

    // The port is free again for the next session.
    TProgramDialog again(ConfigurationReadRequest(), FixedPort(*radio));
    RunToEnd(again, 10s);
    EXPECT_EQ(notices.texts, QStringList{"SUCCESS"});

    // The abandoned write sent no end frame: the one end frame is the read's.
    ASSERT_TRUE(radio->WaitFor([](const RadioEmulator& e) { return e.endSeen(); }, 5000ms));
    const auto frames = radio->frames();
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(),
                            [](const ReceivedFrame& f) { return f.command == link::Command::End; }),
              1);
}

TEST_F(ProgramWindow, WriteOnlyWhatChangedIsOffByDefaultNeedsBothReadsAndIsRemembered)
{
    RadioData data;
    data.ResetForBand(0);
    AppSettings settings;
    TProgramDialog dlg(data, settings, PortPlan{false, {"COM1"}});
    ASSERT_TRUE(dlg.cChangedOnly && dlg.sExperimental);
    EXPECT_EQ(dlg.cChangedOnly->text(), "Write only what changed");
    EXPECT_EQ(dlg.sExperimental->text(), "(experimental)");
    EXPECT_FALSE(dlg.cChangedOnly->isChecked());
    EXPECT_TRUE(dlg.cChangedOnly->isEnabled());
    dlg.cChangedOnly->click();
    EXPECT_TRUE(settings.WriteChangedOnly);
    for (QCheckBox* read : {dlg.cBackup, dlg.cVerify}) {   // without either read it cannot be chosen
        read->click();
        EXPECT_FALSE(dlg.cChangedOnly->isEnabled());
        EXPECT_FALSE(dlg.sExperimental->isEnabled());
        read->click();
        EXPECT_TRUE(dlg.cChangedOnly->isEnabled());
    }
    TProgramDialog again(data, settings, PortPlan{false, {"COM1"}});
    EXPECT_TRUE(again.cChangedOnly->isChecked());
}

TEST_F(ProgramWindow, WriteOnlyWhatChangedSendsTheChangedBlockAndSaysSo)
{
    const EmulatedSessions emulated;
    EmulatedRadio radio(Options(0));
    RadioData data;
    data.ResetForBand(0);
    test::HoldConfiguration(radio, data);
    data.record.set(rec::ch::in_use(40), 1);   // channel 40: the block at 0x1260
    AppSettings settings{.WriteChangedOnly = true};
    TProgramDialog dlg(data, settings, PortPlan{false, {radio.devicePath()}});
    RunToEnd(dlg, 15s);
    EXPECT_EQ(notices.texts, QStringList{"SUCCESS; changed only: 3 of 119 write frames"});
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(test::WriteFrameCount(radio), 3u);
    const MemoryImage& image = dlg.safeWrite()->imageToWrite();
    const MemoryImage held = radio.memory();
    EXPECT_TRUE(std::equal(image.begin() + 0x1260, image.begin() + 0x1280, held.begin() + 0x1260));
}

TEST(ProgramWindowPorts, PortPlanFollowsTheSettings)
{
    const QList<HalvexComm32::TCommPortEntry> ports{{"COM1", "/dev/ttyUSB0", ""},
                                                    {"COM2", "/dev/pts/7", "virtual radio"}};
    const PortPlan search = SessionPortPlan(AppSettings{.Port = 3, .Language = 1, .AutoSeachPort = true}, ports);
    EXPECT_TRUE(search.auto_search);
    EXPECT_EQ(search.ports, (QStringList{"COM1", "COM2"}));
    const PortPlan fixed = SessionPortPlan(AppSettings{.Port = 3, .Language = 1, .AutoSeachPort = false}, ports);
    EXPECT_FALSE(fixed.auto_search);
    EXPECT_EQ(fixed.ports, QStringList{"COM3"});
}

// ---- the main window's Read, Write and Communication Port -------------------

// Stands in for an editor page: one edit box bound to the time-out timer,
// written when the box loses the focus.
class ProbeEditor : public EditorWindow {
public:
    ProbeEditor(RadioData& data, QWidget* parent) : EditorWindow(data, parent)
    {
        eTOT = new QLineEdit(this);
        eTOT->setObjectName("eTOT");
        bindExit(eTOT, [this] { data_.record.set(rec::tot, uint16_t(eTOT->text().toInt())); });
        RefreshAll();
    }
    void RefreshAll() override
    {
        ++refreshCount;
        eTOT->setText(QString::number(data_.record.get(rec::tot)));
    }
    QLineEdit* eTOT;
    int refreshCount = 0;
};

using test::ListedEmulatedRadio;
using test::ListedRadio;

class MainWindowSession : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        settings.Port = 1;
        settings.AutoSeachPort = true;
        makeWindow();
        window->setEditorFactory([this](int, RadioData& d, QWidget* parent) {
            probe = new ProbeEditor(d, parent);
            return probe;
        });
        showWindow();
        ASSERT_TRUE(window->OpenEditorPage(0));
    }

    ProbeEditor* probe = nullptr;
    NoticeAnswerer answers;
};

TEST_F(MainWindowSession, WriteSendsWhatIsBeingTypedAndReadBringsItBack)
{
    ListedEmulatedRadio listed;
    if (!listed.choosable())
        GTEST_SKIP() << "the virtual radio is beyond COM9 here";
    settings = AppSettings{.Port = listed.number,
                           .Language = 0,
                           .AutoSeachPort = false,
                           .BackupBeforeWrite = false,
                           .VerifyAfterWrite = false};

    // Typed but not yet committed: Write commits it before building the image.
    probe->eTOT->setFocus();
    probe->eTOT->selectAll();
    QTest::keyClicks(probe->eTOT, "77");
    window->MenuEdit_WriteClick();
    EXPECT_EQ(answers.texts, QStringList{"SUCCESS"});
    EXPECT_EQ(data.record.get(rec::tot), 77);
    ASSERT_TRUE(listed.radio->WaitFor([](const RadioEmulator& e) { return e.endSeen(); }, 5000ms));
    const auto frames = listed.radio->frames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[1].command, link::Command::ReadMemory);   // the band check is armed
    EXPECT_EQ(frames[1].address, radio_addr::kBandCode);
    const MemoryImage sent = listed.radio->memory();
    const MemoryImage expected = GetDataForWrite(data, kTime);
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + radio_addr::kProgramTime, sent.begin()));
    EXPECT_TRUE(std::equal(expected.begin() + radio_addr::kChannels,
                           expected.end() - (kMemoryImageSize - radio_addr::kChannelsEnd),
                           sent.begin() + radio_addr::kChannels));

    // Reading replaces the record and reloads the open editors.
    data.record.set(rec::tot, 5);
    const int refreshes = probe->refreshCount;
    window->MenuEdit_ReadClick();
    EXPECT_EQ(answers.texts, (QStringList{"SUCCESS", "SUCCESS"}));
    EXPECT_EQ(data.record.get(rec::tot), 77);
    EXPECT_GT(probe->refreshCount, refreshes);
    EXPECT_EQ(probe->eTOT->text(), "77");
}

TEST_F(MainWindowSession, WriteToARadioOfAnotherBandSendsNothing)
{
    ListedRadio listed(Options(2));
    if (!listed.choosable())
        GTEST_SKIP() << "the virtual radio is beyond COM9 here";
    settings = AppSettings{.Port = listed.number,
                           .Language = 0,
                           .AutoSeachPort = false,
                           .BackupBeforeWrite = false,
                           .VerifyAfterWrite = false};
    window->MenuEdit_WriteClick();
    EXPECT_EQ(answers.texts, QStringList{"Wrong Freq Band"});
    const auto frames = listed.radio->frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].command, link::Command::Greeting);
    EXPECT_EQ(frames[1].command, link::Command::ReadMemory);
}

TEST_F(MainWindowSession, WriteBacksUpWritesAndVerifiesInOneWindow)
{
    ListedEmulatedRadio listed(Options(0));
    if (!listed.choosable())
        GTEST_SKIP() << "the virtual radio is beyond COM9 here";
    settings = AppSettings{
        .Port = listed.number, .Language = 0, .AutoSeachPort = false};   // backup and read-back on, as by default
    ASSERT_TRUE(settings.BackupBeforeWrite && settings.VerifyAfterWrite);
    const MemoryImage previous = listed.radio->memory();
    const int backupsBefore = int(ListBackups().size());
    data.record.set(rec::tot, 44);
    const RadioData before = data;
    const int refreshes = probe->refreshCount;
    const QString undoBefore = window->findChild<QAction*>("EditUndoItem")->text();

    window->MenuEdit_WriteClick();
    EXPECT_EQ(answers.texts, QStringList{"SUCCESS"});
    EXPECT_TRUE(answers.phases.contains("Backing up the radio")) << answers.phases.join('|').toStdString();
    EXPECT_TRUE(answers.phases.contains("Verifying") || answers.phases.constLast().startsWith("Verifying"))
        << answers.phases.join('|').toStdString();
    ASSERT_FALSE(answers.phases.isEmpty());
    EXPECT_EQ(answers.phases.constLast().count("Backup saved"), 1) << answers.phases.constLast().toStdString();

    // The configuration, its companion state and the history are as they were.
    EXPECT_EQ(data.record, before.record);
    EXPECT_EQ(data.radio_serial_number, before.radio_serial_number);
    EXPECT_EQ(data.last_program_time, before.last_program_time);
    EXPECT_EQ(window->findChild<QAction*>("EditUndoItem")->text(), undoBefore);   // no step of its own
    EXPECT_EQ(probe->refreshCount, refreshes);   // the editors were not reloaded

    // The radio's earlier configuration is in a new backup; the radio holds the new one.
    const auto backups = ListBackups();
    ASSERT_EQ(int(backups.size()), backupsBefore + 1);
    EXPECT_EQ(backups.front().serial, "00000001");
    RadioData backup;
    ASSERT_EQ(LoadFseFile(backups.front().path, backup), std::nullopt);
    RadioData fromPrevious;
    fromPrevious.ResetForBand(0);
    SetDataToSoftware(previous, fromPrevious);
    EXPECT_EQ(backup.record, fromPrevious.record);
    ASSERT_TRUE(listed.radio->WaitFor([](const RadioEmulator& e) { return e.endFrames() == 3; }, 5000ms));
    EXPECT_EQ(listed.radio->memory()[0x0600], 44);

    // The attempt is in the programming log, with its backup and the read-back's result.
    const auto log = ReadProgrammingLog(ProgrammingLogPath());
    ASSERT_TRUE(log);
    ASSERT_FALSE(log.value().entries.empty());
    const ProgrammingLogEntry& entry = log.value().entries.back();
    EXPECT_EQ(entry.outcome, WriteOutcome::Succeeded);
    EXPECT_EQ(entry.verify, VerifyResult::Passed);
    EXPECT_EQ(entry.backupFile, backups.front().path);
    EXPECT_EQ(entry.serialNumber, "00000001");
}

TEST_F(MainWindowSession, TheLogNamesTheFileOnlyWhenTheBytesWrittenAreThatFilesOwn)
{
    // A radio that refuses at once: each write is a quick, logged attempt.
    ListedRadio listed(Options(0, {RadioFault::WrongAnswer, 0}));
    if (!listed.choosable())
        GTEST_SKIP() << "the virtual radio is beyond COM9 here";
    settings = AppSettings{.Port = listed.number,
                           .Language = 0,
                           .AutoSeachPort = false,
                           .BackupBeforeWrite = false,
                           .VerifyAfterWrite = false};
    auto bytesOf = [](const RadioRecord& record) {
        return QByteArray(reinterpret_cast<const char*>(record.bytes().data()), int(record.bytes().size()));
    };
    test::ScratchDir files;
    const QString path = files.file("fleet.fse");
    ASSERT_FALSE(SaveFseFile(path, data.record));
    ASSERT_TRUE(window->openFile(path));
    window->MenuEdit_WriteClick();
    data.record.set(rec::tot, 99);   // changed since it was opened
    window->MenuEdit_WriteClick();
    RadioData backup;
    backup.ResetForBand(0);
    backup.record.set(rec::tot, 12);
    const auto saved = SaveBackup(BackupFolder(), backup.record, "NAMED1", QDateTime::currentDateTime().addYears(2));
    ASSERT_TRUE(saved);
    window->findChild<QAction*>("MenuFile_Restore")->trigger();   // opened, not written at once
    ASSERT_EQ(data.record, backup.record);
    window->MenuEdit_WriteClick();

    const auto log = ReadProgrammingLog(ProgrammingLogPath());
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 3u);   // each attempt's started line and outcome are one entry
    const auto& entries = log.value().entries;
    EXPECT_EQ(entries[0].fileName, "fleet.fse");
    EXPECT_EQ(entries[1].fileName, "unsaved changes to fleet.fse");
    EXPECT_EQ(entries[2].fileName, "restored backup " + QFileInfo(saved.value()).fileName());
    RadioData changed;
    ASSERT_FALSE(LoadFseFile(path, changed));
    changed.record.set(rec::tot, 99);
    EXPECT_EQ(entries[0].fileSha256, Sha256Hex(test::FileBytes(path)));
    EXPECT_EQ(entries[1].fileSha256, Sha256Hex(bytesOf(changed.record)));
    EXPECT_EQ(entries[2].fileSha256, Sha256Hex(bytesOf(backup.record)));
    for (const ProgrammingLogEntry& entry : entries) {
        EXPECT_EQ(entry.outcome, WriteOutcome::Failed);
        EXPECT_EQ(entry.port, QStringLiteral("COM%1").arg(listed.number));
    }
}

TEST_F(MainWindowSession, ASignalDuringAWriteCancelsItKeepsTheUnsavedConfigurationAndAsksNothing)
{
    ListedRadio listed(Options(0));
    if (!listed.choosable())
        GTEST_SKIP() << "the virtual radio is beyond COM9 here";
    settings = AppSettings{.Port = listed.number,
                           .Language = 0,
                           .AutoSeachPort = false,
                           .BackupBeforeWrite = false,
                           .VerifyAfterWrite = false};
    data.record.set(rec::tot, 33);   // never saved: the copy must keep it
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, window.get(), &TMainForm::quitOnSignal);
    // A terminal closing in the middle of the write.
    QTimer hangUp;
    QObject::connect(&hangUp, &QTimer::timeout, [&] {
        if (listed.radio->frames().size() >= 3) {
            hangUp.stop();
            ::raise(SIGHUP);
        }
    });
    hangUp.start(5);
    window->MenuEdit_WriteClick();   // returns once the signal has ended the window

    for (const ReceivedFrame& frame : listed.radio->frames())
        EXPECT_NE(frame.command, link::Command::End);
    const auto log = ReadProgrammingLog(ProgrammingLogPath());
    ASSERT_TRUE(log);
    ASSERT_EQ(log.value().entries.size(), 1u);
    EXPECT_EQ(log.value().entries[0].outcome, WriteOutcome::Cancelled);
    ASSERT_FALSE(window->autosaveCopyPath().isEmpty());
    RadioData kept;
    ASSERT_FALSE(LoadFseFile(window->autosaveCopyPath(), kept));
    EXPECT_EQ(kept.record.get(rec::tot), 33);
    // No close question was put, and every event loop is told to end.
    EXPECT_TRUE(window->isVisible());
    QEventLoop loop;
    EXPECT_EQ(loop.exec(), -1);
}

TEST_F(MainWindowSession, WriteCheckBoxesAreRememberedInTheSettings)
{
    TProgramDialog dlg(data, settings, PortPlan{false, {"COM1"}});
    ASSERT_TRUE(dlg.cBackup && dlg.cVerify);
    EXPECT_TRUE(dlg.cBackup->isChecked());
    dlg.cBackup->click();
    dlg.cVerify->click();
    EXPECT_FALSE(settings.BackupBeforeWrite);
    EXPECT_FALSE(settings.VerifyAfterWrite);
    TProgramDialog again(data, settings, PortPlan{false, {"COM1"}});
    EXPECT_FALSE(again.cBackup->isChecked());
    EXPECT_FALSE(again.cVerify->isChecked());
}

TEST_F(MainWindowSession, RestoreOpensTheChosenBackupAsOneUndoableStep)
{
    RadioData saved;
    saved.ResetForBand(2);
    saved.record.set(rec::ch::in_use(5), 1);
    saved.record.set(rec::tot, 123);
    ASSERT_TRUE(SaveBackup(BackupFolder(), saved.record, "RESTORE1", QDateTime::currentDateTime().addYears(1)));
    const RadioRecord before = data.record;

    window->findChild<QAction*>("MenuFile_Restore")->trigger();
    EXPECT_GE(answers.restoreListed, 1);
    EXPECT_EQ(data.record, saved.record);   // the newest backup, at the top of the list
    EXPECT_EQ(data.band_limits, BandLimitsOf(2));
    EXPECT_EQ(probe->eTOT->text(), "123");
    QAction* undo = window->findChild<QAction*>("EditUndoItem");
    EXPECT_EQ(undo->text(), "&Undo Restore from backup");
    undo->trigger();
    EXPECT_EQ(data.record, before);
    // Asked whether to write it now; the answer was No, so no programming window opened.
    EXPECT_TRUE(answers.texts.isEmpty());
}

TEST(RestoreWindowList, ABackupMarkedUnsureSaysSoAndWhy)
{
    ApplyLanguageSetting(0);
    test::ScratchDir dir;
    RadioData saved;
    saved.ResetForBand(0);
    const Result<QString> unsure =
        SaveBackup(dir.path(), saved.record, "A1", QDateTime(QDate(2026, 3, 4), QTime(5, 6)));
    const Result<QString> sure = SaveBackup(dir.path(), saved.record, "A1", QDateTime(QDate(2026, 3, 3), QTime(5, 6)));
    ASSERT_TRUE(unsure && sure);
    ASSERT_EQ(MarkBackupUnsure(unsure.value(), "0x0FF0"), std::nullopt);
    RestoreWindow window(dir.path());
    ASSERT_EQ(window.tvBackups->topLevelItemCount(), 2);
    EXPECT_EQ(window.tvBackups->topLevelItem(0)->text(0), "2026-03-04 05:06:00 (unsure)");
    EXPECT_TRUE(window.tvBackups->topLevelItem(0)->toolTip(0).endsWith("\n0x0FF0"));
    EXPECT_EQ(window.tvBackups->topLevelItem(1)->text(0), "2026-03-03 05:06:00");
}

TEST_F(MainWindowSession, RestoreWritesAnExactBackupBackAsItWasReadAfterAsking)
{
    ListedEmulatedRadio listed(Options(0));
    if (!listed.choosable())
        GTEST_SKIP() << "the virtual radio is beyond COM9 here";
    settings = AppSettings{.Port = listed.number, .Language = 0, .AutoSeachPort = false};
    MemoryImage random = listed.radio->memory();
    std::mt19937 rng(3);
    for (std::size_t a = 0; a < 0x0FE0; ++a)   // serial number and band code stay the radio's
        random[a] = uint8_t(rng());
    for (std::size_t a = 0x1000; a < random.size(); ++a)
        random[a] = uint8_t(rng());
    listed.radio->setMemory(random);
    QDir(BackupFolder()).removeRecursively();   // the newest backup is the one chosen
    {   // the backup a write takes first; the write itself is stopped
        SafeWriteOptions backupOnly;
        backupOnly.before_write = [](const RadioData&, const RadioData&) { return false; };
        SafeWrite chain(data, kTime, PortPlan{false, {listed.path()}}, backupOnly);
        ASSERT_EQ(chain.Run(), SafeWriteOutcome::StoppedBeforeWrite);
    }
    RadioData other;
    other.ResetForBand(0);
    listed.radio->setMemory(GetDataForWrite(other, kTime));
    listed.radio->writeMemory(0x0FE0, std::span<const uint8_t>(random.data() + 0x0FE0, 32));

    answers.answerYes = true;
    window->findChild<QAction*>("MenuFile_Restore")->trigger();
    ASSERT_EQ(answers.questions.size(), 1) << answers.questions.join(" / ").toStdString();
    EXPECT_TRUE(answers.questions[0].startsWith("Write this backup back into the radio now? The radio's configuration "
                                                "and channels are replaced by the bytes read from radio 00000001 "
                                                "(K3N [136 - 174 MHz]) on "))
        << answers.questions[0].toStdString();
    EXPECT_EQ(answers.texts, QStringList{"SUCCESS"});
    const MemoryImage held = listed.radio->memory();
    for (unsigned a = 0; a < kMemoryImageSize; ++a) {
        if (a < 0x06A6 || (a >= 0x1000 && a < 0x1800)) {
            ASSERT_EQ(held[a], random[a]) << a;
        }
    }
}

TEST_F(MainWindowSession, ASuccessfulReadIsOneStepThatUndoTakesBack)
{
    ListedRadio listed(Options(2));
    if (!listed.choosable())
        GTEST_SKIP() << "the virtual radio is beyond COM9 here";
    settings = AppSettings{.Port = listed.number, .Language = 0, .AutoSeachPort = false};
    const RadioRecord before = data.record;
    window->MenuEdit_ReadClick();
    ASSERT_EQ(answers.texts, QStringList{"SUCCESS"});
    ASSERT_NE(data.record, before);
    const RadioRecord read = data.record;
    QAction* undo = window->findChild<QAction*>("EditUndoItem");
    EXPECT_EQ(undo->text(), "&Undo Read from radio");

    undo->trigger();
    EXPECT_EQ(data.record, before);
    EXPECT_EQ(data.band_limits, (BandLimits{136000000, 174000000}));
    window->findChild<QAction*>("EditRedoItem")->trigger();
    EXPECT_EQ(data.record, read);
}

TEST_F(MainWindowSession, PortChosenInTheDialogCarriesTheNextReadWhichFailsWithoutChange)
{
    ListedRadio listed(Options({}, {RadioFault::Silent, 0}));
    if (!listed.choosable())
        GTEST_SKIP() << "the virtual radio is beyond COM9 here";

    // Automatic search off, the radio's port chosen, OK.
    answers.choosePort = [&](TCommunicationPort& dlg) {
        QTest::mouseClick(dlg.cAutoSeachPort, Qt::LeftButton);
        QTest::mouseClick(dlg.rbCOM[listed.number - 1], Qt::LeftButton);
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    };
    window->MenuPortClick();
    EXPECT_FALSE(settings.AutoSeachPort);
    EXPECT_EQ(settings.Port, listed.number);

    const RadioRecord before = data.record;
    const int refreshes = probe->refreshCount;
    window->MenuEdit_ReadClick();
    EXPECT_EQ(answers.texts, QStringList{"Communication False"});
    EXPECT_EQ(data.record, before);
    EXPECT_EQ(probe->refreshCount, refreshes);
    // Only greetings, and they went to the chosen port.
    const auto frames = listed.radio->frames();
    EXPECT_FALSE(frames.empty());
    for (const ReceivedFrame& f : frames)
        EXPECT_EQ(f.command, link::Command::Greeting);
}

}   // namespace
}   // namespace k3n
