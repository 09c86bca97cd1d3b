// SPDX-License-Identifier: GPL-3.0-or-later
// The k3n tool's outputs: written whole or not at all on a full disk and under
// a file-size limit, never over the command's own input, and standard output
// checked like any file.
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "support/test_support.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace k3n {
namespace {

using test::FileBytes;
using test::RunK3n;
using test::ToolRun;
using test::ToolSetting;
using test::WriteFileBytes;

const QByteArray kOldBytes = "the file as it was before the command";

// A configuration, its image and its channel list: what the commands read.
class OutputFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RadioData data;
        data.ResetForBand(1);
        data.record.set(rec::ch::in_use(1), 1);
        data.record.set(rec::ch::rx_freq(1), 151000000);
        data.record.set(rec::ch::tx_freq(1), 151000000);
        sample = dir.file("sample.fse");
        ASSERT_FALSE(SaveFseFile(sample, data.record));
        image = dir.file("sample.bin");
        ASSERT_EQ(RunK3n({"image", sample, "-o", image}).exitCode, 0);
        channels = dir.file("sample.csv");
        ASSERT_EQ(RunK3n({"export", sample, "-o", channels}).exitCode, 0);
    }

    // Every command that writes a file with -o: its name and its arguments for an output.
    std::vector<std::pair<QString, std::function<QStringList(const QString&)>>> Writers() const
    {
        return {
            {"new",
             [](const QString& out) {
                 return QStringList{"new", "-o", out};
             }},
            {"image",
             [this](const QString& out) {
                 return QStringList{"image", sample, "-o", out};
             }},
            {"unimage",
             [this](const QString& out) {
                 return QStringList{"unimage", image, "-o", out};
             }},
            {"export",
             [this](const QString& out) {
                 return QStringList{"export", sample, "-o", out};
             }},
            {"import",
             [this](const QString& out) {
                 return QStringList{"import", channels, "-o", out};
             }},
            {"report",
             [this](const QString& out) {
                 return QStringList{"report", sample, "-o", out + ".html"};
             }},
        };
    }

    // Each command fails on the folder's old files, leaving them and nothing else.
    void ExpectEveryWriterLeavesTheOldFile(const QString& folder, const ToolSetting& setting, const QString& reason)
    {
        for (const auto& [name, args] : Writers()) {
            SCOPED_TRACE(name.toStdString());
            const QString out = folder + '/' + name + (name == "report" ? ".html" : "");
            const ToolRun run = RunK3n(args(folder + '/' + name), setting);
            EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains("cannot write " + out) && run.err.contains(reason)) << run.err.toStdString();
            EXPECT_EQ(FileBytes(out), kOldBytes);
        }
        QStringList expected;
        for (const auto& [name, args] : Writers())
            expected << name + (name == "report" ? ".html" : "");
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(QStringLiteral("filler"));
        expected.sort();
        EXPECT_EQ(left, expected) << "a temporary file was left behind";
    }

    void WriteOldFiles(const QString& folder)
    {
        for (const auto& [name, args] : Writers())
            WriteFileBytes(folder + '/' + name + (name == "report" ? ".html" : ""), kOldBytes);
    }

    test::ScratchDir dir;
    QString sample, image, channels;
};

TEST_F(OutputFilesTest, AFileSizeLimitLeavesEveryOldOutputAsItWas)
{
    const QString folder = dir.file("out");
    QDir().mkpath(folder);
    WriteOldFiles(folder);
    ExpectEveryWriterLeavesTheOldFile(folder, ToolSetting{.fileSizeLimit = 64}, "too large");
    // Without the limit the same commands replace them.
    for (const auto& [name, args] : Writers()) {
        EXPECT_EQ(RunK3n(args(folder + '/' + name)).exitCode, 0) << name.toStdString();
        EXPECT_NE(FileBytes(folder + '/' + name + (name == "report" ? ".html" : "")), kOldBytes) << name.toStdString();
    }
}

