// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Compare with radio and the changes shown before a write, against a
// virtual radio on a pseudo-terminal: what they list, and that the open
// configuration and the radio are left alone unless the user says write.
#include "app/changes_window.h"
#include "app/compare_window.h"
#include "app/main_window.h"
#include "app/program_window.h"
#include "app/settings_file.h"
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include "support/test_support.h"
#include "support/virtual_radio_memory.h"
#include "text/app_lang.h"
#include "virtualradio/emulated_radio.h"
#include "widgets/message_windows.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <random>

namespace k3n {
namespace {

using namespace std::chrono_literals;

// Answers the modal windows: notices with OK, the programming window with Start,
// the question about writing a configuration with errors with Yes, the changes
// with Write or Stop as 'writeChanges' says, or not at all (keeping what they listed).
class ModalAnswers {
public:
    ModalAnswers()
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* notice = qobject_cast<TUserWarnDlg*>(modal)) {
                notices << notice->WarnDlgText->text();
                notice->OKBtn->click();
            } else if (auto* program = qobject_cast<TProgramDialog*>(modal)) {
                if (programTitles.isEmpty() || programTitles.constLast() != program->windowTitle())
                    programTitles << program->windowTitle();
                if (program->ProgramStart->isEnabled())
                    QTest::mouseClick(program->ProgramStart, Qt::LeftButton);
            } else if (auto* ask = qobject_cast<TMyWarnDlg_3*>(modal)) {
                ask->OKBtn->click();
            } else if (auto* changes = qobject_cast<ChangesWindow*>(modal)) {
                question = changes->sQuestion->text();
                listed = changes->wDifferences->differences();
                framesWhenAsked = framesNow ? framesNow() : 0;
                if (whileAsked)
                    std::exchange(whileAsked, nullptr)();
                if (writeChanges)
                    (*writeChanges ? changes->bWrite : changes->bStop)->click();
            } else if (auto* other = qobject_cast<QDialog*>(modal)) {
                other->reject();
            }
        });
        poll_.start(5);
    }
    QStringList notices;
    QStringList programTitles;
    std::optional<bool> writeChanges = true;
    QString question;
    std::vector<ConfigurationDifference> listed;
    std::function<std::size_t()> framesNow;
    std::size_t framesWhenAsked = 0;
    std::function<void()> whileAsked;   // once, while the changes are shown

private:
    QTimer poll_;
};

// An emulated radio of band 0 among the machine's ports, chosen by number in the
// settings; the windows' sessions reach it on the simulated clock.
struct RadioOnAPort {
    RadioOnAPort()
    {
        VirtualRadioOptions options;
        options.band = 0;
        options.serial_number = {'5', '5', '1', '2', '0', '0', '0', '0'};
        radio = std::make_unique<EmulatedRadio>(options);
        HalvexComm32::TCommSerialPortInfo::AddExtraPort("virtual radio", radio->devicePath());
        for (const auto& p : HalvexComm32::TCommSerialPortInfo().Ports())
            if (p.devicePath == radio->devicePath())
                number = HalvexComm32::TCommSerialPortInfo::PortNo(p.name);
    }
    ~RadioOnAPort() { HalvexComm32::TCommSerialPortInfo::RemoveExtraPort(radio->devicePath()); }
    EmulatedSessions sessions;
    std::unique_ptr<EmulatedRadio> radio;
    int number = 0;
};

// A configuration of band 0 whose every byte was drawn at random, with frequencies
// the band takes: what the radio keeps of it differs from it in many bytes.
RadioData RandomConfiguration(unsigned seed)
{
    RadioData data;
    std::mt19937 rng(seed);
    for (uint8_t& b : data.record.bytes())
        b = uint8_t(rng());
    data.record.set(rec::freq_band, 0);
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        data.record.set(rec::ch::rx_freq(n), 136000000 + 12500 * (rng() % 3000));
        data.record.set(rec::ch::tx_freq(n), 136000000 + 12500 * (rng() % 3000));
    }
    data.SelectBandLimits();
    data.radio_serial_number = {'9', '9', '0', '0', '0', '0', '0', '1'};
    data.last_program_time = {2020, 5, 6, 7, 8};
    return data;
}

