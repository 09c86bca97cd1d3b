// SPDX-License-Identifier: GPL-3.0-or-later
// One configuration into several virtual radios at once, each on a
// pseudo-terminal of its own, on the real clock.
#include "comm/port_list.h"
#include "model/record_layout.h"
#include "programming/several_radios_write.h"
#include "support/test_support.h"
#include "text/app_lang.h"
#include "virtualradio/emulated_radio.h"
#include "virtualradio/virtual_radio.h"
#include <QFile>
#include <gtest/gtest.h>
#include <set>

namespace k3n {
namespace {

const ProgramTime kTime{2026, 12, 8, 10, 30};

RadioData Configuration()
{
    RadioData data;
    data.ResetForBand(0);
    for (int n = 1; n <= 16; ++n) {
        data.record.set(rec::ch::in_use(n), 1);
        data.record.set(rec::ch::rx_freq(n), 145000000u + 12500u * n);
        data.record.set(rec::ch::tx_freq(n), 145600000u + 12500u * n);
    }
    return data;
}

VirtualRadioOptions RadioOptions(char serialDigit, FaultPlan fault = {})
{
    VirtualRadioOptions options;
    options.band = 0;
    options.serial_number = {'2', '0', '2', '6', '0', '0', '0', uint8_t(serialDigit)};
    options.fault = fault;
    return options;
}

std::unique_ptr<VirtualRadio> StartRadio(char serialDigit, FaultPlan fault = {})
{
    auto radio = std::make_unique<VirtualRadio>(RadioOptions(serialDigit, fault));
    EXPECT_EQ(radio->Start(), std::nullopt);
    return radio;
}

// On the simulated clock: a whole write in milliseconds.
std::unique_ptr<EmulatedRadio> EmulateRadio(char serialDigit, FaultPlan fault = {})
{
    return std::make_unique<EmulatedRadio>(RadioOptions(serialDigit, fault));
}

// What the write put into a radio's memory where the configuration lives.
template <class Radio> bool HoldsTheConfiguration(const Radio& radio, const MemoryImage& written)
{
    const MemoryImage memory = radio.memory();
    return std::equal(written.begin(), written.begin() + radio_addr::kConfigEnd, memory.begin())
        && std::equal(written.begin() + radio_addr::kChannels, written.begin() + radio_addr::kChannelsEnd,
                      memory.begin() + radio_addr::kChannels);
}

TEST(SeveralRadiosWrite, PortsNamingOneDeviceTwiceOrAutoAreRefusedBeforeAnythingStarts)
{
    test::ScratchDir dir;
    VirtualRadioOptions options;
    options.link_path = dir.file("cable");
    VirtualRadio radio(options);
    ASSERT_EQ(radio.Start(), std::nullopt);
    const HalvexComm32::TCommSerialPortInfo none(dir.file("sys"), dir.file("dev"));

    // Through a link, the same device: refused, naming both.
    const auto twice = ResolveRadioTargets({radio.devicePath(), dir.file("cable")}, none);
    ASSERT_FALSE(twice);
    EXPECT_TRUE(twice.error().message.contains(dir.file("cable")));
    EXPECT_FALSE(ResolveRadioTargets({radio.devicePath(), "AUTO"}, none));
    EXPECT_FALSE(ResolveRadioTargets({}, none));

    // A port that does not exist is no reason to refuse the others.
    const auto targets = ResolveRadioTargets({radio.devicePath(), dir.file("nothing")}, none);
    ASSERT_TRUE(targets);
    EXPECT_EQ(targets.value().size(), 2u);
}

TEST(SeveralRadiosWrite, ExitCodeSaysWhetherEveryRadioWasWrittenAndVerified)
{
    auto results = [](std::initializer_list<SafeWriteOutcome> outcomes) {
        std::vector<SafeWriteResult> list;
        for (SafeWriteOutcome outcome : outcomes)
            list.emplace_back().outcome = outcome;
        return list;
    };
    using O = SafeWriteOutcome;
    EXPECT_EQ(SeveralRadiosExitCode(results({O::Written, O::Written})), 0);
    EXPECT_EQ(SeveralRadiosExitCode(results({O::Written, O::WrittenNotVerified})), 3);
    EXPECT_EQ(SeveralRadiosExitCode(results({O::WrittenNotVerified, O::WriteFailed, O::Written})), 1);
    EXPECT_EQ(SeveralRadiosExitCode(results({O::Cancelled, O::Written})), 1);
    EXPECT_EQ(SeveralRadiosExitCode(results({O::Written, O::DifferentRadio})), 3);
    EXPECT_EQ(SeveralRadiosExitCode({}), 1);
}

TEST(SeveralRadiosWrite, ThreeRadiosAreWrittenAtOnceAndASilentOneFailsAlone)
{
    ApplyLanguageSetting(0);
    test::ScratchDir dir;
    const RadioData data = Configuration();
    auto first = EmulateRadio('1');
    auto silent = EmulateRadio('2', {RadioFault::Silent, 0});
    auto third = EmulateRadio('3');
    const HalvexComm32::TCommSerialPortInfo none(dir.file("sys"), dir.file("dev"));
    auto targets = ResolveRadioTargets({first->devicePath(), silent->devicePath(), third->devicePath()}, none);
    ASSERT_TRUE(targets);

    SafeWriteOptions options;
    options.backup_folder = dir.file("backups");
    options.make_link = EmulatedLinkMaker();
    SeveralRadiosWrite writes(data, kTime, targets.value(), options);
    std::mutex mutex;
    std::set<std::size_t> finished;
    std::set<std::thread::id> threads;
    writes.Run(
        [&](std::size_t, SafeWritePhase, int, int) {
            std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
        },
        [&](std::size_t radio, const SafeWriteResult&, double seconds) {
            std::lock_guard lock(mutex);
            EXPECT_GT(seconds, 0.0);
            finished.insert(radio);
        });

    EXPECT_EQ(finished, (std::set<std::size_t>{0, 1, 2}));
    EXPECT_EQ(threads.size(), 3u);   // each radio on a thread of its own
    const auto& results = writes.results();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].outcome, SafeWriteOutcome::Written);
    EXPECT_EQ(results[1].outcome, SafeWriteOutcome::BackupReadFailed);
    EXPECT_EQ(results[2].outcome, SafeWriteOutcome::Written);
    EXPECT_EQ(results[0].serial_number, "20260001");
    EXPECT_EQ(results[2].serial_number, "20260003");
    EXPECT_EQ(results[1].port, silent->devicePath());

