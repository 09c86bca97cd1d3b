// SPDX-License-Identifier: GPL-3.0-or-later
// k3n virtual-radio: a radio on a pseudo-terminal, for trying the program
// without a radio. Runs until interrupted.
#include "cli/command.h"
#include "model/radio_data.h"
#include "virtualradio/virtual_radio.h"
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

} // namespace

int RunVirtualRadio(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption band(QStringList{"band"}, QString(), QStringLiteral("N"));
    const QCommandLineOption memory(QStringList{"memory"}, QString(), QStringLiteral("FILE"));
    const QCommandLineOption link(QStringList{"link"}, QString(), QStringLiteral("PATH"));
    const QCommandLineOption baud(QStringList{"baud"}, QString(), QStringLiteral("RATE"));
    for (const auto* option : {&band, &memory, &link, &baud})
        parser.addOption(*option);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    if (!parser.positionalArguments().isEmpty())
        return UsageError(self, QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));

    VirtualRadioOptions options;
    if (parser.isSet(band)) {
        options.band = ParseNumber(parser.value(band), 0, kBandCount - 1);
        if (!options.band)
            return UsageError(self, QStringLiteral("--band must be 0, 1, 2 or 3, not '%1'").arg(parser.value(band)));
    }
    if (parser.isSet(baud)) {
        const auto rate = ParseNumber(parser.value(baud), 0, 4000000);
        if (!rate)
            return UsageError(self, QStringLiteral("--baud must be a rate such as 19200, not '%1'").arg(parser.value(baud)));
        options.baud = *rate;
    }
    options.memory_file = parser.value(memory);
    options.link_path = parser.value(link);

    // The radio's thread and every later one must leave these signals to sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

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

} // namespace k3n::cli
