// SPDX-License-Identifier: GPL-3.0-or-later
// k3n virtual-radio: a radio on a pseudo-terminal, for trying the program
// without a radio. Runs until interrupted.
#include "cli/command.h"
#include "cli/command_files.h"
#include "model/radio_data.h"
#include "virtualradio/virtual_radio.h"
#include <QFileInfo>
#include <csignal>
#include <pthread.h>

namespace k3n::cli {

namespace {

std::optional<int> ParseNumber(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

}   // namespace

int RunVirtualRadio(const Command& self, const Arguments& args)
{
    VirtualRadioOptions options;
    if (args.isSet("band")) {
        options.band = ParseNumber(args.value("band"), 0, kBandCount - 1);
        if (!options.band)
            return UsageError(self, QStringLiteral("--band must be 0, 1, 2 or 3, not '%1'").arg(args.value("band")));
    }
    if (args.isSet("baud")) {
        const auto rate = ParseNumber(args.value("baud"), 0, 4000000);
        if (!rate)
            return UsageError(self,
                              QStringLiteral("--baud must be a rate such as 19200, not '%1'").arg(args.value("baud")));
        options.baud = *rate;
    }
    if (args.isSet("late-greeting")) {
        const auto ms = ParseNumber(args.value("late-greeting"), 1, 60000);
        if (!ms)
            return UsageError(self,
                              QStringLiteral("--late-greeting must be milliseconds, 1..60000, not '%1'")
                                  .arg(args.value("late-greeting")));
        options.greeting_delay = std::chrono::milliseconds(*ms);
    }
    // One way of misbehaving at a time.
    const struct {
        const char* option;
        RadioFault fault;
        int low;
    } faults[] = {{"garble-session", RadioFault::LongReplies, 1},
                  {"ack-without-storing", RadioFault::AckWithoutStoring, 0},
                  {"vanish-after", RadioFault::HangUp, 0}};
    for (const auto& f : faults) {
        if (!args.isSet(f.option))
            continue;
        if (options.fault.fault != RadioFault::None)
            return UsageError(self,
                              QStringLiteral("--garble-session, --ack-without-storing and --vanish-after "
                                             "cannot be combined"));
        const auto n = ParseNumber(args.value(f.option), f.low, 1000000);
        if (!n)
            return UsageError(self,
                              QStringLiteral("--%1 must be a number from %2, not '%3'")
                                  .arg(QLatin1String(f.option))
                                  .arg(f.low)
                                  .arg(args.value(f.option)));
        options.fault.fault = f.fault;
        if (f.fault == RadioFault::LongReplies)
            options.fault.session = *n;
        else
            options.fault.after_frames = *n;
    }
    options.memory_file = args.value("memory");
    options.link_path = args.value("link");
    for (const QString& path : {options.memory_file, options.link_path})
        if (auto error = CheckInputPath(path))
            return UsageError(self, error->message);

    // The radio's thread and every later one must leave these signals to sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const QFileInfo memoryFile(options.memory_file);
    if (memoryFile.exists() && (!memoryFile.isFile() || memoryFile.size() != qint64(kMemoryImageSize)))
        return BadInput(self,
                        QStringLiteral("%1 is not a radio memory file (it must hold exactly %2 bytes)")
                            .arg(options.memory_file)
                            .arg(kMemoryImageSize));

    VirtualRadio radio(options);
    if (auto error = radio.Start())
        return Failure(self, error->message);

    const QString device = options.link_path.isEmpty() ? radio.devicePath() : options.link_path;
    const uint8_t bandCode = radio.memory()[radio_addr::kBandCode];
    Out() << "Virtual K3N radio on " << radio.devicePath() << "\n";
    if (!options.link_path.isEmpty())
        Out() << "  link:   " << device << "\n";
    for (int b = 0; b < kBandCount; ++b)
        if (BandRadioCode(b) == bandCode)
            Out() << "  band:   " << BandName(b) << "\n";
    if (!options.memory_file.isEmpty())
        Out() << "  memory: " << options.memory_file << " (kept between runs)\n";
    Out() << "Use " << device << " as the port, for example:\n"
          << "  k3n write --port " << device << " FILE.fse\n"
          << "  k3n read --port " << device << " -o OUT.fse\n"
          << "Press Ctrl-C to stop.\n";
    Out().flush();

    int received = 0;
    sigwait(&stopSignals, &received);
    radio.Stop();
    Out() << "Virtual radio stopped.\n";
    Out().flush();
    return kExitOk;
}

}   // namespace k3n::cli
