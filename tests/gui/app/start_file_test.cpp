// SPDX-License-Identifier: GPL-3.0-or-later
// Which argument of k3n-cps is the file to open at start.
#include "app/start_file.h"

#include <gtest/gtest.h>

TEST(StartFile, TheFirstArgumentThatIsNoOption)
{
    using k3n::FileNamedOnCommandLine;
    EXPECT_EQ(FileNamedOnCommandLine({"k3n-cps"}), "");
    EXPECT_EQ(FileNamedOnCommandLine({"k3n-cps", "/home/ham/club.fse"}), "/home/ham/club.fse");
    EXPECT_EQ(FileNamedOnCommandLine({"k3n-cps", "--virtual-radio", "a.fse", "b.fse"}), "a.fse");
    // The virtual radio's memory file is an option's value, not a configuration.
    EXPECT_EQ(FileNamedOnCommandLine({"k3n-cps", "--virtual-radio", "--virtual-radio-memory", "mem.bin"}), "");
    EXPECT_EQ(FileNamedOnCommandLine({"k3n-cps", "--virtual-radio-memory", "mem.bin", "club.fse"}), "club.fse");
    EXPECT_EQ(FileNamedOnCommandLine({"/usr/bin/k3n-cps.fse"}), "") << "the program's own name is not a file to open";
}
