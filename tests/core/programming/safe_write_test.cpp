// SPDX-License-Identifier: GPL-3.0-or-later
// A write with its backup before and read-back after, against an emulated radio
// on a simulated clock: every frame as on a line, in milliseconds.
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/safe_write.h"
#include "programming/transfer_plan.h"
#include "programming/write_log.h"
#include "programming/write_verify.h"
#include "support/test_support.h"
#include "text/app_lang.h"
#include "virtualradio/emulated_radio.h"
#include "virtualradio/virtual_radio.h"
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

namespace k3n {
namespace {

const ProgramTime kTime{2025, 7, 8, 9, 10};
const std::array<uint8_t, 8> kSerial{'2', '0', '2', '5', '0', '0', '4', '2'};

// A band-1 configuration with some channels in use and settings off the defaults.
RadioData Sample(uint32_t offset, uint16_t tot)
{
    RadioData data;
    data.ResetForBand(1);
    for (int n = 1; n <= 20; ++n) {
        data.record.set(rec::ch::in_use(n), 1);
        data.record.set(rec::ch::rx_freq(n), 150000000 + offset + 25000u * n);
        data.record.set(rec::ch::tx_freq(n), 150000000 + offset + 25000u * n);
    }
    data.record.set(rec::tot, tot);
    return data;
}

VirtualRadioOptions RadioOptions(int band, FaultPlan fault = {})
{
    VirtualRadioOptions options;
    options.band = band;
    options.fault = fault;
    return options;
}

std::size_t Count(const std::vector<ReceivedFrame>& frames, link::Command command)
{
    return std::size_t(
        std::count_if(frames.begin(), frames.end(), [&](const ReceivedFrame& f) { return f.command == command; }));
}

class SafeWriteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplyLanguageSetting(0);
        VirtualRadioOptions options;
        options.band = 1;
        options.serial_number = kSerial;
        radio = std::make_unique<EmulatedRadio>(options);
        // The radio holds an earlier configuration, written the day before.
        MemoryImage memory = radio->memory();
        const MemoryImage earlierImage = GetDataForWrite(earlier, {2025, 7, 7, 8, 0});
        std::copy(earlierImage.begin(), earlierImage.begin() + radio_addr::kConfigEnd, memory.begin());
        std::copy(earlierImage.begin() + radio_addr::kChannels, earlierImage.begin() + radio_addr::kChannelsEnd,
                  memory.begin() + radio_addr::kChannels);
        radio->setMemory(memory);
        options_.backup_folder = dir.file("backups");
        options_.make_link = EmulatedLinkMaker();   // the simulated clock: a whole chain in milliseconds
    }

    PortPlan Port() const { return {false, {radio->devicePath()}}; }
    QStringList Backups() const { return QDir(options_.backup_folder).entryList(QDir::Files); }

    test::ScratchDir dir;
    RadioData earlier = Sample(0, 30);
    RadioData next = Sample(500000, 60);
    std::unique_ptr<EmulatedRadio> radio;
    SafeWriteOptions options_;
};

