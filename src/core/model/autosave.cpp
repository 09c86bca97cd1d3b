// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/autosave.h"
#include "model/fse_file.h"
#include "model/native_path.h"
#include "model/own_files.h"
#include <QRegularExpression>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace k3n {

namespace {

constexpr int kMaxOwnNames = 100;

QString LockPathOf(const QString& copyPath)
{
    return copyPath.chopped(int(qstrlen(".fse"))) + QStringLiteral(".lock");
}

}   // namespace

void AutosaveSchedule::noteChange(qint64 nowMs)
{
    if (!changedAt_)
        changedAt_ = nowMs;
}

void AutosaveSchedule::noteClean()
{
    changedAt_.reset();
}

void AutosaveSchedule::noteWritten(qint64 nowMs)
{
    changedAt_.reset();
    writtenAt_ = nowMs;
}

qint64 AutosaveSchedule::msUntilDue(qint64 nowMs) const
{
    if (!changedAt_)
        return -1;
    const qint64 dueAt = writtenAt_ ? std::max(*changedAt_, *writtenAt_ + kIntervalMs) : *changedAt_;
    return std::max<qint64>(0, dueAt - nowMs);
}

bool AutosaveSchedule::isDue(qint64 nowMs) const
{
    return msUntilDue(nowMs) == 0;
}

AutosaveLock::~AutosaveLock()
{
    release();
}

AutosaveLock::AutosaveLock(AutosaveLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), lockPath_(std::move(other.lockPath_))
{}

AutosaveLock& AutosaveLock::operator=(AutosaveLock&& other) noexcept
{
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        lockPath_ = std::move(other.lockPath_);
    }
    return *this;
}

bool AutosaveLock::take(const QString& copyPath)
{
    release();
    const QString lockPath = LockPathOf(copyPath);
    // Never through a link, never waiting on a FIFO put in its place.
    const int fd =
        ::open(NativePath(lockPath).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    lockPath_ = lockPath;
    return true;
}

void AutosaveLock::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

OwnAutosave::OwnAutosave(QString folder) : folder_(std::move(folder)) {}

std::optional<FileError> OwnAutosave::write(const RadioRecord& record)
{
    if (const int reason = MakeFolders(folder_))
        return FileError::FromErrno(reason);
    // A name of our own: its lock is ours and no copy has it. A copy under our
    // process number is one a program before us left, to be offered, not overwritten.
    for (int n = 1; !lock_.held() && n <= kMaxOwnNames; ++n) {
        const QString suffix = n == 1 ? QString() : QStringLiteral("-%1").arg(n);
        const QString path = QStringLiteral("%1/autosave-%2%3.fse").arg(folder_).arg(::getpid()).arg(suffix);
        if (lock_.take(path) && !PathExists(path))
            path_ = path;
        else
            lock_.release();
    }
    if (!lock_.held())
        return FileError::FromErrno(EAGAIN);
    return SaveFseFile(path_, record);
}

void OwnAutosave::remove()
{
    if (!path_.isEmpty())
        RemoveFile(path_);
}

void OwnAutosave::removeAtExit()
{
    remove();
    if (lock_.held())
        RemoveFile(lock_.lockPath());
    lock_.release();
}

void LeftAutosave::discard()
{
    if (!lock.held())
        return;   // not ours to remove
    RemoveFile(path);
    RemoveFile(lock.lockPath());
    lock.release();
}

std::vector<LeftAutosave> ClaimLeftAutosaves(const QString& folder)
{
    static const QRegularExpression copyName(QStringLiteral("^autosave(-\\d+(-\\d+)?)?\\.fse$"));
    std::vector<LeftAutosave> copies;
    for (const QString& name : FolderEntryNames(folder)) {
        if (!copyName.match(name).hasMatch())
            continue;
        LeftAutosave copy;
        copy.path = folder + QLatin1Char('/') + name;
        // Only a copy no running program holds, and only a regular file: a FIFO would hang the reading.
        if (!IsRegularFile(copy.path) || !copy.lock.take(copy.path))
            continue;
        if (!IsRegularFile(copy.path))   // removed by its program just before the lock was taken
            continue;
        copy.written = LastModified(copy.path);
        copies.push_back(std::move(copy));
    }
    std::sort(copies.begin(), copies.end(),
              [](const LeftAutosave& a, const LeftAutosave& b) { return a.written > b.written; });
    return copies;
}

}   // namespace k3n
