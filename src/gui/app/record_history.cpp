// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/record_history.h"
#include <QUndoCommand>

namespace k3n {

class RecordHistory::Step : public QUndoCommand {
public:
    // Documents are given only by a step that replaced the configuration.
    struct Documents {
        QString before, after;
    };
    Step(RecordHistory& history, StepName name, const RadioRecord& before, const RadioRecord& after,
         std::optional<Documents> documents)
        : history_(history), name_(std::move(name)), before_(before), after_(after), documents_(std::move(documents))
    {}

    QString name() const { return name_(); }
    void undo() override
    {
        history_.applyBytes(before_, documents_ ? std::optional(documents_->before) : std::nullopt);
    }
    void redo() override
    {
        // Pushing a step redoes it: the record already holds those bytes.
        if (pushed_)
            history_.applyBytes(after_, documents_ ? std::optional(documents_->after) : std::nullopt);
        pushed_ = true;
    }

private:
    RecordHistory& history_;
    StepName name_;
    RadioRecord before_;
    RadioRecord after_;
    std::optional<Documents> documents_;
    bool pushed_ = false;
};

RecordHistory::RecordHistory(RadioData& data, std::function<void()> showRecord, QObject* parent)
    : QObject(parent), data_(data), showRecord_(std::move(showRecord)), recorded_(data.record)
{
    stack_.setUndoLimit(kStepLimit);
    connect(&stack_, &QUndoStack::indexChanged, this, &RecordHistory::changed);
}

RecordHistory::~RecordHistory()
{
    // Clearing the stack reports an index change; its window may be half gone by then.
    stack_.blockSignals(true);
}

bool RecordHistory::recordStep(StepName name)
{
    if (applying_ || data_.record == recorded_)
        return false;
    auto* step = new Step(*this, std::move(name), recorded_, data_.record, std::nullopt);
    recorded_ = data_.record;
    stack_.push(step);
    return true;
}

bool RecordHistory::recordDocumentStep(StepName name, const QString& document)
{
    if (applying_ || (data_.record == recorded_ && document == document_))
        return false;
    auto* step = new Step(*this, std::move(name), recorded_, data_.record, Step::Documents{document_, document});
    recorded_ = data_.record;
    document_ = document;
    stack_.push(step);
    return true;
}

void RecordHistory::undo()
{
    stack_.undo();
}

void RecordHistory::redo()
{
    stack_.redo();
}

void RecordHistory::applyBytes(const RadioRecord& bytes, const std::optional<QString>& document)
{
    applying_ = true;
    if (document)
        document_ = *document;
    data_.record = bytes;
    data_.SelectBandLimits();
    showRecord_();
    // Reloading may mend a stale reference; that belongs to this state, not to a step.
    recorded_ = data_.record;
    applying_ = false;
}

const RecordHistory::Step* RecordHistory::stepAt(int index) const
{
    return index >= 0 && index < stack_.count() ? static_cast<const Step*>(stack_.command(index)) : nullptr;
}

QString RecordHistory::undoName() const
{
    const Step* step = stepAt(stack_.index() - 1);
    return step ? step->name() : QString();
}

QString RecordHistory::redoName() const
{
    const Step* step = stepAt(stack_.index());
    return step ? step->name() : QString();
}

}   // namespace k3n