TEST_F(SafeWriteTest, BacksUpWritesAndVerifiesWithoutTouchingTheConfiguration)
{
    next.radio_serial_number = {'X', 0, 0, 0, 0, 0, 0, 0};
    next.last_program_time = {2000, 1, 1, 0, 0};
    const RadioData before = next;
    SafeWrite chain(next, kTime, Port(), options_);
    std::vector<SafeWritePhase> phases;
    int lastProgress = 0;
    bool progressFell = false;
    chain.Run([&](const RunnerStep&) {
        if (phases.empty() || phases.back() != chain.phase())
            phases.push_back(chain.phase());
        progressFell = progressFell || chain.progress() < lastProgress;
        lastProgress = chain.progress();
    });
    const SafeWriteResult& result = chain.result();
    ASSERT_EQ(result.outcome, SafeWriteOutcome::Written) << result.message.toStdString();
    EXPECT_EQ(result.message, "SUCCESS");
    EXPECT_TRUE(result.verified);
    EXPECT_EQ(
        phases,
        (std::vector{SafeWritePhase::Backup, SafeWritePhase::Write, SafeWritePhase::Verify, SafeWritePhase::Done}));
    EXPECT_FALSE(progressFell);
    EXPECT_EQ(chain.progress(), chain.progressMax());

    // The open configuration and its companion state are as they were.
    EXPECT_EQ(next.record, before.record);
    EXPECT_EQ(next.radio_serial_number, before.radio_serial_number);
    EXPECT_EQ(next.last_program_time, before.last_program_time);
    EXPECT_EQ(next.band_limits, before.band_limits);

    // The backup is the radio's previous configuration, named after its serial number.
    EXPECT_EQ(result.serial_number, "20250042");
    EXPECT_EQ(result.port, radio->devicePath());
    ASSERT_EQ(Backups().size(), 1);
    EXPECT_TRUE(QFileInfo(result.backup_path).fileName().startsWith("20250042_"));
    RadioData backup;
    ASSERT_EQ(LoadFseFile(result.backup_path, backup), std::nullopt);
    EXPECT_EQ(backup.record, earlier.record);

    // Three sessions, each closed with its end frame; the radio holds the new configuration.
    EXPECT_TRUE(radio->WaitFor([](const RadioEmulator& e) { return e.endFrames() == 3; }, std::chrono::seconds(5)));
    const auto frames = radio->frames();
    EXPECT_EQ(Count(frames, link::Command::Greeting), 3u);
    EXPECT_EQ(Count(frames, link::Command::End), 3u);
    EXPECT_EQ(Count(frames, link::Command::WriteMemory),
              TransferPlan(ConfigurationWriteRequest(next, kTime, true)).size());
    EXPECT_TRUE(CompareWrittenImage(GetDataForWrite(next, kTime), radio->memory()).empty());
}

TEST_F(SafeWriteTest, VerifyCatchesARadioThatAcknowledgesWithoutStoring)
{
    radio->SetFault({RadioFault::AckWithoutStoring, 0});
    SafeWrite chain(next, kTime, Port(), options_);
    EXPECT_EQ(chain.Run(), SafeWriteOutcome::VerifyFailed);
    const SafeWriteResult& result = chain.result();
    ASSERT_FALSE(result.differences.empty());
    // The first configuration byte that differs between the two is the time-out timer.
    EXPECT_EQ(result.differences.front().address, 0x0600);
    EXPECT_TRUE(result.message.startsWith("Written, but the radio does not hold what was sent: 0x0600 ("))
        << result.message.toStdString();
    EXPECT_TRUE(result.message.contains("(Date and time of programming) and ")) << result.message.toStdString();
    EXPECT_EQ(SafeWriteExitCode(result.outcome), 1);
}

TEST_F(SafeWriteTest, AFailedBackupReadStopsBeforeAnyWriteFrame)
{
    for (RadioFault fault : {RadioFault::WrongAnswer, RadioFault::HangUp}) {
        radio = std::make_unique<EmulatedRadio>(RadioOptions(1, {fault, 40}));
        SafeWrite chain(next, kTime, Port(), options_);
        EXPECT_EQ(chain.Run(), SafeWriteOutcome::BackupReadFailed);
        EXPECT_EQ(chain.result().ended_in, SafeWritePhase::Backup);
        EXPECT_TRUE(chain.result().message.startsWith("The radio could not be read, so nothing was written ("));
        EXPECT_EQ(Count(radio->frames(), link::Command::WriteMemory), 0u);
        EXPECT_TRUE(Backups().isEmpty());   // nothing of the partial read is kept
    }
}

TEST_F(SafeWriteTest, ABackupThatCannotBeSavedStopsBeforeAnyWriteFrame)
{
    test::WriteFileBytes(dir.file("file"), "x");
    options_.backup_folder = dir.file("file/backups");
    SafeWrite chain(next, kTime, Port(), options_);
    EXPECT_EQ(chain.Run(), SafeWriteOutcome::BackupNotSaved);
    EXPECT_EQ(chain.result().message,
              "The backup could not be saved in \"" + QDir::toNativeSeparators(options_.backup_folder)
                  + "\" (a part of the path is not a folder), so nothing was written");
    EXPECT_EQ(Count(radio->frames(), link::Command::WriteMemory), 0u);
}

TEST_F(SafeWriteTest, TheDecisionBeforeTheWriteSeesBothConfigurationsAndMayStopIt)
{
    RadioRecord seenBackup, seenToWrite;
    options_.before_write = [&](const RadioData& backup, const RadioData& toWrite) {
        seenBackup = backup.record;
        seenToWrite = toWrite.record;
        return false;
    };
    SafeWrite chain(next, kTime, Port(), options_);
    EXPECT_EQ(chain.Run(), SafeWriteOutcome::StoppedBeforeWrite);
    EXPECT_EQ(seenBackup, earlier.record);
    EXPECT_EQ(seenToWrite, next.record);
    EXPECT_EQ(Backups().size(), 1);
    EXPECT_EQ(Count(radio->frames(), link::Command::WriteMemory), 0u);
}

