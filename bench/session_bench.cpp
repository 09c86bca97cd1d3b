// SPDX-License-Identifier: GPL-3.0-or-later
// A full configuration read and write against the virtual radio answering at
// the pace of a 19200-baud line, compared with the time the wire itself needs;
// then a write with its backup before and read-back after, against the sum of
// the read, write and read floors.
// Then one configuration written into 1, 2, 4 and 8 radios at once, each
// against the time of one. Last, writes of only what changed (1 and 10
// channels, and 1 channel into 8 radios at once), each against its own floor
// and against the full safe write. The radios run in a child process, so the
// CPU time measured here is the program's alone. Prints figures; never fails on speed.
#include "model/radio_data.h"
#include "model/record_layout.h"
#include "programming/link_frame.h"
#include "programming/safe_write.h"
#include "programming/session_runner.h"
#include "programming/several_radios_write.h"
#include "virtualradio/virtual_radio.h"
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace k3n;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr int kBaud = 19200;
constexpr double kByteSeconds = 10.0 / kBaud;
constexpr double kReadTarget = 1.15;
constexpr double kWriteTarget = 1.05;
constexpr double kSafeWriteTarget = 1.10;
constexpr double kSeveralRadiosTarget = 1.10;
constexpr double kCpuPerRadioTarget = 5.0;   // % of one core
constexpr double kChangedOnlyTarget = 1.10;
constexpr double kChangedOnlySpeedUpTarget = 2.4;   // against the full safe write
constexpr int kMostRadios = 8;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Measured {
    SessionOutcome outcome;
    double wall;
    double cpu;
    std::size_t frames = 0;   // a changed-only write: the write frames it sent (the most of any radio)
};

Measured RunSession(const SessionRequest& request, const std::string& port)
{
    ProgrammingSession session(request, PortPlan{false, {QString::fromStdString(port)}});
    SessionRunner runner(session);
    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    const SessionOutcome outcome = runner.Run();
    return {outcome, Seconds(Clock::now() - start).count(), CpuSeconds() - cpuBefore};
}

// A changed-only write counts as done only when no fall-back to the full write was needed.
bool WrittenAsAsked(const SafeWriteResult& result, bool changedOnly)
{
    return result.outcome == SafeWriteOutcome::Written
        && (!changedOnly || (result.changed_only && !result.changed_only->fell_back()));
}

// Backup, write and read-back in one chain, the backup going to a scratch folder.
Measured RunSafeWrite(const RadioData& data, const std::string& port, bool changedOnly = false)
{
    QTemporaryDir folder;
    SafeWriteOptions options;
    options.backup_folder = folder.path();
    options.changed_only = changedOnly;
    SafeWrite chain(data, LocalProgramTimeNow(), PortPlan{false, {QString::fromStdString(port)}}, options);
    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    chain.Run();
    const bool written = WrittenAsAsked(chain.result(), changedOnly);
    return {written ? SessionOutcome::Success : SessionOutcome::CommunicationFalse,
            Seconds(Clock::now() - start).count(), CpuSeconds() - cpuBefore, chain.result().frames_written};
}

void Report(const char* what, const Measured& m, double floor, double target, const char* floorText)
{
    const double ratio = m.wall / floor;
    std::printf("%-6s %-8s measured %7.3f s   floor %7.3f s   ratio %.3f (target <= %.2f: %s)   cpu %5.1f %% of wall\n",
                what, m.outcome == SessionOutcome::Success ? "ok" : "FAILED", m.wall, floor, ratio, target,
                ratio <= target ? "met" : "missed", 100.0 * m.cpu / m.wall);
    std::printf("       floor: %s\n", floorText);
}

// The radios' side, in a process of its own: serves until the parent closes the pipe.
[[noreturn]] void ServeRadios(int pathsOut, int parentGone)
{
    VirtualRadioOptions options;
    options.baud = kBaud;
    options.band = 0;
    std::vector<std::unique_ptr<VirtualRadio>> radios;
    QByteArray lines;
    for (int i = 0; i < kMostRadios; ++i) {
        radios.push_back(std::make_unique<VirtualRadio>(options));
        if (radios.back()->Start())
            break;
        lines += QFile::encodeName(radios.back()->devicePath()) + "\n";
    }
    [[maybe_unused]] ssize_t n = write(pathsOut, lines.data(), lines.size());
    close(pathsOut);
    char byte;
    while (read(parentGone, &byte, 1) > 0) {
    }
    radios.clear();
    _exit(0);
}

