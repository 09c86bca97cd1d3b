// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual radio: its protocol engine on its own, then the real thing on a
// pseudo-terminal, talked to with plain reads and writes that have deadlines.
#include "support/test_support.h"
#include "virtualradio/virtual_radio.h"
#include <QFile>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace k3n {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
const Bytes kAck{0x52, 0x00};

TEST(RadioEmulator, AnswersFramesAndRefusesBadOnes)
{
    RadioEmulator radio;
    radio.SetBand(2);
    EXPECT_EQ(radio.Receive(link::GreetingFrame()), kAck);
    const Bytes data{1, 2, 3, 4, 5};
    EXPECT_EQ(radio.Receive(link::WriteFrame(0x1234, data)), kAck);
    EXPECT_EQ(radio.Receive(link::ReadRequest(0x1234, 5)), (Bytes{0x52, 5, 1, 2, 3, 4, 5, 0xEC}));
    EXPECT_EQ(radio.Receive(link::ReadRequest(0x0FFF, 1)), (Bytes{0x52, 1, 0x80, 0x7F}));

    // A frame in pieces, behind noise, is answered once it is whole.
    Bytes frame{0x00, 0x13};
    const Bytes request = link::ReadRequest(0x1236, 2);
    frame.insert(frame.end(), request.begin(), request.end());
    EXPECT_TRUE(radio.Receive(Bytes(frame.begin(), frame.begin() + 5)).empty());
    EXPECT_EQ(radio.Receive(Bytes(frame.begin() + 5, frame.end())), (Bytes{0x52, 2, 3, 4, 0xF7}));
    EXPECT_EQ(radio.frameErrors(), 1);

    // Wrong checksum, wrong length byte, count beyond 32 or past the memory's end: no answer, no change.
    Bytes badSum = link::WriteFrame(0x0000, data);
    badSum.back() ^= 0x01;
    Bytes badLength = link::WriteFrame(0x0000, data);
    badLength[1] = 0x08;   // claims 4 data bytes
    badLength.back() = link::Checksum(std::span(badLength).subspan(1, badLength.size() - 2));
    const MemoryImage before = radio.memory();
    for (const Bytes& bad : {badSum, badLength, link::ReadRequest(0x0000, 33), link::ReadRequest(0x1FF0, 32)}) {
        const int errors = radio.frameErrors();
        EXPECT_TRUE(radio.Receive(bad).empty());
        EXPECT_GT(radio.frameErrors(), errors);
    }
    EXPECT_EQ(radio.memory(), before);

    // Still in step afterwards.
    EXPECT_EQ(radio.Receive(link::GreetingFrame()), kAck);
    EXPECT_TRUE(radio.Receive(link::EndFrame()).empty());
    EXPECT_TRUE(radio.endSeen());
}

TEST(RadioEmulator, FaultsAfterKFrames)
{
    const Bytes data{9, 9};
    RadioEmulator silent;
    silent.SetFault({RadioFault::Silent, 2});
    EXPECT_EQ(silent.Receive(link::GreetingFrame()), kAck);
    EXPECT_EQ(silent.Receive(link::WriteFrame(0x10, data)), kAck);
    EXPECT_TRUE(silent.Receive(link::WriteFrame(0x20, data)).empty());
    EXPECT_EQ(silent.memory()[0x20], 0);   // a silent radio stores nothing
    EXPECT_EQ(silent.frames().size(), 3u);

    RadioEmulator wrong;
    wrong.SetFault({RadioFault::WrongAnswer, 1});
    EXPECT_EQ(wrong.Receive(link::GreetingFrame()), kAck);
    EXPECT_EQ(wrong.Receive(link::WriteFrame(0x10, data)), (Bytes{0x52, 0x01}));
    EXPECT_EQ(wrong.memory()[0x10], 0);
    EXPECT_EQ(wrong.Receive(link::ReadRequest(0x10, 2))[0], 0x00);
}