TEST_F(SafeWriteTest, CancelStopsEachPhaseAtOnce)
{
    struct Case {
        SafeWritePhase phase;
        SafeWriteOutcome outcome;
        const char* message;
    };
    for (const Case& c :
         {Case{SafeWritePhase::Backup, SafeWriteOutcome::Cancelled, "Cancelled; nothing was written"},
          Case{SafeWritePhase::Write, SafeWriteOutcome::Cancelled,
               "Cancelled during the write: the radio now holds only part of the new configuration"},
          Case{SafeWritePhase::Verify, SafeWriteOutcome::WrittenNotVerified, "Written, but not verified"}}) {
        radio = std::make_unique<EmulatedRadio>(RadioOptions(1));
        SafeWrite chain(next, kTime, Port(), options_);
        std::size_t framesAtCancel = 0;
        chain.Run([&](const RunnerStep&) {
            if (chain.phase() == c.phase && chain.session()->progress() >= 20 && framesAtCancel == 0) {
                framesAtCancel = radio->frames().size();
                chain.RequestCancel();
            }
        });
        EXPECT_EQ(chain.result().outcome, c.outcome);
        EXPECT_EQ(chain.result().ended_in, c.phase);
        EXPECT_EQ(chain.result().message, c.message);
        // At most the frame already in flight went out after the cancel, and no end frame.
        const auto frames = radio->frames();
        EXPECT_LE(frames.size(), framesAtCancel + 1);
        const std::size_t sessionsBefore = c.phase == SafeWritePhase::Backup ? 0
            : c.phase == SafeWritePhase::Write                               ? 1
                                                                             : 2;
        EXPECT_EQ(Count(frames, link::Command::End), sessionsBefore);
        const std::size_t writes = Count(frames, link::Command::WriteMemory);
        if (c.phase == SafeWritePhase::Backup) {
            EXPECT_EQ(writes, 0u);
        } else if (c.phase == SafeWritePhase::Write) {
            EXPECT_GT(writes, 0u);
            // The frame sent as the cancel came may not have reached the radio.
            EXPECT_GE(chain.result().frames_written, writes);
            EXPECT_LE(chain.result().frames_written, writes + 1);
        }
    }
}

TEST_F(SafeWriteTest, TheNextSessionWaitsForARadioBusyAfterTheEndFrame)
{
    // Five greetings unanswered: 1.5 s, longer than a single session waits.
    radio->SetFault({RadioFault::SlowRestart, 5});
    SafeWrite chain(next, kTime, Port(), options_);
    EXPECT_EQ(chain.Run(), SafeWriteOutcome::Written) << chain.result().message.toStdString();
    EXPECT_EQ(Count(radio->frames(), link::Command::Greeting), 1u + 6u + 6u);
}

TEST_F(SafeWriteTest, WithoutBackupAndVerifyItIsTheWriteSessionAlone)
{
    options_.backup = false;
    options_.verify = false;
    SafeWrite chain(next, kTime, Port(), options_);
    EXPECT_EQ(chain.progressMax(), kProgressMax);
    EXPECT_EQ(chain.Run(), SafeWriteOutcome::Written);
    EXPECT_TRUE(chain.result().backup_path.isEmpty());
    EXPECT_TRUE(Backups().isEmpty());

    const auto frames = radio->frames();
    const auto plan = TransferPlan(ConfigurationWriteRequest(next, kTime, true));
    ASSERT_EQ(frames.size(), 2 + plan.size() + 1);
    EXPECT_EQ(frames[0].command, link::Command::Greeting);
    EXPECT_EQ(frames[1].address, radio_addr::kBandCode);
    for (std::size_t i = 0; i < plan.size(); ++i)
        EXPECT_EQ(frames[2 + i].address, plan[i].address) << i;
    EXPECT_EQ(frames.back().command, link::Command::End);
}