    const MemoryImage written = GetDataForWrite(data, kTime);
    EXPECT_TRUE(HoldsTheConfiguration(*first, written));
    EXPECT_TRUE(HoldsTheConfiguration(*third, written));
    EXPECT_FALSE(HoldsTheConfiguration(*silent, written));
    EXPECT_EQ(SeveralRadiosExitCode(results), 1);
}

TEST(SeveralRadiosWrite, ACancelStopsEveryRadio)
{
    ApplyLanguageSetting(0);
    test::ScratchDir dir;
    auto first = StartRadio('1');
    auto second = StartRadio('2');
    const HalvexComm32::TCommSerialPortInfo none(dir.file("sys"), dir.file("dev"));
    auto targets = ResolveRadioTargets({first->devicePath(), second->devicePath()}, none);
    ASSERT_TRUE(targets);
    SafeWriteOptions options;
    options.backup_folder = dir.file("backups");
    SeveralRadiosWrite writes(Configuration(), kTime, targets.value(), options);
    std::atomic<bool> cancelled{false};
    writes.Run(
        [&](std::size_t, SafeWritePhase phase, int, int) {
            // Once any radio reaches the write, everything is cancelled.
            if (phase == SafeWritePhase::Write && !cancelled.exchange(true))
                writes.RequestCancel();
        },
        {});
    for (const SafeWriteResult& result : writes.results())
        EXPECT_EQ(result.outcome, SafeWriteOutcome::Cancelled);
}

}   // namespace
}   // namespace k3n
