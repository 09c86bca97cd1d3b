// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Edit menu's commands that act on the active editor window, and the
// name an undo step is shown under.
#include <QString>
#include <functional>

namespace k3n {

enum class EditCommand {
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    InsertChannel,
    RemoveChannel,
    MoveUp,
    MoveDown,
    FillDown,
    FillSeries,
};

// What a step is called, asked for each time it is shown, so that it follows
// the interface language.
using StepName = std::function<QString()>;

}   // namespace k3n