TEST_F(SafeWriteTest, ARadioOfAnotherBandGetsNothingWritten)
{
    radio = std::make_unique<EmulatedRadio>(RadioOptions(2));
    SafeWrite chain(next, kTime, Port(), options_);
    EXPECT_EQ(chain.Run(), SafeWriteOutcome::WrongFreqBand);
    EXPECT_EQ(chain.result().message, "Wrong Freq Band");
    EXPECT_EQ(chain.result().frames_written, 0u);
    EXPECT_EQ(Count(radio->frames(), link::Command::WriteMemory), 0u);
}

// Another radio on the cable: the same (empty) serial number, other adjustment bytes.
void PutAnotherRadioOnTheCable(EmulatedRadio& radio)
{
    const uint8_t adjustment[] = {0x11, 0x22, 0x33};
    radio.writeMemory(0x0FF0, adjustment);
}

TEST_F(SafeWriteTest, ALinkRepointedDuringTheBackupCannotSendTheWriteElsewhere)
{
    VirtualRadioOptions otherOptions = RadioOptions(1);
    otherOptions.serial_number = {'9', '9', '9', '9', '9', '9', '9', '9'};
    EmulatedRadio other(otherOptions);
    const QString link = dir.file("cable");
    ASSERT_EQ(::symlink(QFile::encodeName(radio->devicePath()).constData(), QFile::encodeName(link).constData()), 0);

    options_.verify = false;
    SafeWrite chain(next, kTime, PortPlan{false, {link}}, options_);
    bool repointed = false;
    chain.Run([&](const RunnerStep&) {
        if (!repointed && chain.phase() == SafeWritePhase::Backup && chain.session()->progress() >= 20) {
            repointed = true;   // the by-id link now names the other radio's device
            ::unlink(QFile::encodeName(link).constData());
            ASSERT_EQ(::symlink(QFile::encodeName(other.devicePath()).constData(), QFile::encodeName(link).constData()),
                      0);
        }
        if (chain.phase() == SafeWritePhase::Write && Count(radio->frames(), link::Command::WriteMemory) > 0)
            chain.RequestCancel();   // the first write frame is enough to see where it went
    });
    ASSERT_TRUE(repointed);
    EXPECT_EQ(chain.result().outcome, SafeWriteOutcome::Cancelled);
    EXPECT_GT(Count(radio->frames(), link::Command::WriteMemory), 0u);
    EXPECT_TRUE(other.frames().empty());
    EXPECT_EQ(chain.result().port, link);
    EXPECT_EQ(chain.result().device, radio->devicePath());
    EXPECT_EQ(chain.result().serial_number, "20250042");
}

TEST_F(SafeWriteTest, AReadBackFromAnotherRadioSaysSoAndMarksTheBackupUnsure)
{
    // Swapped while the write ran: the identity block read back is not the backup's.
    SafeWrite chain(next, kTime, Port(), options_);
    bool swapped = false;
    chain.Run([&](const RunnerStep&) {
        if (!swapped && chain.phase() == SafeWritePhase::Verify) {
            swapped = true;
            PutAnotherRadioOnTheCable(*radio);
        }
    });
    const SafeWriteResult& result = chain.result();
    EXPECT_EQ(result.outcome, SafeWriteOutcome::DifferentRadio);
    EXPECT_EQ(SafeWriteExitCode(result.outcome), 3);
    EXPECT_FALSE(result.verified);
    EXPECT_TRUE(result.message.startsWith("A different radio answered the read-back")) << result.message.toStdString();
    EXPECT_TRUE(result.backup_unsure);
    EXPECT_TRUE(result.message.contains("marked unsure")) << result.message.toStdString();
    const std::vector<BackupEntry> backups = ListBackups(options_.backup_folder);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].path, result.backup_path);   // kept under its name
    EXPECT_TRUE(backups[0].unsure);
    EXPECT_EQ(backups[0].unsure_reason, "0x0FF0, 0x0FF1, 0x0FF2");
}

