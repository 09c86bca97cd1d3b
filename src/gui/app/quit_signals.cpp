// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quit_signals.h"
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace k3n {

namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGHUP, SIGINT};
int gPipe[2] = {-1, -1};

void OnQuitSignal(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    (void)!::write(gPipe[1], &number, 1);   // async-signal-safe; a full pipe already holds a wake-up
    errno = saved;
}

}   // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent)
{
    if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;   // the signals then end the program as they always did
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kQuitSignals)
        sigaction(signal, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    if (!notifier_)
        return;
    for (int signal : kQuitSignals)
        std::signal(signal, SIG_DFL);
    delete notifier_;
    ::close(gPipe[0]);
    ::close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

void QuitSignals::readPipe()
{
    unsigned char number = 0;
    while (::read(gPipe[0], &number, 1) == 1)
        emit received(number);
}

}   // namespace k3n