// One complete write (backup, write, read-back) into each of 'ports' at once.
Measured WriteSeveral(const RadioData& data, const std::vector<std::string>& ports, bool changedOnly = false)
{
    QTemporaryDir folder;
    SafeWriteOptions options;
    options.backup_folder = folder.path();
    options.changed_only = changedOnly;
    std::vector<RadioTarget> targets;
    for (const std::string& port : ports)
        targets.push_back({QString::fromStdString(port), QString::fromStdString(port)});
    SeveralRadiosWrite writes(data, LocalProgramTimeNow(), targets, options);
    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    writes.Run({}, {});
    const double wall = Seconds(Clock::now() - start).count();
    bool allWritten = true;
    std::size_t frames = 0;
    for (const SafeWriteResult& result : writes.results()) {
        allWritten = allWritten && WrittenAsAsked(result, changedOnly);
        frames = std::max(frames, result.frames_written);
    }
    return {allWritten ? SessionOutcome::Success : SessionOutcome::CommunicationFalse, wall, CpuSeconds() - cpuBefore,
            frames};
}

// A changed-only write against its floor (the two reads, and the write session's
// start and frames at one per tick) and against the full safe write of the same radios;
// the speed-up has a target for a one-channel change only.
void ReportChangedOnly(const char* what, const Measured& m, double readFloor, double startAndFirstTick,
                       double fullWrite, std::optional<double> speedUpTarget = std::nullopt)
{
    const double writeFloor = startAndFirstTick + double(m.frames + 1) * 0.100;   // the band request first
    const double floor = readFloor + writeFloor + readFloor;
    const double ratio = m.wall / floor;
    const double speedUp = fullWrite / m.wall;
    std::printf("%-12s %-8s measured %7.3f s   floor %7.3f s   ratio %.3f (target <= %.2f: %s)   "
                "full safe write %7.3f s: %.2f x faster",
                what, m.outcome == SessionOutcome::Success ? "ok" : "FAILED", m.wall, floor, ratio, kChangedOnlyTarget,
                ratio <= kChangedOnlyTarget ? "met" : "missed", fullWrite, speedUp);
    if (speedUpTarget)
        std::printf(" (target >= %.1f: %s)", *speedUpTarget, speedUp >= *speedUpTarget ? "met" : "missed");
    std::printf(
        "\n             floor: backup read %.3f + write %.3f (%zu frames and the band request) + read-back %.3f s\n",
        readFloor, writeFloor, m.frames, readFloor);
}

// 'count' channels changed, spread so that each lies in a block of its own.
RadioData WithChannelsChanged(RadioData data, int count, uint32_t offset)
{
    for (int i = 0; i < count; ++i) {
        const int n = 1 + i * 13;
        data.record.set(rec::ch::in_use(n), 1);
        data.record.set(rec::ch::rx_freq(n), 136000000u + offset + 12500u * uint32_t(n));
        data.record.set(rec::ch::tx_freq(n), 136000000u + offset + 12500u * uint32_t(n));
    }
    return data;
}

}   // namespace

