// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's configuration apart from the open one, and the open one as the
// radio would hold it: the comparison with the radio hides nothing a write sends.
#include "model/record_layout.h"
#include "programming/radio_configuration.h"
#include <gtest/gtest.h>
#include <random>

namespace k3n {
namespace {

// Random bytes, but an emergency channel and scrambler frequencies the editors
// can make: the radio's bytes for them are computed and read back only for such values.
RadioRecord RandomRecord(unsigned seed)
{
    RadioRecord record;
    std::mt19937 rng(seed);
    for (uint8_t& b : record.bytes())
        b = uint8_t(rng());
    record.set(rec::freq_band, uint8_t(seed % kBandCount));
    record.set(rec::emergency_channel_select, 3);
    record.set(rec::emergency_designated_channel, uint8_t(1 + rng() % rec::kChannelCount));
    record.set(rec::emergency_mode, uint8_t(record.get(rec::emergency_mode) & ~0x04));
    for (int i = 0; i < rec::kScrambleFreqCount; ++i)
        record.set(rec::scramble_freq(i), uint16_t(2000 + rng() % 2000));
    return record;
}

TEST(RadioConfiguration, AsTheRadioHoldsItSendsTheSameBytesAndIsStable)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const RadioRecord record = RandomRecord(seed);
        const RadioRecord held = AsTheRadioHoldsIt(record);
        RadioData a, b;
        a.record = record;
        b.record = held;
        // A write of either puts the same bytes into the radio.
        const MemoryImage sent = GetDataForWrite(a, ProgramTime{});
        const MemoryImage sentHeld = GetDataForWrite(b, ProgramTime{});
        for (std::size_t i = 0; i < kMemoryImageSize; ++i)
            ASSERT_EQ(sent[i], sentHeld[i]) << "seed " << seed << " image byte " << i;
        EXPECT_EQ(held.get(rec::freq_band), record.get(rec::freq_band));
        EXPECT_EQ(AsTheRadioHoldsIt(held), held) << "seed " << seed;
    }
}

}   // namespace
}   // namespace k3n
