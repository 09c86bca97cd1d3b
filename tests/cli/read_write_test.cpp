// SPDX-License-Identifier: GPL-3.0-or-later
// The radio commands of the k3n tool, run as a user runs them, against the
// virtual radio on a pseudo-terminal. This is also the full write and read of
// the session runner over a real terminal: the write takes its real 12 s of
// 100 ms ticks; failures are chosen so that they end at once.
#include "k3n_tool.h"
#include "model/fse_file.h"
#include "model/record_layout.h"
#include "programming/memory_image.h"
#include "programming/transfer_plan.h"
#include "support/test_support.h"
#include "tool_radio.h"
#include "virtualradio/virtual_radio.h"
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace k3n {
namespace {

using namespace std::chrono_literals;

using test::FileBytes;
using test::RunK3n;
using test::WriteFileBytes;

// A configuration with every channel in use and a few settings away from the defaults.
QString WriteSample(const test::ScratchDir& dir, const QString& name, int band = 1)
{
    RadioData data;
    data.ResetForBand(band);
    const uint32_t base = BandLimitsOf(band).lower;
    for (int n = 1; n <= rec::kChannelCount; ++n) {
        data.record.set(rec::ch::in_use(n), 1);
        data.record.set(rec::ch::rx_freq(n), base + 25000u * n);
        data.record.set(rec::ch::tx_freq(n), base + 25000u * n + 1000000);
        data.record.set(rec::ch::squelch(n), uint8_t(n % 10));
    }
    data.record.set(rec::tot, 180);
    const QString path = dir.file(name);
    EXPECT_EQ(SaveFseFile(path, data.record), std::nullopt);
    return path;
}

std::unique_ptr<VirtualRadio> StartRadio(RadioFault fault = RadioFault::None, int afterFrames = 0, int band = 0)
{
    VirtualRadioOptions options;
    options.fault = {fault, afterFrames};
    options.band = band;
    auto radio = std::make_unique<VirtualRadio>(std::move(options));
    EXPECT_EQ(radio->Start(), std::nullopt);
    return radio;
}

QString PortOf(const VirtualRadio& radio)
{
    return radio.devicePath();
}

// A radio the test build of the tool answers with at once (tool_radio.h).
test::ToolRadio EmulatedToolRadio(const test::ScratchDir& dir, RadioFault fault = RadioFault::None, int afterFrames = 0,
                                  int band = 0)
{
    VirtualRadioOptions options;
    options.fault = {fault, afterFrames};
    options.band = band;
    return test::ToolRadio(dir.file("radio"), options);
}

// The terminal's exclusive mode (TIOCEXCL), seen through a descriptor of the test's own
// opened before any program set it (root could open it anyway; a user could not).
class ExclusiveMode {
public:
    explicit ExclusiveMode(const QString& device)
        : fd_(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {}
    ~ExclusiveMode()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool opened() const { return fd_ >= 0; }
    bool isSet() const
    {
        int exclusive = 0;
        return ::ioctl(fd_, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
    }
    // A flag has no event to wait on: it is looked at every few milliseconds until the deadline.
    bool WaitUntil(bool set, std::chrono::milliseconds timeout) const
    {
        const QDeadlineTimer deadline(timeout);
        while (isSet() != set) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(2);
        }
        return true;
    }

private:
    int fd_;
};

std::unique_ptr<VirtualRadio> StartPacedRadio()
{
    VirtualRadioOptions options;
    options.baud = 19200;   // a read takes its real seconds, so a signal comes in the middle of it
    auto radio = std::make_unique<VirtualRadio>(std::move(options));
    EXPECT_EQ(radio->Start(), std::nullopt);
    return radio;
}

TEST(CliRadio, WriteThenReadBackGivesTheSameFile)
{
    test::ScratchDir dir;
    const QString sample = WriteSample(dir, "sample.fse");
    auto radio = StartRadio(RadioFault::None, 0, 1);

    // Without backup and read-back the frames are those of the write session alone.
    const test::ToolRun write = RunK3n({"write", "--port", PortOf(*radio), sample, "--no-backup", "--no-verify"});
    EXPECT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.out.isEmpty()) << write.out.toStdString();
    EXPECT_TRUE(write.err.isEmpty()) << write.err.toStdString();   // no progress bar without a terminal
    ASSERT_TRUE(radio->WaitFor([](const RadioEmulator& e) { return e.endSeen(); }, 5000ms));

    // Every frame arrived whole (checksums right) and in plan order.
    EXPECT_EQ(radio->frameErrors(), 0);
    const auto frames = radio->frames();
    const auto plan = TransferPlan(ConfigurationWriteRequest(RadioData(), {}, true));
    ASSERT_EQ(frames.size(), 1 + 1 + plan.size() + 1);
    EXPECT_EQ(frames[0].command, link::Command::Greeting);
    EXPECT_EQ(frames[1].command, link::Command::ReadMemory);
    EXPECT_EQ(frames[1].address, radio_addr::kBandCode);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(frames[2 + i].command, link::Command::WriteMemory) << i;
        EXPECT_EQ(frames[2 + i].address, plan[i].address) << i;
    }
    EXPECT_EQ(frames.back().command, link::Command::End);

    // The radio holds what 'k3n image' makes of the file, all but the programming time.
    const QString imagePath = dir.file("sample.bin");
    ASSERT_EQ(RunK3n({"image", sample, "-o", imagePath, "--time", "2024-06-30 23:59"}).exitCode, 0);
    const QByteArray image = FileBytes(imagePath);
    ASSERT_EQ(image.size(), qsizetype(kMemoryImageSize));
    const MemoryImage memory = radio->memory();
    const auto radioBytes = [&](int from, int to) {
        return QByteArray(reinterpret_cast<const char*>(memory.data()) + from, to - from);
    };
    EXPECT_EQ(radioBytes(0, radio_addr::kProgramTime), image.mid(0, radio_addr::kProgramTime));
    EXPECT_EQ(radioBytes(radio_addr::kChannels, radio_addr::kChannelsEnd),
              image.mid(radio_addr::kChannels, radio_addr::kChannelsEnd - radio_addr::kChannels));

    // Read back, from the defaults and over a base: the same configuration either way.
    const QString fromDefaults = dir.file("from-defaults.fse");
    const test::ToolRun read = RunK3n({"read", "--port", PortOf(*radio), "-o", fromDefaults});
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(FileBytes(fromDefaults), FileBytes(sample));
    const QString overBase = dir.file("over-base.fse");
    const QString base = WriteSample(dir, "base.fse", 3);
    ASSERT_EQ(RunK3n({"read", "--port", PortOf(*radio), "-o", overBase, "--base", base}).exitCode, 0);
    EXPECT_EQ(FileBytes(overBase), FileBytes(sample));
}

TEST(CliRadio, FailedReadWritesNoFile)
{
    // A silent radio hears four greetings; one that hangs up mid-read ends the read at once (the
    // port went away, no time-out); a wrong answer ends it too, and leaves an existing file as it was.
    const struct {
        RadioFault fault;
        int after;
        const char* detail;
        QByteArray existing;
    } cases[] = {{RadioFault::Silent, 0, "did not answer in time", {}},
                 {RadioFault::HangUp, 40, "the port went away", {}},
                 {RadioFault::WrongAnswer, 10, "unexpected answer", "keep me"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        test::ScratchDir dir;
        const QString out = dir.file("out.fse");
        if (!c.existing.isEmpty())
            WriteFileBytes(out, c.existing);
        const test::ToolRadio radio = EmulatedToolRadio(dir, c.fault, c.after);
        const test::ToolRun r =
            test::RunK3nWithRadios({radio.folder()}, {"read", "--port", radio.devicePath(), "-o", out});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("Communication False") && r.err.contains(c.detail)) << r.err.toStdString();
        EXPECT_EQ(QFileInfo::exists(out), !c.existing.isEmpty());
        EXPECT_EQ(FileBytes(out), c.existing);
        const std::size_t heard = c.fault == RadioFault::Silent ? 4 : c.after;
        ASSERT_GE(radio.frames().size(), heard);
        if (c.fault == RadioFault::Silent) {
            EXPECT_EQ(radio.frames().size(), heard);
            for (const ReceivedFrame& f : radio.frames())
                EXPECT_EQ(f.command, link::Command::Greeting);
        }
    }
}

TEST(CliRadio, WriteStopsAtAWrongBand)
{
    test::ScratchDir dir;
    const test::ToolRadio radio = EmulatedToolRadio(dir, RadioFault::None, 0, 2);
    const test::ToolRun r = test::RunK3nWithRadios(
        {radio.folder()}, {"write", "--port", radio.devicePath(), WriteSample(dir, "sample.fse", 1)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Wrong Freq Band")) << r.err.toStdString();
    // The backup read, then only the greeting and the band request of the write session.
    const auto frames = radio.frames();
    const auto readPlan = TransferPlan(ConfigurationReadRequest());
    ASSERT_EQ(frames.size(), 1 + readPlan.size() + 1 + 2);
    EXPECT_EQ(frames[frames.size() - 2].command, link::Command::Greeting);
    EXPECT_EQ(frames.back().command, link::Command::ReadMemory);
    EXPECT_EQ(frames.back().address, radio_addr::kBandCode);
    EXPECT_TRUE(std::none_of(frames.begin(), frames.end(),
                             [](const ReceivedFrame& f) { return f.command == link::Command::WriteMemory; }));
}

TEST(CliRadio, BadPortsAndBadFiles)
{
    test::ScratchDir dir;
    const QString sample = WriteSample(dir, "sample.fse");

    const test::ToolRun noSuchCom = RunK3n({"write", "--port", "COM98", sample});
    EXPECT_EQ(noSuchCom.exitCode, 1);
    EXPECT_TRUE(noSuchCom.err.contains("COM98")) << noSuchCom.err.toStdString();

    // A device that cannot be opened: why, in the tool's own words, not the greeting's time-out.
    const test::ToolRun noSuchPath = RunK3n({"read", "--port", "/dev/k3n-no-such-port", "-o", dir.file("x.fse")});
    EXPECT_EQ(noSuchPath.exitCode, 1);
    EXPECT_TRUE(noSuchPath.err.contains("cannot open /dev/k3n-no-such-port: the device is not present"))
        << noSuchPath.err.toStdString();
    EXPECT_FALSE(noSuchPath.err.contains("ZebCommDevice1") || noSuchPath.err.contains("did not answer"))
        << noSuchPath.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.file("x.fse")));

    // A short file is not a configuration: nothing is sent for it.
    auto radio = StartRadio();
    WriteFileBytes(dir.file("short.fse"), QByteArray(100, '\0'));
    EXPECT_EQ(RunK3n({"write", "--port", PortOf(*radio), dir.file("short.fse")}).exitCode, 2);
    EXPECT_TRUE(radio->frames().empty());

    EXPECT_EQ(RunK3n({"read", "-o", dir.file("y.fse")}).exitCode, 2);   // no port
    EXPECT_EQ(RunK3n({"write", "--port", PortOf(*radio)}).exitCode, 2);   // no file
    EXPECT_EQ(RunK3n({"image", sample}).exitCode, 2);   // no output
    EXPECT_EQ(RunK3n({"image", sample, "-o", dir.file("i.bin"), "--time", "30.06.2024"}).exitCode, 2);

    // A band byte no radio has is refused before an image is made of it.
    QByteArray unknownBand = FileBytes(sample);
    unknownBand[rec::freq_band.offset] = char(4);
    WriteFileBytes(dir.file("band4.fse"), unknownBand);
    const test::ToolRun bandRun = RunK3n({"image", dir.file("band4.fse"), "-o", dir.file("band4.bin")});
    EXPECT_EQ(bandRun.exitCode, 2);
    EXPECT_TRUE(bandRun.err.contains("band 4")) << bandRun.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.file("band4.bin")));
}

