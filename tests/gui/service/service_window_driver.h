// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the service windows as a user does, with the factory data and the
// radio data of one run, and a transfer runner that a test scripts.
#include "programming/service_data.h"
#include "service/service_context.h"
#include "support/main_window_fixture.h"
#include "support/test_support.h"
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace k3n {
inline void PrintTo(const ServiceTransferRequest& r, std::ostream* os)
{
    *os << "{kind " << int(r.kind) << (r.direction == Direction::Read ? ", read}" : ", write}");
}
}   // namespace k3n

namespace k3n::test {

// The data of one run and a scripted stand-in for the programming session window.
struct ServiceRun {
    ServiceData service;
    RadioData radio;
    std::vector<ServiceTransferRequest> requests;
    // What the session does with a request: change the fields as a read would, and succeed or fail.
    std::function<bool(const ServiceTransferRequest&)> session = [](const ServiceTransferRequest&) { return true; };

    ServiceContext context()
    {
        return {service, radio, [this](const ServiceTransferRequest& r) {
                    requests.push_back(r);
                    return session(r);
                }};
    }
};

// Tabs into the box and replaces its text by typing.
inline void TypeInto(QLineEdit* box, const QString& keys)
{
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, keys);
    QApplication::processEvents();
}

// Moves the focus to another control of the same window, as a Tab would.
inline void Leave(QWidget* to)
{
    to->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

inline void TypeAndLeave(QLineEdit* box, const QString& keys, QWidget* next)
{
    TypeInto(box, keys);
    Leave(next);
}

// Handles each modal window that opens (a notice, a child window) with
// 'handle', which must close it, or else rejects it. Records what opened.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void(QDialog*)> handle = {}) : handle_(std::move(handle))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!modal || modal == ignored_)
                return;
            opened.push_back(modal->metaObject()->className());
            ignored_ = modal;
            if (handle_)
                handle_(modal);
            else
                modal->reject();
        });
        // Polls on the event loop of whatever modal window runs; no real-time waiting.
        timer_.start(0);
    }
    std::vector<std::string> opened;

private:
    std::function<void(QDialog*)> handle_;
    QTimer timer_;
    QDialog* ignored_ = nullptr;
};

// The text of a notice window (TUserWarnDlg).
inline QString NoticeText(QDialog* notice)
{
    auto* label = notice->findChild<QLabel*>("WarnDlgText");
    return label ? label->text() : QString();
}

}   // namespace k3n::test