// A small file system of its own, in a mount namespace of this test process
// (and the tools it starts): needs root.
class FullFileSystem {
public:
    explicit FullFileSystem(const QString& mountPoint) : mountPoint_(QFile::encodeName(mountPoint))
    {
        QDir().mkpath(mountPoint);
        mounted_ = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            && ::mount("tmpfs", mountPoint_.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullFileSystem()
    {
        if (mounted_)
            ::umount2(mountPoint_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    // Fills what is left with one file; true when the disk is full.
    bool Fill() const
    {
        const int fd = ::open((mountPoint_ + "/filler").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const QByteArray block(4096, 'x');
        bool full = false;
        while (fd >= 0 && !full)
            full = ::write(fd, block.constData(), std::size_t(block.size())) < 0 && errno == ENOSPC;
        if (fd >= 0)
            ::close(fd);
        return full;
    }

private:
    QByteArray mountPoint_;
    bool mounted_ = false;
};

TEST_F(OutputFilesTest, AFullDiskLeavesEveryOldOutputAsItWas)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a file system of the test's own needs root";
    const QString folder = dir.file("full");
    const FullFileSystem disk(folder);
    ASSERT_TRUE(disk.mounted()) << std::strerror(errno);
    WriteOldFiles(folder);
    ASSERT_TRUE(disk.Fill());
    ExpectEveryWriterLeavesTheOldFile(folder, {}, "the disk is full");
}

TEST_F(OutputFilesTest, TheOutputMayNotBeTheInputButMayBeTheBase)
{
    const QByteArray sampleBytes = FileBytes(sample);
    const QString dumpPage = dir.file("dump.html");   // a JSON dump under a report's name
    WriteFileBytes(dumpPage, RunK3n({"dump", "--json", sample}).out.toUtf8());
    ASSERT_TRUE(QFile::link(sample, dir.file("link.fse")));
    ASSERT_EQ(::link(QFile::encodeName(sample).constData(), QFile::encodeName(dir.file("hard.fse")).constData()), 0);
    const std::vector<QStringList> refused{
        {"image", sample, "-o", sample},
        {"image", dir.file("link.fse"), "-o", sample},
        {"export", sample, "-o", dir.file("hard.fse")},
        {"report", dumpPage, "-o", dumpPage},
        {"unimage", image, "-o", image},
        {"import", channels, "-o", channels},
    };
    for (const QStringList& args : refused) {
        const ToolRun run = RunK3n(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("is the input")) << run.err.toStdString();
    }
    EXPECT_EQ(FileBytes(sample), sampleBytes);
    EXPECT_EQ(FileBytes(image).size(), 8192);
    EXPECT_TRUE(FileBytes(channels).startsWith("Location,"));

    // The base is read whole before the output replaces it.
    const QString base = dir.file("base.fse");
    RadioData other;
    other.ResetForBand(1);
    other.record.set(rec::tot, 240);
    ASSERT_FALSE(SaveFseFile(base, other.record));
    const ToolRun onBase = RunK3n({"import", channels, "--base", base, "-o", base});
    ASSERT_EQ(onBase.exitCode, 0) << onBase.err.toStdString();
    RadioData result;
    ASSERT_FALSE(LoadFseFile(base, result));
    EXPECT_EQ(result.record.get(rec::tot), 240);
    EXPECT_EQ(result.record.get(rec::ch::rx_freq(1)), 151000000u);
    ASSERT_EQ(RunK3n({"unimage", image, "--base", base, "-o", base}).exitCode, 0);
}

TEST_F(OutputFilesTest, StandardOutputIsCheckedAndTakesTextOnly)
{
    // A full standard output is a failure with its reason; a reader that went away ends it quietly.
    const ToolRun full = RunK3n({"dump", "--json", sample}, ToolSetting{.standardOutputFile = "/dev/full"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains("standard output") && full.err.contains("the disk is full"))
        << full.err.toStdString();
    for (const QStringList& args : {QStringList{"dump", "--json", sample}, QStringList{"--help"}}) {
        const ToolRun gone = RunK3n(args, ToolSetting{.standardOutputClosedPipe = true});
        EXPECT_EQ(gone.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_EQ(gone.err, QString());
    }

    // Text outputs go to standard output as "-", byte for byte what the file gets.
    const ToolRun csv = RunK3n({"export", sample, "-o", "-"});
    EXPECT_EQ(csv.exitCode, 0);
    EXPECT_EQ(csv.out.toUtf8(), FileBytes(channels));
    ASSERT_EQ(RunK3n({"report", sample, "-o", dir.file("page.html")}).exitCode, 0);
    const ToolRun html = RunK3n({"report", sample, "-o", "-"});
    EXPECT_EQ(html.exitCode, 0);
    EXPECT_EQ(html.out.toUtf8(), FileBytes(dir.file("page.html")));

    // Binary outputs are files; "-" is no input either. Nothing is made in the working folder.
    const std::vector<QStringList> refused{
        {"new", "-o", "-"},
        {"image", sample, "-o", "-"},
        {"unimage", image, "-o", "-"},
        {"import", channels, "-o", "-"},
        {"read", "--port", "auto", "-o", "-"},
        {"dump", "-"},
        {"check", "-"},
        {"export", "-", "-o", "out.csv"},
        {"diff", sample, "-"},
        {"import", "-", "-o", "out.fse"},
        {"unimage", "-", "-o", "out.fse"},
        {"import", channels, "--base", "-", "-o", "out.fse"},
    };
    const QString working = dir.file("working");
    QDir().mkpath(working);
    for (const QStringList& args : refused) {
        const ToolRun run = RunK3n(args, ToolSetting{.workingDirectory = working});
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("'-'") || run.err.contains("-o -")) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(working).entryList(QDir::Files), QStringList());
}

}   // namespace
}   // namespace k3n