TEST(CliRadio, ImageAndUnimageRoundTrip)
{
    test::ScratchDir dir;
    const QString sample = WriteSample(dir, "sample.fse");
    const QString a = dir.file("a.bin"), b = dir.file("b.bin");
    ASSERT_EQ(RunK3n({"image", sample, "-o", a, "--time", "2024-06-30 23:59"}).exitCode, 0);
    ASSERT_EQ(RunK3n({"image", sample, "-o", b, "--time", "2025-01-02 03:04"}).exitCode, 0);
    QByteArray imageA = FileBytes(a), imageB = FileBytes(b);
    ASSERT_EQ(imageA.size(), qsizetype(kMemoryImageSize));
    // Only the programming time differs.
    EXPECT_NE(imageA.mid(radio_addr::kProgramTime, 6), imageB.mid(radio_addr::kProgramTime, 6));
    EXPECT_EQ(imageA.remove(radio_addr::kProgramTime, 6), imageB.remove(radio_addr::kProgramTime, 6));
    EXPECT_EQ(uint8_t(FileBytes(a)[radio_addr::kBandCode]), BandRadioCode(1));   // the sample's band

    const QString back = dir.file("back.fse");
    const test::ToolRun r = RunK3n({"unimage", a, "-o", back});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(FileBytes(back), FileBytes(sample));

    // Not an image: an input not recognised, nothing written.
    for (qsizetype size : {8191, 8193}) {
        WriteFileBytes(dir.file("odd.bin"), QByteArray(size, '\0'));
        EXPECT_EQ(RunK3n({"unimage", dir.file("odd.bin"), "-o", dir.file("no.fse")}).exitCode, 2) << size;
    }
    EXPECT_FALSE(QFileInfo::exists(dir.file("no.fse")));
}

