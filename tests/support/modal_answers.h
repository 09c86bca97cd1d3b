// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Answers the modal windows a test brings up, as a user would, from a poll of
// the window in front every few milliseconds.
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace k3n::test {

// What a notice or a report window shows: its text, or its intro and then its list.
QString ShownText(QWidget* window);

// Answers the next modal question by pressing the button of this object name.
void AnswerNextQuestion(const char* buttonName);

// Each modal window in front goes to the next step waiting for it (steps are
// taken in turn, once each), else to the answer for its class (every time it
// is found in front), else, after closeOthers(), it is closed. Steps and
// answers act from the event loop, not inside the poll, so that a button that
// opens another modal window does not hold the poll up. A window nothing
// takes for a minute is closed, so that a window a test never answers fails
// the test instead of hanging it.
class ModalAnswers {
public:
    ModalAnswers();
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    // The next window, whatever it is.
    ModalAnswers& then(std::function<void(QWidget*)> act);
    // The next window of this class.
    template <class Window> ModalAnswers& then(std::function<void(Window&)> act)
    {
        steps_.push_back({[](QWidget* w) { return qobject_cast<Window*>(w) != nullptr; },
                          [act = std::move(act)](QWidget* w) { act(*qobject_cast<Window*>(w)); }});
        return *this;
    }
    // The next window with a button of this name: the button is pressed.
    ModalAnswers& press(const char* button);
    ModalAnswers& pressEscape();
    // Keeps what a notice or report window shows, then presses its OK.
    ModalAnswers& readNotice(QString* text);
    // Types text into an input window's box and takes it with Enter.
    ModalAnswers& type(const QString& text);

    // Every window of this class, each time it is found in front while no step takes it.
    template <class Window> ModalAnswers& always(std::function<void(Window&)> act)
    {
        answers_.push_back({[](QWidget* w) { return qobject_cast<Window*>(w) != nullptr; },
                            [act = std::move(act)](QWidget* w) { act(*qobject_cast<Window*>(w)); }});
        return *this;
    }
    // Any window neither a step nor an answer takes is closed.
    ModalAnswers& closeOthers();

    // No step waits.
    bool done() const { return steps_.empty(); }
    // The steps taken, and the labels and title of the window each one answered.
    std::size_t answered() const { return shown_.size(); }
    QString textOf(std::size_t step) const { return shown_.at(step).first; }
    QString titleOf(std::size_t step) const { return shown_.at(step).second; }

private:
    struct Answer {
        std::function<bool(QWidget*)> takes;
        std::function<void(QWidget*)> act;
    };
    void poll();
    void actOn(QWidget* modal, bool asStep, std::size_t answer);

    std::deque<Answer> steps_;
    std::vector<Answer> answers_;
    bool closeOthers_ = false;
    std::vector<std::pair<QString, QString>> shown_;
    QTimer poll_;
    bool busy_ = false;   // an act waits for the event loop
    QPointer<QWidget> untaken_;   // the window in front that nothing took, since untakenFor_
    QElapsedTimer untakenFor_;
};

}   // namespace k3n::test
