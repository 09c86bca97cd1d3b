// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own files: names kept byte for byte, only regular files read,
// and the autosave copies of programs running at once kept apart by their locks.
#include "model/autosave.h"
#include "model/fse_file.h"
#include "model/native_path.h"
#include "model/own_files.h"
#include "model/record_layout.h"
#include "support/test_support.h"
#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k3n {
namespace {

using test::ScratchDir;

TEST(NativePath, NamesGoBackToTheSystemByteForByte)
{
    for (const QByteArray& name : {QByteArray("/plain/ascii.fse"), QByteArray("/utf8/\xe8\xbd\xa6\xe9\x98\x9f.fse"),
                                   QByteArray("/latin1/caf\xe9.fse"), QByteArray("\xff\xfe\x80"),
                                   QByteArray("/cut/\xe8\xbd"), QByteArray("/encoded-surrogate/\xed\xa0\x80"),
                                   QByteArray("/overlong/\xc0\xaf"), QByteArray("/emoji/\xf0\x9f\x93\xbb")})
        EXPECT_EQ(NativePath(PathFromNative(name)), name) << name.toHex().toStdString();
    // Valid UTF-8 reads as Qt reads it; what is not keeps to code units of its own.
    EXPECT_EQ(PathFromNative("/utf8/\xe8\xbd\xa6.fse"), QFile::decodeName("/utf8/\xe8\xbd\xa6.fse"));
    EXPECT_EQ(PathFromNative("caf\xe9").size(), 4);
    EXPECT_EQ(ShownPath(PathFromNative("caf\xe9/\xe8\xbd\xa6")), QStringLiteral("caf\uFFFD/\u8F66"));
    EXPECT_EQ(NativePath(QStringLiteral("/a/\U0001F4FB/b")), QStringLiteral("/a/\U0001F4FB/b").toUtf8());
}

TEST(OwnFiles, AFolderNamedInAnotherCodePageIsUsedAsItIs)
{
    ScratchDir dir;
    const QString folder = PathFromNative(QFile::encodeName(dir.path()) + "/d\xe9p\xf4t/K3N/backups");
    ASSERT_EQ(MakeFolders(folder), 0);
    struct stat st {};
    ASSERT_EQ(::stat((QFile::encodeName(dir.path()) + "/d\xe9p\xf4t/K3N/backups").constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));

    RadioData data;
    data.ResetForBand(3);
    const QString file = folder + PathFromNative("/s\xe9rie.fse");
    ASSERT_FALSE(SaveNewFseFile(file, data.record));
    EXPECT_EQ(FolderEntryNames(folder), QStringList{PathFromNative("s\xe9rie.fse")});
    EXPECT_TRUE(IsRegularFile(file));
    RadioData read;
    ASSERT_FALSE(LoadFseFile(file, read));
    EXPECT_EQ(read.record, data.record);

    // A file on the way is no folder.
    test::WriteFileBytes(dir.file("file"), "x");
    EXPECT_EQ(MakeFolders(dir.file("file/sub")), ENOTDIR);
}

TEST(OwnFiles, OnlyARegularFileIsReadAndAFifoIsRefusedAtOnce)
{
    ScratchDir dir;
    test::WriteFileBytes(dir.file("plain"), "line\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.file("fifo"), dir.file("link to fifo")));
    ASSERT_TRUE(QFile::link(dir.file("plain"), dir.file("link to plain")));

    QByteArray bytes;
    EXPECT_FALSE(ReadRegularFile(dir.file("link to plain"), bytes));
    EXPECT_EQ(bytes, "line\n");
    for (const char* special : {"fifo", "link to fifo"}) {
        const auto error = ReadRegularFile(dir.file(special), bytes);   // would wait for a writer if opened blocking
        ASSERT_TRUE(error) << special;
        EXPECT_EQ(error->kind, FileError::Kind::NotARegularFile);
        EXPECT_FALSE(IsRegularFile(dir.file(special)));
    }
    EXPECT_EQ(ReadRegularFile(dir.file("missing"), bytes)->kind, FileError::Kind::NotFound);
    EXPECT_TRUE(ReadRegularFile(dir.path(), bytes));
}

RadioRecord RecordOfBand(int band)
{
    RadioData data;
    data.ResetForBand(band);
    return data.record;
}

TEST(Autosave, ProgramsRunningAtOnceKeepCopiesOfTheirOwnAndOfferOnlyTheLeftOnes)
{
    ScratchDir dir;
    const QString folder = dir.file("K3N");
    auto first = std::make_unique<OwnAutosave>(folder);
    auto second = std::make_unique<OwnAutosave>(folder);
    ASSERT_FALSE(first->write(RecordOfBand(1)));
    ASSERT_FALSE(second->write(RecordOfBand(2)));
    EXPECT_NE(first->path(), second->path());
    EXPECT_EQ(first->path(), folder + QStringLiteral("/autosave-%1.fse").arg(::getpid()));
    EXPECT_TRUE(ClaimLeftAutosaves(folder).empty());   // both are held

    // The first ends without removing its copy (a crash): that copy is left to offer, and
    // while it is offered its lock is held, so no one else offers or takes it.
    const QString leftPath = first->path();
    first.reset();
    std::vector<LeftAutosave> left = ClaimLeftAutosaves(folder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path, leftPath);
    EXPECT_TRUE(ClaimLeftAutosaves(folder).empty());

    // A program that gets the same process number again writes under another name.
    OwnAutosave third(folder);
    ASSERT_FALSE(third.write(RecordOfBand(3)));
    EXPECT_NE(third.path(), leftPath);
    RadioData kept;
    ASSERT_FALSE(LoadFseFile(leftPath, kept));
    EXPECT_EQ(kept.record, RecordOfBand(1));

    // Declined: the copy goes with its lock file. A normal end removes a program's own.
    left[0].discard();
    EXPECT_FALSE(PathExists(leftPath));
    second->removeAtExit();
    third.removeAtExit();
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(Autosave, TheCopyOfEarlierVersionsIsFreeAndSpecialFilesAreNoCopies)
{
    ScratchDir dir;
    const QString folder = dir.file("K3N");
    ASSERT_EQ(MakeFolders(folder), 0);
    ASSERT_FALSE(SaveFseFile(folder + "/autosave.fse", RecordOfBand(2)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/autosave-17.fse").constData(), 0600), 0);
    test::WriteFileBytes(folder + "/autosave-notes.txt", "not a copy");
    const std::vector<LeftAutosave> left = ClaimLeftAutosaves(folder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path, folder + "/autosave.fse");
}

}   // namespace
}   // namespace k3n