class RadioComparison : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplyLanguageSetting(0);
        if (radio.number < 1 || radio.number > 9)
            GTEST_SKIP() << "the virtual radio is beyond COM9 here";
        settings = AppSettings{.Port = radio.number, .Language = 0, .AutoSeachPort = false};
        data = RandomConfiguration(7);
        // The radio holds the open configuration but for three values.
        RadioData inRadio = data;
        inRadio.record.set(rec::tot, uint16_t(data.record.get(rec::tot) ^ 0x01));
        inRadio.record.set(rec::ch::rx_freq(12), 146520000);
        inRadio.record.set(rec::ch::tx_freq(12), 147120000);
        test::HoldConfiguration(*radio.radio, inRadio);
        answers.framesNow = [this] { return test::WriteFrameCount(*radio.radio); };
        form = std::make_unique<TMainForm>(data, settings);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    QStringList listedItems(const std::vector<ConfigurationDifference>& differences) const
    {
        QStringList items;
        for (const ConfigurationDifference& d : differences)
            items << d.item;
        return items;
    }

    RadioOnAPort radio;
    AppSettings settings;
    RadioData data;
    std::unique_ptr<TMainForm> form;
    ModalAnswers answers;
};

TEST_F(RadioComparison, ListsExactlyWhatDiffersAndLeavesTheOpenConfigurationAlone)
{
    const RadioData before = data;
    const QString undoBefore = form->findChild<QAction*>("EditUndoItem")->text();
    QAction* item = form->findChild<QAction*>("MenuEdit_CompareWithRadio");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text(), "C&ompare with radio\u2026");
    // It follows Check configuration in the Edit menu.
    const QList<QAction*> editItems = form->findChild<QMenu*>("Edit1")->actions();
    EXPECT_EQ(editItems.indexOf(item), editItems.indexOf(form->findChild<QAction*>("MenuEdit_Check")) + 1);

    item->trigger();
    // The read runs in a window named for the comparison, and the comparison itself is its success.
    EXPECT_EQ(answers.programTitles, QStringList{"Compare with radio"});
    EXPECT_TRUE(answers.notices.isEmpty()) << answers.notices.join('|').toStdString();
    auto* window = form->findChild<CompareWindow*>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Compare with the radio (serial number 55120000)");
    EXPECT_EQ(window->tvDifferences->headerItem()->text(3), "Radio");
    // Only the three values, though most of the open configuration's bytes never reach a radio.
    EXPECT_EQ(listedItems(window->differences()),
              (QStringList{"Channel 12 · RX Freq.", "Channel 12 · TX Freq.", "General Settings · TOT Time (s)"}))
        << window->differences().size();
    EXPECT_EQ(window->tvDifferences->topLevelItemCount(), 3);

    EXPECT_EQ(data.record, before.record);
    EXPECT_EQ(data.band_limits, before.band_limits);
    EXPECT_EQ(data.radio_serial_number, before.radio_serial_number);
    EXPECT_EQ(data.last_program_time, before.last_program_time);
    EXPECT_EQ(form->findChild<QAction*>("EditUndoItem")->text(), undoBefore);   // no step of its own
    EXPECT_EQ(test::WriteFrameCount(*radio.radio), 0u);
}

TEST_F(RadioComparison, AFailedReadSaysWhyAndShowsNoComparison)
{
    radio.radio->SetFault({RadioFault::Silent, 0});
    const RadioRecord before = data.record;
    form->findChild<QAction*>("MenuEdit_CompareWithRadio")->trigger();
    EXPECT_EQ(answers.notices, QStringList{"Communication False"});
    EXPECT_EQ(form->findChild<CompareWindow*>(), nullptr);
    EXPECT_EQ(data.record, before);
}

TEST_F(RadioComparison, ShowChangesStoppedThereSendsNoWriteFrame)
{
    settings.ShowChangesBeforeWrite = true;
    answers.writeChanges = false;
    const MemoryImage held = radio.radio->memory();
    form->MenuEdit_WriteClick();
    EXPECT_EQ(answers.question, "3 differences between the radio and this configuration. Write it?");
    EXPECT_EQ(listedItems(answers.listed),
              (QStringList{"Channel 12 · RX Freq.", "Channel 12 · TX Freq.", "General Settings · TOT Time (s)"}));
    EXPECT_EQ(answers.notices, QStringList{"Stopped before writing; nothing was written"});
    EXPECT_EQ(test::WriteFrameCount(*radio.radio), 0u);
    EXPECT_EQ(radio.radio->memory(), held);
}

