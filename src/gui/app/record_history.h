// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history of the configuration. A step is the record's bytes before
// and after one user action; the history keeps the record as of its last
// step and turns a difference into a step when told that an action ended.
// Undo and redo put a step's bytes back into the record; the record stays the
// only copy anyone edits.
#include "model/radio_data.h"
#include "widgets/edit_command.h"
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>

namespace k3n {

class RecordHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kStepLimit = 1000;

    // showRecord reloads every view from the record after an undo or redo.
    RecordHistory(RadioData& data, std::function<void()> showRecord, QObject* parent = nullptr);
    ~RecordHistory() override;

    // Ends a user action: a record that differs from the last step's becomes
    // a step called name. Returns whether a step was made.
    bool recordStep(StepName name);
    void undo();
    void redo();

    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    // The names of the steps undo and redo would take; empty when there is none.
    QString undoName() const;
    QString redoName() const;
    int stepCount() const { return stack_.count(); }

signals:
    // The steps or the position among them changed.
    void changed();

private:
    class Step;
    void applyBytes(const RadioRecord& bytes);
    const Step* stepAt(int index) const;

    RadioData& data_;
    std::function<void()> showRecord_;
    QUndoStack stack_;
    RadioRecord recorded_;   // the record as of the current step
    bool applying_ = false;   // reloading the views after an undo is no user action
};

} // namespace k3n