TEST_F(SafeWriteTest, AfterTheQuestionBeforeTheWriteTheRadioIsCheckedAgain)
{
    options_.recheck_after_before_write = true;
    {   // The same radio: the write goes on after one read of the identity block.
        options_.before_write = [](const RadioData&, const RadioData&) { return true; };
        SafeWrite chain(next, kTime, Port(), options_);
        chain.Run([&](const RunnerStep&) {
            if (chain.phase() == SafeWritePhase::Write && Count(radio->frames(), link::Command::WriteMemory) > 0)
                chain.RequestCancel();
        });
        EXPECT_EQ(chain.result().outcome, SafeWriteOutcome::Cancelled);
        const auto frames = radio->frames();
        const auto backupEnd = std::find_if(frames.begin(), frames.end(),
                                            [](const ReceivedFrame& f) { return f.command == link::Command::End; });
        ASSERT_LE(backupEnd + 4, frames.end());
        EXPECT_EQ(backupEnd[1].command, link::Command::Greeting);
        EXPECT_EQ(backupEnd[2], (ReceivedFrame{link::Command::ReadMemory, 0x0FE0, 32, {}}));
        EXPECT_EQ(backupEnd[3].command, link::Command::End);
        EXPECT_EQ(backupEnd[4].command, link::Command::Greeting);
    }
    {   // Another radio while the user read the changes: nothing is written.
        radio = std::make_unique<EmulatedRadio>(RadioOptions(1));
        options_.before_write = [&](const RadioData&, const RadioData&) {
            PutAnotherRadioOnTheCable(*radio);
            return true;
        };
        SafeWrite chain(next, kTime, Port(), options_);
        EXPECT_EQ(chain.Run(), SafeWriteOutcome::DifferentRadioBeforeWrite);
        EXPECT_EQ(chain.result().ended_in, SafeWritePhase::Recheck);
        EXPECT_EQ(SafeWriteExitCode(chain.result().outcome), 1);
        EXPECT_TRUE(chain.result().message.startsWith("A different radio answered after the changes were shown"));
        EXPECT_EQ(Count(radio->frames(), link::Command::WriteMemory), 0u);
    }
}

TEST_F(SafeWriteTest, ARadioGoneBetweenTheBackupAndTheWriteEndsTheChainWithoutOpeningAnything)
{
    // The greeting, 119 read requests: then the device goes away at the write's greeting.
    radio = std::make_unique<EmulatedRadio>(RadioOptions(1, {RadioFault::HangUp, 120}));
    std::vector<QString> notices;
    SafeWrite chain(next, kTime, Port(), options_);
    chain.Run([&](const RunnerStep& step) { notices.insert(notices.end(), step.notices.begin(), step.notices.end()); });
    EXPECT_EQ(chain.result().outcome, SafeWriteOutcome::WriteFailed);
    EXPECT_EQ(chain.result().ended_in, SafeWritePhase::Write);
    EXPECT_EQ(chain.result().failure, SessionFailure::LinkLost);
    EXPECT_FALSE(chain.result().backup_path.isEmpty());
    EXPECT_TRUE(notices.empty());   // no port was opened again by its name, so none failed to open
    EXPECT_EQ(Count(radio->frames(), link::Command::WriteMemory), 0u);
}

// The radio as a backup found it: a backup alone, the write stopped before it began.
QString BackUpOnly(const SafeWriteOptions& options, const PortPlan& port, const RadioData& any)
{
    SafeWriteOptions backupOnly = options;
    backupOnly.before_write = [](const RadioData&, const RadioData&) { return false; };
    SafeWrite chain(any, kTime, port, backupOnly);
    EXPECT_EQ(chain.Run(), SafeWriteOutcome::StoppedBeforeWrite);
    return chain.result().backup_path;
}

TEST_F(SafeWriteTest, AnErasedRadioComesBackExactlyFromItsBackup)
{
    // 0xFF everywhere but the band code: 750 settings and 1,152 channel bytes no record can hold.
    MemoryImage erased;
    erased.fill(0xFF);
    erased[radio_addr::kBandCode] = BandRadioCode(1);
    radio->setMemory(erased);
    const QString backup = BackUpOnly(options_, Port(), next);
    const std::optional<MemoryImage> read = ReadBackupRadioBytes(backup);
    ASSERT_TRUE(read);
    radio->setMemory(GetDataForWrite(next, kTime));   // then a configuration was written into it
    radio->writeMemory(radio_addr::kSerialNumber, std::span<const uint8_t>(erased.data() + 0x0FE0, 32));

    SafeWrite restore(ExactRestore{*read}, Port(), options_);
    const std::size_t framesBefore = radio->frames().size();
    EXPECT_EQ(restore.Run(), SafeWriteOutcome::Written) << restore.result().message.toStdString();
    EXPECT_TRUE(restore.result().verified);
    const MemoryImage held = radio->memory();
    for (unsigned a = 0; a < kMemoryImageSize; ++a) {
        if (a < radio_addr::kConfigEnd || (a >= radio_addr::kChannels && a < radio_addr::kChannelsEnd)) {
            ASSERT_EQ(held[a], 0xFF) << a;
        }
    }
    // The write plan as a configuration write sends it, the radio-state frame as always 0.
    const auto frames = radio->frames();
    std::vector<ReceivedFrame> writes;
    std::copy_if(frames.begin() + std::ptrdiff_t(framesBefore), frames.end(), std::back_inserter(writes),
                 [](const ReceivedFrame& f) { return f.command == link::Command::WriteMemory; });
    const auto plan = TransferPlan(ConfigurationWriteRequest(next, kTime, true));
    ASSERT_EQ(writes.size(), plan.size());
    for (std::size_t i = 0; i < plan.size(); ++i)
        EXPECT_EQ(writes[i].address, plan[i].address) << i;
    EXPECT_EQ(writes[54].data, std::vector<uint8_t>{0x00});
    // The restore's own backup was taken first, and is exact too.
    EXPECT_NE(restore.result().backup_path, backup);
    EXPECT_TRUE(ReadBackupRadioBytes(restore.result().backup_path));
}

