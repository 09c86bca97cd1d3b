// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Base of every editor page of the main window. An editor keeps no copy of
// the configuration: each control writes its field of the record when it
// loses the focus. CommitPendingEdits runs that write for whatever control
// is being edited, so Save, Open, Read and Write see everything typed.
#include "model/radio_data.h"
#include "widgets/edit_command.h"
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

class QPushButton;

namespace k3n {

class CellGrid;

class EditorWindow : public QWidget {
    Q_OBJECT
public:
    EditorWindow(RadioData& data, QWidget* parent = nullptr);

    // Relabels the window in the current language and reloads every control from the record.
    virtual void RefreshAll() = 0;
    // Writes the value of the control being edited into the record: the focus
    // passes through bHide and goes back to the control that had it.
    void CommitPendingEdits();

    // The Edit menu's commands on this window: whether it has the command at
    // all, whether it applies to what is selected now, and running it.
    virtual bool hasCommand(EditCommand) const { return false; }
    virtual bool commandApplies(EditCommand command) const { return hasCommand(command); }
    virtual void runCommand(EditCommand) {}

signals:
    // The editor changed the whole configuration (a band change): every view must reload.
    void refreshAllViewsRequested();
    // A control's exit handler or a grid cell may have written the record: one
    // user action ended (the main window makes it an undo step if bytes changed).
    void recordWritten();
    // A command of the window ended: what it changed is one step called name.
    void commandEnded(StepName name);
    // What a command did, for the status bar ("Pasted 3 channels").
    void confirmed(const QString& text);

protected:
    // Runs handler when w loses the focus, and from CommitPendingEdits while w has it.
    void bindExit(QWidget* w, std::function<void()> handler);
    // The exit of each of the grid's cell editors commits its cell.
    void bindCellEditors(CellGrid* grid);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Gives target the focus without running the exit handler of the control
    // losing it: for an in-place editor that has written its value and closes.
    // (Hiding a control that holds the focus would pass it on like Tab.)
    void moveFocusWithoutExit(QWidget* target);

    RadioData& data_;
    QPushButton* bHide;   // the focus sink; 1x1 at the top-left corner

private:
    // The first control Tab reaches in the window; none when nothing takes the focus.
    QWidget* firstControl() const;
    static bool isOpeningItsList(QObject* watched);
    static bool mayEdit(const QEvent* event);
    QHash<QObject*, std::function<void()>> exitHandlers_;
    bool exitsSuppressed_ = false;
    // The control CommitPendingEdits gave the focus back to, its value stored:
    // leaving it runs its exit again only after input that may have changed it.
    QPointer<QWidget> storedControl_;
};

}   // namespace k3n
