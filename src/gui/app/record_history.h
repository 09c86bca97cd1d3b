// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history of the configuration. A step is the record's bytes before
// and after one user action; the history keeps the record as of its last
// step and turns a difference into a step when told that an action ended.
// Undo and redo put a step's bytes back into the record; the record stays the
// only copy anyone edits. A step that replaced the whole configuration (New,
// Open, a read) also takes the document, the file the record belongs to,
// from before it and back again.
#include "model/radio_data.h"
#include "widgets/edit_command.h"
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <optional>

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
    // Ends an action that replaced the configuration: the record now belongs to
    // document ("" for none). A step is made when the bytes or the document changed.
    bool recordDocumentStep(StepName name, const QString& document);
    // The document the record belongs to now; "" when it has no file.
    const QString& document() const { return document_; }
    // The document got another name without a change to undo (Save as).
    void renameDocument(const QString& document) { document_ = document; }
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
    void applyBytes(const RadioRecord& bytes, const std::optional<QString>& document);
    const Step* stepAt(int index) const;

    RadioData& data_;
    std::function<void()> showRecord_;
    QUndoStack stack_;
    RadioRecord recorded_;   // the record as of the current step
    QString document_;
    bool applying_ = false;   // reloading the views after an undo is no user action
};

}   // namespace k3n