TEST(CliRadio, ReadChecksItsOutputFirstAndStopsOnSignals)
{
    test::ScratchDir dir;
    auto quick = StartRadio();
    const test::ToolRun nowhere = RunK3n({"read", "--port", PortOf(*quick), "-o", dir.file("no/such/folder/out.fse")});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_TRUE(nowhere.err.contains("cannot write") && nowhere.err.contains("the radio was not read"))
        << nowhere.err.toStdString();
    EXPECT_TRUE(quick->frames().empty());

    // Interrupted, hung up or told to end: the session stops, the port is let go, nothing is written.
    auto radio = StartPacedRadio();
    const ExclusiveMode mode(PortOf(*radio));
    ASSERT_TRUE(mode.opened());
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        const QString out = dir.file("out.fse");
        const std::size_t before = radio->frames().size();
        QProcess reader;
        reader.start(QStringLiteral(K3N_CLI_PATH), {"read", "--port", PortOf(*radio), "-o", out});
        ASSERT_TRUE(reader.waitForStarted());
        ASSERT_TRUE(radio->WaitFor([&](const RadioEmulator& r) { return r.frames().size() >= before + 3; }, 10s));
        ::kill(pid_t(reader.processId()), signal);
        ASSERT_TRUE(reader.waitForFinished(10000));
        EXPECT_EQ(reader.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(reader.exitCode(), 1);
        EXPECT_TRUE(QString::fromUtf8(reader.readAllStandardError()).contains("cancelled; nothing was written"));
        EXPECT_FALSE(QFileInfo::exists(out));
        EXPECT_FALSE(mode.isSet());
    }
}

