// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modal_answers.h"
#include "widgets/list_windows.h"
#include "widgets/message_windows.h"
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace k3n::test {

namespace {
constexpr int kPollMs = 5;
constexpr qint64 kUntakenLimitMs = 60000;
}   // namespace

QString ShownText(QWidget* window)
{
    if (auto* notice = qobject_cast<TUserWarnDlg*>(window))
        return notice->WarnDlgText->text();
    if (auto* report = qobject_cast<ReportWindow*>(window))
        return report->sIntro->text() + QStringLiteral("\n\n") + report->tReport->toPlainText();
    ADD_FAILURE() << "neither a notice nor a report: " << (window ? window->objectName().toStdString() : "none");
    return {};
}

void AnswerNextQuestion(const char* buttonName)
{
    QTimer::singleShot(0, [buttonName] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        modal->findChild<QPushButton*>(buttonName)->click();
    });
}

ModalAnswers::ModalAnswers()
{
    QObject::connect(&poll_, &QTimer::timeout, [this] { poll(); });
    poll_.start(kPollMs);
}

ModalAnswers& ModalAnswers::then(std::function<void(QWidget*)> act)
{
    steps_.push_back({[](QWidget*) { return true; }, std::move(act)});
    return *this;
}

ModalAnswers& ModalAnswers::press(const char* button)
{
    steps_.push_back({[button](QWidget* w) { return w->findChild<QPushButton*>(button) != nullptr; },
                      [button](QWidget* w) { w->findChild<QPushButton*>(button)->click(); }});
    return *this;
}

ModalAnswers& ModalAnswers::pressEscape()
{
    return then([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
}

ModalAnswers& ModalAnswers::readNotice(QString* text)
{
    return then([text](QWidget* w) {
        *text = ShownText(w);
        w->findChild<QPushButton*>("OKBtn")->click();
    });
}

ModalAnswers& ModalAnswers::type(const QString& text)
{
    return then([text](QWidget* w) {
        auto* box = w->findChild<QLineEdit*>();
        ASSERT_NE(box, nullptr) << "no input box";
        box->setFocus();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    });
}

ModalAnswers& ModalAnswers::closeOthers()
{
    closeOthers_ = true;
    return *this;
}

void ModalAnswers::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (busy_ || !modal)
        return;
    if (!steps_.empty() && steps_.front().takes(modal))
        return actOn(modal, true, 0);
    for (std::size_t i = 0; i < answers_.size(); ++i)
        if (answers_[i].takes(modal))
            return actOn(modal, false, i);
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (modal != untaken_) {
        untaken_ = modal;
        untakenFor_.start();
    }
    if (dialog && (closeOthers_ || untakenFor_.elapsed() > kUntakenLimitMs))
        dialog->reject();
}

void ModalAnswers::actOn(QWidget* modal, bool asStep, std::size_t answer)
{
    busy_ = true;
    untaken_ = nullptr;
    // By the time the event loop gets here a window that was closing may be
    // gone; what would have acted on it waits for the next one.
    QTimer::singleShot(0, &poll_, [this, asStep, answer, modal = QPointer<QWidget>(modal)] {
        busy_ = false;
        if (!modal || modal != QApplication::activeModalWidget())
            return;
        if (!asStep)
            return answers_[answer].act(modal);
        if (steps_.empty())
            return;
        Answer step = std::move(steps_.front());
        steps_.pop_front();
        QStringList labels;
        for (QLabel* label : modal->findChildren<QLabel*>())
            labels << label->text();
        shown_.emplace_back(labels.join('\n'), modal->windowTitle());
        step.act(modal);
    });
}

}   // namespace k3n::test
