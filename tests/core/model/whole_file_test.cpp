// SPDX-License-Identifier: GPL-3.0-or-later
// Files written whole or not at all: what the GUI's Save, Export channels,
// Export PDF, settings and autosave copy, and every output of k3n rely on.
#include "model/whole_file.h"
#include "support/test_support.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace k3n;

namespace {

using test::FileBytes;
using test::WriteFileBytes;

TEST(WholeFile, AFailedWriteLeavesTheOldFileAndNoTemporaryOne)
{
    test::ScratchDir dir;
    const QString path = dir.file("out.bin");
    WriteFileBytes(path, "old");
    const QByteArray bigger(8192, 'n');
    {
        const test::FileSizeLimit limit(1000);
        const auto replaced = WriteFileWhole(path, bigger);
        ASSERT_TRUE(replaced);
        EXPECT_EQ(replaced->kind, FileError::Kind::Other);
        EXPECT_FALSE(replaced->message().isEmpty());
        const auto created = WriteNewFileWhole(dir.file("new.bin"), bigger);
        EXPECT_TRUE(created);
        // What fits is written as ever.
        EXPECT_FALSE(WriteFileWhole(dir.file("small.bin"), "fits"));
    }
    EXPECT_EQ(FileBytes(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"out.bin", "small.bin"}));

    ASSERT_FALSE(WriteFileWhole(path, bigger));
    EXPECT_EQ(FileBytes(path), bigger);
    const auto taken = WriteNewFileWhole(path, "other");
    ASSERT_TRUE(taken);
    EXPECT_EQ(FileBytes(path), bigger);
}

TEST(WholeFile, WritableIsCheckedWithoutTouchingTheFile)
{
    test::ScratchDir dir;
    const QString path = dir.file("out.fse");
    EXPECT_FALSE(CheckFileWritable(path));
    EXPECT_FALSE(QFile::exists(path));
    WriteFileBytes(path, "kept");
    EXPECT_FALSE(CheckFileWritable(path));
    EXPECT_EQ(FileBytes(path), "kept");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.fse"});

    const auto missingFolder = CheckFileWritable(dir.file("no/such/out.fse"));
    ASSERT_TRUE(missingFolder);
    EXPECT_EQ(missingFolder->kind, FileError::Kind::NotFound);
    const auto folder = CheckFileWritable(dir.path());
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->kind, FileError::Kind::IsADirectory);
}

}   // namespace