TEST(CliRadio, AReaderKilledMidReadLeavesTheVirtualRadioUsable)
{
    test::ScratchDir dir;
    const QString sample = WriteSample(dir, "sample.fse", 0);
    auto radio = StartPacedRadio();
    RadioData data;
    ASSERT_FALSE(LoadFseFile(sample, data));
    MemoryImage memory = GetDataForWrite(data, ProgramTime{2024, 6, 30, 23, 59});
    memory[radio_addr::kBandCode] = BandRadioCode(0);
    radio->setMemory(memory);
    const ExclusiveMode mode(PortOf(*radio));
    ASSERT_TRUE(mode.opened());

    // Killed as a signal no program can catch: its exclusive mode outlives it on the held terminal.
    QProcess reader;
    reader.start(QStringLiteral(K3N_CLI_PATH), {"read", "--port", PortOf(*radio), "-o", dir.file("killed.fse")});
    ASSERT_TRUE(reader.waitForStarted());
    ASSERT_TRUE(radio->WaitFor([](const RadioEmulator& r) { return r.frames().size() >= 5; }, 10s));
    EXPECT_TRUE(mode.isSet());
    ::kill(pid_t(reader.processId()), SIGKILL);
    ASSERT_TRUE(reader.waitForFinished(10000));
    EXPECT_TRUE(mode.WaitUntil(false, 5s)) << "the virtual radio kept the dead reader's exclusive mode";

    // The next read starts afresh at its greeting and reads the whole radio.
    const QString out = dir.file("out.fse");
    const test::ToolRun next = RunK3n({"read", "--port", PortOf(*radio), "-o", out});
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_EQ(FileBytes(out), FileBytes(sample));
}

