// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/autosave.h"
#include "model/native_path.h"
#include "model/user_data_folder.h"
#include <QDir>
#include <gtest/gtest.h>

namespace k3n {

TEST(UserDataFolder, FollowsXdgDataHomeAndIgnoresARelativeOne)
{
    qputenv("XDG_DATA_HOME", "/some/where");
    EXPECT_EQ(UserDataFolder(), "/some/where/K3N");
    qputenv("XDG_DATA_HOME", "relative/path");   // invalid by the XDG rules
    EXPECT_EQ(UserDataFolder(), QDir::homePath() + "/.local/share/K3N");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(UserDataFolder(), QDir::homePath() + "/.local/share/K3N");
    // Named in a single-byte code page: the very folder, byte for byte.
    qputenv("XDG_DATA_HOME", "/data/caf\xe9");
    EXPECT_EQ(NativePath(UserDataFolder()), QByteArray("/data/caf\xe9/K3N"));
}

TEST(AutosaveSchedule, WritesAtOnceAfterAChangeThenAtMostOncePerInterval)
{
    AutosaveSchedule schedule;
    EXPECT_EQ(schedule.msUntilDue(0), -1);
    schedule.noteChange(100);
    EXPECT_TRUE(schedule.isDue(100));
    schedule.noteWritten(100);
    EXPECT_FALSE(schedule.isPending());
    schedule.noteChange(5'000);
    schedule.noteChange(9'000);   // the first unwritten change counts
    EXPECT_EQ(schedule.msUntilDue(9'000), 100 + AutosaveSchedule::kIntervalMs - 9'000);
    EXPECT_TRUE(schedule.isDue(100 + AutosaveSchedule::kIntervalMs));
    schedule.noteClean();
    EXPECT_FALSE(schedule.isDue(200'000));
}

}   // namespace k3n
