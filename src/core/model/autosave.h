// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The copy of an unsaved configuration kept against a crash: where it lives
// and when it is written. The clock is the caller's, in milliseconds.
//
// Every running program keeps a copy of its own, autosave-<pid>.fse in the
// user data folder, and holds a lock (flock) on autosave-<pid>.lock beside it
// while it runs; a lock on the copy itself would be lost each time the copy is
// replaced. A copy whose lock is free was left by a program that ended without
// removing it (a crash, a signal): that one is offered back at the next start.
// A copy whose lock is held belongs to a running program and is never offered,
// removed or written over. A copy without a lock file (autosave.fse of
// earlier versions) is free.
#include "model/file_error.h"
#include "model/radio_record.h"
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace k3n {

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

// A lock held on an autosave copy's lock file; released when this goes.
class AutosaveLock {
public:
    AutosaveLock() = default;
    ~AutosaveLock();
    AutosaveLock(AutosaveLock&& other) noexcept;
    AutosaveLock& operator=(AutosaveLock&& other) noexcept;

    // Takes the lock of the copy at copyPath without waiting; false when another holds it.
    bool take(const QString& copyPath);
    bool held() const { return fd_ >= 0; }
    QString lockPath() const { return lockPath_; }
    void release();

private:
    int fd_ = -1;
    QString lockPath_;
};

// This program's own copy. The lock is taken with the first copy written and
// held until the program ends.
class OwnAutosave {
public:
    // folder: the user data folder
    explicit OwnAutosave(QString folder);

    // Writes the record as the copy, over the last one.
    std::optional<FileError> write(const RadioRecord& record);
    // Removes the copy (the configuration equals its file, or the program ends normally).
    void remove();
    // Removes the copy and the lock file: the program ends normally.
    void removeAtExit();
    // The copy's path; "" before the first write.
    QString path() const { return path_; }

private:
    QString folder_;
    QString path_;
    AutosaveLock lock_;
};

// A copy left by a program that no longer runs, held (its lock taken) while it is offered.
struct LeftAutosave {
    QString path;
    QDateTime written;
    AutosaveLock lock;

    // The copy was restored or declined: it goes, with its lock file.
    void discard();
};

// The copies in folder whose lock is free, the newest first; their locks are
// held until the returned copies go. Only regular files are taken.
std::vector<LeftAutosave> ClaimLeftAutosaves(const QString& folder);

}   // namespace k3n
