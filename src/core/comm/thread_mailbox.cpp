// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/thread_mailbox.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>

#include <stdexcept>

namespace HalvexComm32 {

TThreadMailbox::TThreadMailbox(QObject* owner) : QObject(owner)
{
    // A thread without an event loop (a plain std::thread driving a session
    // by blocking waits) can never take the calls: they are not kept.
    if (!QAbstractEventDispatcher::instance())
        return;
    if (!wake_.Create())
        throw std::runtime_error("no file descriptor left for a thread mailbox");
    notifier_ = new QSocketNotifier(wake_.Fd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TThreadMailbox::DeliverWaiting);
}

TThreadMailbox::~TThreadMailbox()
{
    delete notifier_;   // before the descriptor it watches is closed
}

void TThreadMailbox::Post(std::function<void()> call)
{
    if (!notifier_)
        return;
    std::lock_guard<std::mutex> guard(lock_);
    calls_.push_back(std::move(call));
    if (calls_.size() == 1)
        wake_.Set();
}

void TThreadMailbox::DeliverWaiting()
{
    // One at a time from the shared queue: a call that runs a nested event
    // loop lets that loop deliver the next ones, and this loop then goes on
    // with whatever is still waiting, so the order holds either way.
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (calls_.empty()) {
                wake_.Reset();
                return;
            }
            call = std::move(calls_.front());
            calls_.pop_front();
        }
        call();
    }
}

}   // namespace HalvexComm32