// The program's end of the pseudo-terminal, raw, with reads that wait at most until a deadline.
struct Terminal {
    explicit Terminal(const QString& path)
        : fd(open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios tio{};
        if (fd >= 0 && tcgetattr(fd, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(fd, TCSANOW, &tio);
        }
    }
    ~Terminal() { close(fd); }
    void Send(const Bytes& bytes) { ASSERT_EQ(write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    // Up to 'count' bytes, or fewer when 5 s pass or the line hangs up.
    Bytes Receive(std::size_t count)
    {
        Bytes got;
        const auto deadline = Clock::now() + 5000ms;
        while (got.size() < count) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollfd p{fd, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, int(left)) <= 0)
                break;
            uint8_t buf[256];
            const ssize_t n = read(fd, buf, std::min(sizeof buf, count - got.size()));
            if (n <= 0 && (n == 0 || errno != EAGAIN)) {
                hung_up = true;
                break;
            }
            got.insert(got.end(), buf, buf + std::max<ssize_t>(n, 0));
        }
        return got;
    }
    int fd;
    bool hung_up = false;
};

TEST(VirtualRadio, ServesTheLinkOnAPseudoTerminalAndHangsUpAfterKFrames)
{
    test::ScratchDir dir;
    const QString link = dir.file("radio");
    VirtualRadioOptions options;
    options.band = 3;
    options.link_path = link;
    options.fault = {RadioFault::HangUp, 3};
    VirtualRadio radio(options);
    ASSERT_EQ(radio.Start(), std::nullopt);
    const QByteArray device = QFile::encodeName(radio.devicePath());
    char target[256] = {};
    ASSERT_GT(readlink(QFile::encodeName(link).constData(), target, sizeof target - 1), 0);
    EXPECT_EQ(device, QByteArray(target));

    Terminal t(link);
    ASSERT_GE(t.fd, 0);
    t.Send(link::GreetingFrame());
    EXPECT_EQ(t.Receive(2), kAck);
    t.Send(link::ReadRequest(0x0FE0, 32));
    const Bytes reply = t.Receive(35);
    ASSERT_EQ(reply.size(), 35u);
    EXPECT_EQ(Bytes(reply.begin() + 2, reply.begin() + 10), (Bytes{'0', '0', '0', '0', '0', '0', '0', '1'}));
    EXPECT_EQ(reply[33], 0x81);   // band code at 0x0FFF
    t.Send(link::WriteFrame(0x0100, Bytes{8}));
    EXPECT_EQ(t.Receive(2), kAck);
    EXPECT_EQ(radio.memory()[0x0100], 8);

    // The fourth frame hangs up: the line closes, the device and the link go away.
    t.Send(link::GreetingFrame());
    EXPECT_TRUE(t.Receive(1).empty());
    EXPECT_TRUE(t.hung_up);
    EXPECT_TRUE(radio.WaitFor([](const RadioEmulator& e) { return e.hungUp(); }, 5000ms));
    struct stat st {};
    EXPECT_NE(stat(device.constData(), &st), 0);
    radio.Stop();
    EXPECT_NE(lstat(QFile::encodeName(link).constData(), &st), 0);
}

TEST(VirtualRadio, KeepsItsMemoryInAFile)
{
    test::ScratchDir dir;
    const QString file = dir.file("radio.bin");
    {
        VirtualRadioOptions options;
        options.memory_file = file;
        VirtualRadio radio(options);
        ASSERT_EQ(radio.Start(), std::nullopt);
        Terminal t(radio.devicePath());
        t.Send(link::WriteFrame(0x1000, Bytes{0xAB, 0xCD}));
        EXPECT_EQ(t.Receive(2), kAck);
        t.Send(link::EndFrame());
        EXPECT_TRUE(radio.WaitFor([](const RadioEmulator& e) { return e.endSeen(); }, 5000ms));
    }
    std::ifstream in(QFile::encodeName(file).constData(), std::ios::binary | std::ios::ate);
    EXPECT_EQ(in.tellg(), std::streamoff(kMemoryImageSize));

    VirtualRadioOptions again;
    again.memory_file = file;
    again.band = 1;   // the band option wins over the file's band code
    VirtualRadio radio(again);
    ASSERT_EQ(radio.Start(), std::nullopt);
    EXPECT_EQ(radio.memory()[0x1000], 0xAB);
    EXPECT_EQ(radio.memory()[0x1001], 0xCD);
    EXPECT_EQ(radio.memory()[0x0FFF], 0x01);

    // A file of the wrong size is refused, and left as it was.
    const std::string odd = dir.file("odd.bin").toStdString();
    std::ofstream(odd) << "not a radio";
    VirtualRadioOptions bad;
    bad.memory_file = QString::fromStdString(odd);
    VirtualRadio refused(bad);
    EXPECT_NE(refused.Start(), std::nullopt);
    refused.Stop();
    std::string text;
    std::getline(std::ifstream(odd), text);
    EXPECT_EQ(text, "not a radio");
}

TEST(VirtualRadio, PacesItsAnswersAtTheBaudRate)
{
    VirtualRadioOptions options;
    options.baud = 19200;
    VirtualRadio radio(options);
    ASSERT_EQ(radio.Start(), std::nullopt);
    Terminal t(radio.devicePath());
    const auto start = Clock::now();
    t.Send(link::ReadRequest(0x0000, 32));
    ASSERT_EQ(t.Receive(35).size(), 35u);
    // 7 bytes in and 35 out, 10 bits each at 19200 baud: never sooner than 21.9 ms (load only slows it).
    EXPECT_GE(Clock::now() - start, std::chrono::microseconds(42 * 10'000'000 / 19200));
}

}   // namespace
}   // namespace k3n
