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
#include "support/main_window_fixture.h"
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
class CompareAnswers {
public:
    CompareAnswers()
    {
        answers.always<TUserWarnDlg>([this](TUserWarnDlg& notice) {
            notices << notice.WarnDlgText->text();
            notice.OKBtn->click();
        });
        answers.always<TProgramDialog>([this](TProgramDialog& program) {
            if (programTitles.isEmpty() || programTitles.constLast() != program.windowTitle())
                programTitles << program.windowTitle();
            test::StartWhenReady(program);
        });
        answers.always<TMyWarnDlg_3>([](TMyWarnDlg_3& ask) { ask.OKBtn->click(); });
        answers.always<ChangesWindow>([this](ChangesWindow& changes) {
            question = changes.sQuestion->text();
            listed = changes.wDifferences->differences();
            framesWhenAsked = framesNow ? framesNow() : 0;
            if (whileAsked)
                std::exchange(whileAsked, nullptr)();
            if (writeChanges)
                (*writeChanges ? changes.bWrite : changes.bStop)->click();
        });
        answers.closeOthers();
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
    test::ModalAnswers answers;
};

// An emulated radio of band 0 and serial number 55120000 among the machine's
// ports; the windows' sessions reach it on the simulated clock.
VirtualRadioOptions RadioOfBandZero()
{
    VirtualRadioOptions options;
    options.band = 0;
    options.serial_number = {'5', '5', '1', '2', '0', '0', '0', '0'};
    return options;
}

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

class RadioComparison : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        ApplyLanguageSetting(0);
        if (!chooseRadio(radio))
            GTEST_SKIP() << "the virtual radio is beyond COM9 here";
        data = RandomConfiguration(7);
        // The radio holds the open configuration but for three values.
        RadioData inRadio = data;
        inRadio.record.set(rec::tot, uint16_t(data.record.get(rec::tot) ^ 0x01));
        inRadio.record.set(rec::ch::rx_freq(12), 146520000);
        inRadio.record.set(rec::ch::tx_freq(12), 147120000);
        test::HoldConfiguration(*radio.radio, inRadio);
        answers.framesNow = [this] { return test::WriteFrameCount(*radio.radio); };
        openWindow();
    }

    QStringList listedItems(const std::vector<ConfigurationDifference>& differences) const
    {
        QStringList items;
        for (const ConfigurationDifference& d : differences)
            items << d.item;
        return items;
    }

    test::ListedEmulatedRadio radio{RadioOfBandZero()};
    CompareAnswers answers;
};

TEST_F(RadioComparison, ListsExactlyWhatDiffersAndLeavesTheOpenConfigurationAlone)
{
    const RadioData before = data;
    const QString undoBefore = window->findChild<QAction*>("EditUndoItem")->text();
    QAction* item = window->findChild<QAction*>("MenuEdit_CompareWithRadio");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text(), "C&ompare with radio\u2026");
    // It follows Check configuration in the Edit menu.
    const QList<QAction*> editItems = window->findChild<QMenu*>("Edit1")->actions();
    EXPECT_EQ(editItems.indexOf(item), editItems.indexOf(window->findChild<QAction*>("MenuEdit_Check")) + 1);

    item->trigger();
    // The read runs in a window named for the comparison, and the comparison itself is its success.
    EXPECT_EQ(answers.programTitles, QStringList{"Compare with radio"});
    EXPECT_TRUE(answers.notices.isEmpty()) << answers.notices.join('|').toStdString();
    auto* compare = window->findChild<CompareWindow*>();
    ASSERT_TRUE(compare);
    EXPECT_TRUE(compare->isVisible());
    EXPECT_EQ(compare->windowTitle(), "Compare with the radio (serial number 55120000)");
    EXPECT_EQ(compare->tvDifferences->headerItem()->text(3), "Radio");
    // Only the three values, though most of the open configuration's bytes never reach a radio.
    EXPECT_EQ(listedItems(compare->differences()),
              (QStringList{"Channel 12 · RX Freq.", "Channel 12 · TX Freq.", "General Settings · TOT Time (s)"}))
        << compare->differences().size();
    EXPECT_EQ(compare->tvDifferences->topLevelItemCount(), 3);

    EXPECT_EQ(data.record, before.record);
    EXPECT_EQ(data.band_limits, before.band_limits);
    EXPECT_EQ(data.radio_serial_number, before.radio_serial_number);
    EXPECT_EQ(data.last_program_time, before.last_program_time);
    EXPECT_EQ(window->findChild<QAction*>("EditUndoItem")->text(), undoBefore);   // no step of its own
    EXPECT_EQ(test::WriteFrameCount(*radio.radio), 0u);
}

TEST_F(RadioComparison, AFailedReadSaysWhyAndShowsNoComparison)
{
    radio.radio->SetFault({RadioFault::Silent, 0});
    const RadioRecord before = data.record;
    window->findChild<QAction*>("MenuEdit_CompareWithRadio")->trigger();
    EXPECT_EQ(answers.notices, QStringList{"Communication False"});
    EXPECT_EQ(window->findChild<CompareWindow*>(), nullptr);
    EXPECT_EQ(data.record, before);
}

TEST_F(RadioComparison, ShowChangesStoppedThereSendsNoWriteFrame)
{
    settings.ShowChangesBeforeWrite = true;
    answers.writeChanges = false;
    const MemoryImage held = radio.radio->memory();
    window->MenuEdit_WriteClick();
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
    window->MenuEdit_WriteClick();
    EXPECT_EQ(answers.listed.size(), 3u);
    EXPECT_EQ(answers.notices,
              QStringList{"A different radio answered after the changes were shown (serial number "
                          "55120000 backed up, 55120000 now); nothing was written"});
    EXPECT_EQ(test::WriteFrameCount(*radio.radio), 0u);
}

TEST_F(RadioComparison, ShowChangesThenWriteWritesAsBefore)
{
    settings.ShowChangesBeforeWrite = true;
    window->MenuEdit_WriteClick();
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
    window->findChild<QAction*>("MenuEdit_CompareWithRadio")->trigger();
    auto* compare = window->findChild<CompareWindow*>();
    ASSERT_TRUE(compare);
    EXPECT_TRUE(compare->differences().empty());
    EXPECT_EQ(compare->sSummary->text(), "The configurations are the same.");
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