TEST_F(SafeWriteTest, AnExactRestoreRefusesAnotherRadioBeforeWriting)
{
    const std::optional<MemoryImage> read = ReadBackupRadioBytes(BackUpOnly(options_, Port(), next));
    ASSERT_TRUE(read);
    radio = std::make_unique<EmulatedRadio>(RadioOptions(1));   // serial number 00000001, not 20250042
    options_.same_radio_only = true;
    SafeWrite restore(ExactRestore{*read}, Port(), options_);
    EXPECT_EQ(restore.Run(), SafeWriteOutcome::OtherRadioRefused);
    EXPECT_EQ(restore.result().message,
              "The backup is of another radio (serial number 20250042, K3N [150 - 174 MHz]); "
              "this radio has serial number 00000001, K3N [150 - 174 MHz]. Nothing was written");
    EXPECT_EQ(SafeWriteExitCode(restore.result().outcome), 1);
    EXPECT_EQ(Count(radio->frames(), link::Command::WriteMemory), 0u);
}

// The radio's configuration with channel 5's receive frequency changed: three frames
// (the programming time, the radio state, channel 5's block).
class ChangedOnlyWriteTest : public SafeWriteTest {
protected:
    void SetUp() override
    {
        SafeWriteTest::SetUp();
        options_.changed_only = true;
        changed.record.set(rec::ch::rx_freq(5), 150512500);
    }
    // The write frames of each write session, in turn (the backup and read-backs write none).
    std::vector<std::vector<uint16_t>> WritesPerSession() const
    {
        std::vector<std::vector<uint16_t>> sessions;
        for (const ReceivedFrame& f : radio->frames()) {
            if (f.command == link::Command::Greeting)
                sessions.emplace_back();
            else if (f.command == link::Command::WriteMemory)
                sessions.back().push_back(f.address);
        }
        return sessions;
    }
    // The programming log's line of the write says what went out.
    QString LoggedMessage(const SafeWriteResult& result) const
    {
        return WriteLogEntry(QDateTime::currentDateTime(), {"COM1", {}, "x.fse", "x"}, result).message;
    }

    RadioData changed = earlier;
};

TEST_F(ChangedOnlyWriteTest, ARadioThatDropsTheChangedBlocksGetsTheFullWriteReadBackAgain)
{
    radio->SetFault({RadioFault::AckWithoutStoring, 0, 2});   // in the write session only
    SafeWrite chain(changed, kTime, Port(), options_);
    ASSERT_EQ(chain.Run(), SafeWriteOutcome::Written) << chain.result().message.toStdString();
    const SafeWriteResult& result = chain.result();
    EXPECT_TRUE(result.verified);
    ASSERT_TRUE(result.changed_only);
    EXPECT_EQ(result.changed_only->frames, 3u);
    ASSERT_TRUE(result.changed_only->fell_back());
    // Day, hour and minute of the programming time, then the bytes of channel 5's frequency that differ.
    EXPECT_EQ(result.changed_only->read_back_differences.size(), 5u);
    EXPECT_EQ(result.frames_written, 119u);
    EXPECT_EQ(
        result.message.toStdString(),
        "SUCCESS; changed only: 3 of 119 write frames; the read-back found 0x06A3 (Date and time of programming), "
        "0x06A4 (Date and time of programming), 0x06A5 (Date and time of programming) and 2 more different, so "
        "the whole configuration was written (119 frames) and read back again");
    EXPECT_EQ(LoggedMessage(result), result.message);

    ASSERT_TRUE(radio->WaitFor([](const RadioEmulator& e) { return e.endFrames() == 5; }, std::chrono::seconds(5)));
    const auto sessions = WritesPerSession();
    ASSERT_EQ(sessions.size(), 5u);   // backup, changed-only write, read-back, full write, read-back
    EXPECT_EQ(sessions[1], (std::vector<uint16_t>{0x06A0, 0x0F28, 0x1040}));
    EXPECT_EQ(sessions[3].size(), 119u);
    // The backup and both read-backs are complete reads; each write asks for the band code.
    EXPECT_EQ(Count(radio->frames(), link::Command::ReadMemory),
              2 + 3 * TransferPlan(ConfigurationReadRequest()).size());
    EXPECT_TRUE(CompareWrittenImage(GetDataForWrite(changed, kTime), radio->memory()).empty());
}