TEST(CliRadio, TheVirtualRadioCommandLetsGoOfAKilledReader)
{
    QProcess virtualRadio;
    virtualRadio.start(QStringLiteral(K3N_CLI_PATH), {"virtual-radio"});
    ASSERT_TRUE(virtualRadio.waitForStarted());
    QString printed;
    static const QRegularExpression device(QStringLiteral("^Virtual K3N radio on (\\S+)$"),
                                           QRegularExpression::MultilineOption);
    while (!device.match(printed).hasMatch() && virtualRadio.waitForReadyRead(10000))
        printed += QString::fromUtf8(virtualRadio.readAllStandardOutput());
    const QString port = device.match(printed).captured(1);
    ASSERT_FALSE(port.isEmpty()) << printed.toStdString();
    const ExclusiveMode mode(port);
    ASSERT_TRUE(mode.opened());

    test::ScratchDir dir;
    QProcess reader;
    reader.start(QStringLiteral(K3N_CLI_PATH), {"read", "--port", port, "-o", dir.file("killed.fse")});
    ASSERT_TRUE(reader.waitForStarted());
    ASSERT_TRUE(mode.WaitUntil(true, 10s));   // opened: the session waits a moment before its greeting
    ::kill(pid_t(reader.processId()), SIGKILL);
    ASSERT_TRUE(reader.waitForFinished(10000));
    EXPECT_TRUE(mode.WaitUntil(false, 5s)) << "k3n virtual-radio kept the dead reader's exclusive mode";
    EXPECT_EQ(RunK3n({"read", "--port", port, "-o", dir.file("out.fse")}).exitCode, 0);

    ::kill(pid_t(virtualRadio.processId()), SIGTERM);
    ASSERT_TRUE(virtualRadio.waitForFinished(10000));
    EXPECT_EQ(virtualRadio.exitCode(), 0);
}

TEST(CliRadio, PortsListsNameDeviceAndDescription)
{
    const test::ToolRun r = RunK3n({"ports"});
    EXPECT_EQ(r.exitCode, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());   // the list is never empty: COM1..COM4 when nothing is found
    static const QRegularExpression line(QStringLiteral("^COM[0-9]+ +/\\S+( .*)?$"));
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(line.match(lines[i]).hasMatch()) << lines[i].toStdString();
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral("COM%1 ").arg(i + 1))) << lines[i].toStdString();
    }
}

}   // namespace
}   // namespace k3n