int main(int argc, char** argv)
{
    int pathPipe[2], lifePipe[2];
    if (pipe(pathPipe) != 0 || pipe(lifePipe) != 0)
        return 1;
    const pid_t child = fork();
    if (child == 0) {
        close(pathPipe[0]);
        close(lifePipe[1]);
        ServeRadios(pathPipe[1], lifePipe[0]);
    }
    close(pathPipe[1]);
    close(lifePipe[0]);
    std::string paths;
    char buffer[512];
    for (ssize_t got; (got = read(pathPipe[0], buffer, sizeof buffer)) > 0;)
        paths.append(buffer, std::size_t(got));
    std::vector<std::string> ports;
    for (std::size_t from = 0, end; (end = paths.find('\n', from)) != std::string::npos; from = end + 1)
        ports.push_back(paths.substr(from, end - from));
    if (int(ports.size()) < kMostRadios) {
        std::fprintf(stderr, "session_bench: the virtual radios did not start\n");
        return 1;
    }
    const std::string port = ports.front();

    QCoreApplication app(argc, argv);
    std::printf("Programming session against the virtual radio on %s at %d baud (10 bits a byte, %.3f ms a byte)\n",
                port.c_str(), kBaud, kByteSeconds * 1000);

    const double startAndFirstTick = 0.300 + 0.300;
    const auto readPlan = TransferPlan(ConfigurationReadRequest());
    // Greeting and its answer, every request and its reply, and the end frame.
    std::size_t readBytes = link::kFrameOverhead + 2 + link::kFrameOverhead;
    for (const PlanStep& step : readPlan)
        readBytes += link::kFrameOverhead + step.size + link::kReplyOverhead;
    const double readFloor = startAndFirstTick + double(readBytes) * kByteSeconds;
    const std::string readFloorText = "0.600 s start wait and first tick + " + std::to_string(readBytes) + " bytes of "
        + std::to_string(readPlan.size()) + " requests and replies";
    for (int run = 1; run <= 3; ++run) {
        const Measured m = RunSession(ConfigurationReadRequest(), port);
        Report("read", m, readFloor, kReadTarget, readFloorText.c_str());
    }

    RadioData data;
    data.ResetForBand(0);
    const SessionRequest write = ConfigurationWriteRequest(data, LocalProgramTimeNow(), true);
    const std::size_t frames = TransferPlan(write).size() + 1;   // the band request goes first
    const double writeFloor = startAndFirstTick + double(frames) * 0.100;
    const std::string writeFloorText =
        "0.600 s start wait and first tick + " + std::to_string(frames) + " frames, one per 100 ms tick";
    Report("write", RunSession(write, port), writeFloor, kWriteTarget, writeFloorText.c_str());

    const double safeFloor = readFloor + writeFloor + readFloor;
    const std::string safeFloorText = "backup read + write + read-back floors: " + std::to_string(readFloor) + " + "
        + std::to_string(writeFloor) + " + " + std::to_string(readFloor) + " s";
    const Measured safe = RunSafeWrite(data, port);
    Report("safe", safe, safeFloor, kSafeWriteTarget, safeFloorText.c_str());

    std::printf("\nThe same complete write into several radios at once, against one radio:\n");
    double oneRadio = 0;
    double eightRadios = 0;
    for (int count : {1, 2, 4, 8}) {
        const Measured m = WriteSeveral(data, std::vector<std::string>(ports.begin(), ports.begin() + count));
        if (count == 1)
            oneRadio = m.wall;
        eightRadios = m.wall;
        const double ratio = m.wall / oneRadio;
        const double cpuPerRadio = 100.0 * m.cpu / m.wall / count;
        std::printf("N=%d    %-8s measured %7.3f s   ratio to one radio %.3f (target <= %.2f: %s)   "
                    "cpu %4.1f %% of a core per radio (target < %.0f %%: %s)\n",
                    count, m.outcome == SessionOutcome::Success ? "ok" : "FAILED", m.wall, ratio, kSeveralRadiosTarget,
                    ratio <= kSeveralRadiosTarget ? "met" : "missed", cpuPerRadio, kCpuPerRadioTarget,
                    cpuPerRadio < kCpuPerRadioTarget ? "met" : "missed");
    }

    // Every radio now holds 'data'; each case changes what its radios hold by then.
    std::printf("\nWrites of only what changed, with the same backup and read-back:\n");
    const RadioData fleet = WithChannelsChanged(data, 1, 5000);
    ReportChangedOnly("8 radios, 1", WriteSeveral(fleet, ports, true), readFloor, startAndFirstTick, eightRadios,
                      kChangedOnlySpeedUpTarget);
    const RadioData oneChannel = WithChannelsChanged(fleet, 1, 7500);
    ReportChangedOnly("1 channel", RunSafeWrite(oneChannel, port, true), readFloor, startAndFirstTick, safe.wall,
                      kChangedOnlySpeedUpTarget);
    const RadioData tenChannels = WithChannelsChanged(oneChannel, 10, 10000);
    ReportChangedOnly("10 channels", RunSafeWrite(tenChannels, port, true), readFloor, startAndFirstTick, safe.wall);

    close(lifePipe[1]);
    waitpid(child, nullptr, 0);
    return 0;
}
