// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hands calls from worker threads to the thread that created the mailbox, in
// the order they were posted. The queue is guarded by a mutex and the owner's
// event loop is woken through an eventfd it watches: no object
// crosses threads inside Qt's event queue, so the hand-over is one a thread
// checker can follow. The wake-up stays set while calls wait, so a nested
// event loop (a modal window opened by a call) goes on delivering the rest.
#include "comm/serial_events.h"

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

class QSocketNotifier;

namespace HalvexComm32 {

class TThreadMailbox : public QObject {
public:
    explicit TThreadMailbox(QObject* owner = nullptr);
    ~TThreadMailbox() override;

    // From any thread. A call still waiting when the mailbox is destroyed is
    // dropped, and so is every call to a mailbox made on a thread without an
    // event loop.
    void Post(std::function<void()> call);

private:
    void DeliverWaiting();

    std::mutex lock_;
    std::deque<std::function<void()>> calls_;
    TCommEvent wake_;
    QSocketNotifier* notifier_ = nullptr;
};

}   // namespace HalvexComm32
