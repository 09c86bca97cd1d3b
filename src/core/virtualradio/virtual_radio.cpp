// SPDX-License-Identifier: GPL-3.0-or-later
#include "virtualradio/virtual_radio.h"
#include "model/whole_file.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace k3n {

namespace {

using Clock = std::chrono::steady_clock;

Error SystemError(const QString& what)
{
    return {what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno))};
}

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

bool IsSymlink(const QString& path)
{
    struct stat st {};
    return lstat(Native(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool PathExists(const QString& path)
{
    struct stat st {};
    return lstat(Native(path).constData(), &st) == 0;
}

std::optional<Error> LoadMemoryFile(const QString& path, MemoryImage& memory)
{
    std::ifstream in(Native(path).constData(), std::ios::binary);
    if (!in)
        return Error{QStringLiteral("cannot read ") + path};
    MemoryImage loaded{};
    in.read(reinterpret_cast<char*>(loaded.data()), std::streamsize(loaded.size()));
    if (in.gcount() != std::streamsize(loaded.size()) || in.peek() != std::char_traits<char>::eof())
        return Error{path + QStringLiteral(" is not a radio memory file (it must hold exactly 8192 bytes)")};
    memory = loaded;
    return std::nullopt;
}

}   // namespace

VirtualRadio::VirtualRadio(VirtualRadioOptions options) : options_(std::move(options))
{
    emulator_.SetSerialNumber(options_.serial_number);
    emulator_.SetFirmware(options_.firmware_model, options_.firmware_band, options_.firmware_version);
    emulator_.SetBand(options_.band.value_or(0));
    emulator_.SetFault(options_.fault);
}

VirtualRadio::~VirtualRadio()
{
    Stop();
}

std::optional<Error> VirtualRadio::Start()
{
    if (!options_.memory_file.isEmpty() && PathExists(options_.memory_file)) {
        if (auto error = LoadMemoryFile(options_.memory_file, emulator_.memory()))
            return error;
        if (options_.band)
            emulator_.SetBand(*options_.band);
    }

    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return SystemError(QStringLiteral("cannot open a pseudo-terminal"));
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
        const Error error = SystemError(QStringLiteral("cannot set up the pseudo-terminal"));
        CloseLink();
        return error;
    }
    devicePath_ = QFile::decodeName(name);
    // Holding the terminal side open keeps the link up while no program has it open, and
    // lets us make it raw (no echo) before anyone talks on it.
    heldSlave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (heldSlave_ < 0 || tcgetattr(heldSlave_, &tio) != 0) {
        const Error error = SystemError(QStringLiteral("cannot open ") + devicePath_);
        CloseLink();
        return error;
    }
    cfmakeraw(&tio);
    tcsetattr(heldSlave_, TCSANOW, &tio);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

    if (!options_.link_path.isEmpty()) {
        if (PathExists(options_.link_path) && !IsSymlink(options_.link_path)) {
            CloseLink();
            return Error{options_.link_path + QStringLiteral(" exists and is not a link; not replacing it")};
        }
        unlink(Native(options_.link_path).constData());
        if (symlink(Native(devicePath_).constData(), Native(options_.link_path).constData()) != 0) {
            const Error error = SystemError(QStringLiteral("cannot make the link ") + options_.link_path);
            CloseLink();
            return error;
        }
    }

    // A program that dies with the port open leaves its exclusive mode (TIOCEXCL) on the
    // terminal, which our held side keeps alive: the next program could not open it.
    // Each close of the device is watched for (without it the radio still serves).
    closeWatch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (closeWatch_ >= 0 && inotify_add_watch(closeWatch_, name, IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        close(closeWatch_);
        closeWatch_ = -1;
    }

    stopEvent_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopEvent_ < 0) {
        const Error error = SystemError(QStringLiteral("cannot create an event"));
        CloseLink();
        return error;
    }
    thread_ = std::thread(&VirtualRadio::Serve, this);
    return std::nullopt;
}

void VirtualRadio::Stop()
{
    if (thread_.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = write(stopEvent_, &one, sizeof one);
        thread_.join();
    }
    for (int* fd : {&stopEvent_, &closeWatch_}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
    const bool wasServing = master_ >= 0 || hungUp();
    CloseLink();
    if (wasServing && !options_.memory_file.isEmpty())
        SaveMemory();
    if (!options_.link_path.isEmpty() && IsSymlink(options_.link_path)) {
        char target[256] = {};
        const QByteArray link = Native(options_.link_path);
        if (readlink(link.constData(), target, sizeof target - 1) > 0 && Native(devicePath_) == target)
            unlink(link.constData());
    }
}

void VirtualRadio::CloseLink()
{
    for (int* fd : {&master_, &heldSlave_}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
}

std::optional<Error> VirtualRadio::SaveMemory() const
{
    const MemoryImage image = memory();
    const QByteArray bytes(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
    if (auto error = WriteFileWhole(options_.memory_file, bytes))
        return Error{QStringLiteral("cannot write %1: %2").arg(options_.memory_file, error->message())};
    return std::nullopt;
}

void VirtualRadio::Serve()
{
    std::vector<uint8_t> buffer(4096);
    int endsSaved = 0;
    for (;;) {
        pollfd fds[3] = {{master_, POLLIN, 0}, {stopEvent_, POLLIN, 0}, {closeWatch_, POLLIN, 0}};
        const int answerWait = MsUntilNextAnswer(), checkWait = MsUntilNextCheck();
        const int wait = answerWait < 0 ? checkWait : checkWait < 0 ? answerWait : std::min(answerWait, checkWait);
        if (poll(fds, closeWatch_ >= 0 ? 3 : 2, wait) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (closeWatch_ >= 0 && fds[2].revents)
            NoteClose();
        ReleaseIfNoClient();
        SendDueAnswers();
        if (!fds[0].revents)
            continue;
        const ssize_t n = (fds[0].revents & POLLIN) ? read(master_, buffer.data(), buffer.size()) : -1;
        if (n <= 0) {
            if (fds[0].revents & (POLLHUP | POLLERR)) {   // cannot happen while the terminal is held; never spin
                pollfd stop{stopEvent_, POLLIN, 0};
                poll(&stop, 1, 100);
            }
            continue;
        }

        std::vector<uint8_t> answer;
        bool hungUp = false;
        bool greetingOnly = false;
        int ends = 0;
        {
            std::lock_guard lock(mutex_);
            const std::size_t framesBefore = emulator_.frames().size();
            answer = emulator_.Receive(std::span(buffer.data(), std::size_t(n)));
            const auto& frames = emulator_.frames();
            greetingOnly = frames.size() > framesBefore
                && std::all_of(frames.begin() + std::ptrdiff_t(framesBefore), frames.end(),
                               [](const ReceivedFrame& f) { return f.command == link::Command::Greeting; });
            hungUp = emulator_.hungUp();
            ends = emulator_.endFrames();
            if (hungUp)   // the cable is pulled: the device goes away, seen together with the flag
                CloseLink();
        }
        changed_.notify_all();
        if (hungUp)
            return;
        Answer(std::move(answer), std::size_t(n), greetingOnly);
        changed_.notify_all();
        if (ends != endsSaved && !options_.memory_file.isEmpty()) {
            endsSaved = ends;
            SaveMemory();
        }
    }
}

void VirtualRadio::Answer(std::vector<uint8_t> answer, std::size_t requestBytes, bool greetingOnly)
{
    const auto now = Clock::now();
    const bool late = greetingOnly && options_.greeting_delay.count() > 0;
    if (!late && later_.empty()) {
        SendPaced(answer, requestBytes);
        return;
    }
    if (answer.empty())
        return;
    // Behind the answers held back, never before them.
    auto due = late ? now + options_.greeting_delay : now;
    if (!later_.empty())
        due = std::max(due, later_.back().due);
    later_.push_back({due, std::move(answer), requestBytes});
}

void VirtualRadio::NoteClose()
{
    alignas(inotify_event) char events[4096];
    while (read(closeWatch_, events, sizeof events) > 0) {
    }
    checkUntil_ = Clock::now() + std::chrono::seconds(2);
}

void VirtualRadio::ReleaseIfNoClient()
{
    if (!checkUntil_)
        return;
    // The serial engine holds a lock on the port for as long as it has it open.
    if (flock(heldSlave_, LOCK_EX | LOCK_NB) != 0) {
        if (Clock::now() >= *checkUntil_)
            checkUntil_.reset();   // another program has the port; its own close will be seen
        return;
    }
    flock(heldSlave_, LOCK_UN);
    checkUntil_.reset();
    ioctl(heldSlave_, TIOCNXCL);
    tcflush(heldSlave_, TCIOFLUSH);   // answers nobody read, and what the program sent half
    later_.clear();
    {
        std::lock_guard lock(mutex_);
        emulator_.ClientGone();
    }
    changed_.notify_all();
}

int VirtualRadio::MsUntilNextCheck() const
{
    constexpr int kCheckEveryMs = 10;
    return checkUntil_ ? kCheckEveryMs : -1;
}

void VirtualRadio::SendDueAnswers()
{
    const auto now = Clock::now();
    std::size_t sent = 0;
    for (; sent < later_.size() && later_[sent].due <= now; ++sent)
        SendPaced(later_[sent].bytes, later_[sent].requestBytes);
    later_.erase(later_.begin(), later_.begin() + std::ptrdiff_t(sent));
}

int VirtualRadio::MsUntilNextAnswer() const
{
    if (later_.empty())
        return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(later_.front().due - Clock::now());
    return int(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
}

void VirtualRadio::SendPaced(const std::vector<uint8_t>& answer, std::size_t requestBytes)
{
    if (options_.baud <= 0) {
        std::size_t done = 0;
        while (done < answer.size()) {
            const ssize_t w = write(master_, answer.data() + done, answer.size() - done);
            if (w > 0) {
                done += std::size_t(w);
            } else if (w < 0 && errno == EAGAIN) {   // the program is not reading: wait a little, then give up
                pollfd out{master_, POLLOUT, 0};
                if (poll(&out, 1, 200) <= 0)
                    return;
            } else if (w < 0 && errno != EINTR) {
                return;
            }
        }
        return;
    }
    // Ten bits a byte. The request arrived (at wire speed) before the answer can start.
    const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / options_.baud);
    const auto now = Clock::now();
    inboundFree_ = std::max(now, inboundFree_) + byteTime * std::ptrdiff_t(requestBytes);
    const auto start = std::max(inboundFree_, outboundFree_);
    for (std::size_t i = 0; i < answer.size(); ++i) {
        std::this_thread::sleep_until(start + byteTime * std::ptrdiff_t(i + 1));
        if (write(master_, &answer[i], 1) != 1)
            return;
    }
    outboundFree_ = start + byteTime * std::ptrdiff_t(answer.size());
}

void VirtualRadio::SetFault(FaultPlan plan)
{
    std::lock_guard lock(mutex_);
    emulator_.SetFault(plan);
}

MemoryImage VirtualRadio::memory() const
{
    std::lock_guard lock(mutex_);
    return emulator_.memory();
}

void VirtualRadio::setMemory(const MemoryImage& memory)
{
    std::lock_guard lock(mutex_);
    emulator_.memory() = memory;
}

void VirtualRadio::writeMemory(uint16_t address, std::span<const uint8_t> bytes)
{
    std::lock_guard lock(mutex_);
    MemoryImage& memory = emulator_.memory();
    std::copy_n(bytes.begin(), std::min(bytes.size(), memory.size() - std::min<std::size_t>(address, memory.size())),
                memory.begin() + address);
}

std::vector<ReceivedFrame> VirtualRadio::frames() const
{
    std::lock_guard lock(mutex_);
    return emulator_.frames();
}

int VirtualRadio::frameErrors() const
{
    std::lock_guard lock(mutex_);
    return emulator_.frameErrors();
}

bool VirtualRadio::hungUp() const
{
    std::lock_guard lock(mutex_);
    return emulator_.hungUp();
}

bool VirtualRadio::WaitFor(const std::function<bool(const RadioEmulator&)>& condition,
                           std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return condition(emulator_); });
}

}   // namespace k3n
