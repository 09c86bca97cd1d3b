// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The copy of an unsaved configuration kept against a crash: where it lives
// and when it is written. The clock is the caller's, in milliseconds.
#include <QString>
#include <QtGlobal>
#include <optional>

namespace k3n {

// <user data folder>/autosave.fse
QString AutosaveFilePath();

// Writes at most once per interval, as soon as that allows after a change.
class AutosaveSchedule {
public:
    static constexpr qint64 kIntervalMs = 30'000;

    // The configuration now differs from the one last opened or saved.
    void noteChange(qint64 nowMs);
    // It equals that one again (saved, or changed back): nothing to write.
    void noteClean();
    void noteWritten(qint64 nowMs);

    bool isPending() const { return changedAt_.has_value(); }
    // Whether a copy should be written now.
    bool isDue(qint64 nowMs) const;
    // Milliseconds until the pending copy is due (0 when due); -1 when nothing is pending.
    qint64 msUntilDue(qint64 nowMs) const;

private:
    std::optional<qint64> changedAt_;   // first change not yet in a copy
    std::optional<qint64> writtenAt_;
};

} // namespace k3n
