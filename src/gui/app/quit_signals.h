// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SIGTERM, SIGHUP and SIGINT (a logout, a closed terminal, Ctrl+C in the
// terminal that started the program) as a Qt signal on the user-interface
// thread, so the program can end its sessions and keep the user's work
// instead of dying at once. The handler only writes the signal's number into
// a pipe, which is all a handler may safely do; the pipe's reading end wakes
// the event loop.
#include <QObject>

class QSocketNotifier;

namespace k3n {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    // Catches the signals from now on; one at a time in the process.
    explicit QuitSignals(QObject* parent = nullptr);
    // The signals take their default action again.
    ~QuitSignals() override;

signals:
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};

}   // namespace k3n