TEST_F(ChangedOnlyWriteTest, ARadioChangedBetweenTheBackupAndTheWriteIsCaughtByTheReadBack)
{
    // Channel 3 as the write leaves it is what the backup read; by the write the radio holds another frequency.
    uint8_t otherFrequency[4];
    EncodePackedFrequency(155000000, otherFrequency);
    options_.before_write = [&](const RadioData&, const RadioData&) {
        radio->writeMemory(0x1021, otherFrequency);
        return true;
    };
    SafeWrite chain(changed, kTime, Port(), options_);
    ASSERT_EQ(chain.Run(), SafeWriteOutcome::Written) << chain.result().message.toStdString();
    const SafeWriteResult& result = chain.result();
    ASSERT_TRUE(result.changed_only);
    ASSERT_TRUE(result.changed_only->fell_back());
    for (const ImageDifference& d : result.changed_only->read_back_differences) {
        EXPECT_GE(d.address, 0x1021);
        EXPECT_LE(d.address, 0x1024);
        EXPECT_EQ(d.found, otherFrequency[d.address - 0x1021]);
    }
    EXPECT_TRUE(result.message.contains("(Channel 3, RX Freq.)")) << result.message.toStdString();
    EXPECT_TRUE(result.verified);
    EXPECT_TRUE(CompareWrittenImage(GetDataForWrite(changed, kTime), radio->memory()).empty());
}

TEST(SafeWriteChecks, BytesAWriteNeverSendsMustReadBackAsTheBackupHasThem)
{
    MemoryImage backup{};
    for (std::size_t a = 0; a < backup.size(); ++a)
        backup[a] = uint8_t(a);
    MemoryImage readBack = backup;
    readBack[0x0100] ^= 1;   // written: not this comparison's business
    readBack[0x1000] ^= 1;
    EXPECT_TRUE(CompareUnwrittenBytes(backup, readBack).empty());
    EXPECT_TRUE(SameRadio(backup, readBack));
    readBack[0x06A6] ^= 1;   // after the programming time, never written
    readBack[0x06BF] ^= 1;
    EXPECT_EQ(CompareUnwrittenBytes(backup, readBack),
              (std::vector<ImageDifference>{{0x06A6, 0xA6, 0xA7}, {0x06BF, 0xBF, 0xBE}}));
    EXPECT_TRUE(SameRadio(backup, readBack));
    readBack[0x0FFF] ^= 1;   // the band code: the identity block
    EXPECT_FALSE(SameRadio(backup, readBack));
    EXPECT_EQ(CompareUnwrittenBytes(backup, readBack).size(), 3u);
}

TEST(SafeWriteChecks, AnAutoSearchThatFindsNoRadioEndsWithCommunicationFalse)
{
    test::ScratchDir dir;
    SafeWriteOptions options;
    options.backup_folder = dir.file("backups");
    RadioData data;
    data.ResetForBand(0);
    SafeWrite chain(data, kTime, PortPlan{true, {dir.file("no-port-1"), dir.file("no-port-2")}}, options);
    EXPECT_EQ(chain.Run(), SafeWriteOutcome::BackupReadFailed);
    EXPECT_EQ(chain.result().failure, SessionFailure::NoRadioFound);
    EXPECT_TRUE(chain.result().message.contains("Communication False")) << chain.result().message.toStdString();
    EXPECT_TRUE(chain.result().port.isEmpty());
}

}   // namespace
}   // namespace k3n