TEST_F(RadioComparison, AnotherRadioOnTheCableWhileTheChangesAreShownGetsNothingWritten)
{
    settings.ShowChangesBeforeWrite = true;
    answers.whileAsked = [&] {
        const uint8_t adjustment[] = {0x42, 0x43};   // the serial number alone may not tell radios apart
        radio.radio->writeMemory(0x0FF0, adjustment);
    };
    form->MenuEdit_WriteClick();
    EXPECT_EQ(answers.listed.size(), 3u);
    EXPECT_EQ(answers.notices, QStringList{"A different radio answered after the changes were shown (serial number "
                                           "55120000 backed up, 55120000 now); nothing was written"});
    EXPECT_EQ(test::WriteFrameCount(*radio.radio), 0u);
}

TEST_F(RadioComparison, ShowChangesThenWriteWritesAsBefore)
{
    settings.ShowChangesBeforeWrite = true;
    form->MenuEdit_WriteClick();
    EXPECT_EQ(answers.listed.size(), 3u);
    EXPECT_EQ(answers.framesWhenAsked, 0u);   // asked before the first write frame
    EXPECT_EQ(answers.notices, QStringList{"SUCCESS"});   // written and read back the same
    EXPECT_GT(test::WriteFrameCount(*radio.radio), 0u);
    // Backup, the identity read after the question, write, read-back.
    ASSERT_TRUE(radio.radio->WaitFor([](const RadioEmulator& e) { return e.endFrames() == 4; }, 5000ms));
    const MemoryImage expected = GetDataForWrite(data, ProgramTime{});
    const MemoryImage held = radio.radio->memory();
    for (std::size_t i = 0; i < kMemoryImageSize; ++i) {
        if (ImageBytesFromRecord()[i]) {
            ASSERT_EQ(held[i], expected[i]) << "at " << i;
        }
    }

    // Now the radio holds it: a second look lists nothing.
    form->findChild<QAction*>("MenuEdit_CompareWithRadio")->trigger();
    auto* window = form->findChild<CompareWindow*>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->differences().empty());
    EXPECT_EQ(window->sSummary->text(), "The configurations are the same.");
}

TEST_F(RadioComparison, ShowChangesIsOffByDefaultRememberedAndNeedsTheBackup)
{
    EXPECT_FALSE(AppSettings{}.ShowChangesBeforeWrite);
    {
        TProgramDialog dlg(data, settings, PortPlan{false, {"COM1"}});
        ASSERT_TRUE(dlg.cShowChanges);
        EXPECT_EQ(dlg.cShowChanges->text(), "Show changes before writing");
        EXPECT_FALSE(dlg.cShowChanges->isChecked());
        dlg.cShowChanges->click();
        EXPECT_TRUE(settings.ShowChangesBeforeWrite);
        dlg.cBackup->click();   // no backup, nothing to compare with
        EXPECT_FALSE(dlg.cShowChanges->isEnabled());
    }
    TProgramDialog again(data, settings, PortPlan{false, {"COM1"}});
    EXPECT_TRUE(again.cShowChanges->isChecked());
    EXPECT_FALSE(again.cShowChanges->isEnabled());

    // Kept in config.ini between runs.
    test::ScratchDir dir;
    const QString path = dir.file("config.ini");
    ASSERT_EQ(SaveSettings(settings, path), std::nullopt);
    AppSettings loaded;
    LoadOrCreateSettings(loaded, {}, path);
    EXPECT_TRUE(loaded.ShowChangesBeforeWrite);
    settings.ShowChangesBeforeWrite = false;
    ASSERT_EQ(SaveSettings(settings, path), std::nullopt);
    LoadOrCreateSettings(loaded, {}, path);
    EXPECT_FALSE(loaded.ShowChangesBeforeWrite);
}

TEST_F(RadioComparison, ClosingTheWindowWhileTheChangesAreShownStopsTheWrite)
{
    settings.ShowChangesBeforeWrite = true;
    TProgramDialog dlg(data, settings, PortPlan{false, {radio.radio->devicePath()}});
    // Instead of answering, the programming window is closed under the question.
    answers.writeChanges = std::nullopt;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (qobject_cast<ChangesWindow*>(QApplication::activeModalWidget()))
            dlg.reject();
    });
    closer.start(1);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.ProgramStart, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); }, 15000));
    EXPECT_EQ(dlg.safeWrite()->result().outcome, SafeWriteOutcome::StoppedBeforeWrite);
    EXPECT_EQ(test::WriteFrameCount(*radio.radio), 0u);
}

}   // namespace
}   // namespace k3n
