// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/whole_file.h"
#include "model/native_path.h"
#include <cstdlib>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k3n {

namespace {

// The system calls themselves, so that every failure keeps its errno and can
// be told to the user in their language; Qt's QSaveFile reports success after
// a flush that failed on a full disk.

FileError LastError()
{
    return FileError::FromErrno(errno);
}

std::optional<FileError> WriteAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    std::size_t done = 0;
    const std::size_t size = std::size_t(bytes.size());
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return LastError();
        done += std::size_t(n);
    }
    return std::nullopt;
}

// A new file beside target, created with O_EXCL so nothing else is overwritten.
// The kernel applies the user's umask to its 0666.
int CreateTemporaryBeside(const QByteArray& target, QByteArray& tempPath)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".tmp-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// After a rename: the folder's entry reaches the disk too. A folder that may
// not be read cannot be flushed, and a file system that cannot flush a folder
// (EINVAL) keeps it as well as it can; a failed flush is a failure.
std::optional<FileError> SyncFolderOf(const QByteArray& path)
{
    // The bytes of the name as they are: a folder named in another code page is flushed too.
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const FileError error = LastError();
    ::close(fd);
    if (!synced)
        return error;
    return std::nullopt;
}

// The bytes in a new temporary file beside target, written through and closed.
// With a mode, the file takes it (an existing file keeps its permissions).
std::optional<FileError> WriteTemporaryBeside(const QByteArray& target, const QByteArray& bytes,
                                              std::optional<mode_t> mode, QByteArray& tempPath)
{
    const int fd = CreateTemporaryBeside(target, tempPath);
    if (fd < 0)
        return LastError();
    std::optional<FileError> error = WriteAll(fd, bytes);
    if (!error && mode && ::fchmod(fd, *mode & 07777) != 0)
        error = LastError();
    if (!error && ::fsync(fd) != 0)
        error = LastError();
    // A close can report a write that failed late (a full disk over NFS).
    if (::close(fd) != 0 && !error)
        error = LastError();
    if (error)
        ::unlink(tempPath.constData());
    return error;
}

// The file a path names: a link is followed, so that the file it points at is
// replaced and the link stays.
QByteArray TargetOf(const QString& path)
{
    QByteArray target = NativePath(path);
    struct stat link {};
    if (::lstat(target.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(target.constData(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    return target;
}

}   // namespace

std::optional<FileError> WriteFileWhole(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = TargetOf(path);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return FileError::FromErrno(EISDIR);

    QByteArray tempPath;
    if (auto error =
            WriteTemporaryBeside(target, bytes, exists ? std::optional(existing.st_mode) : std::nullopt, tempPath))
        return error;
    if (::rename(tempPath.constData(), target.constData()) != 0) {
        const FileError error = LastError();
        ::unlink(tempPath.constData());
        return error;
    }
    return SyncFolderOf(target);
}

std::optional<FileError> WriteNewFileWhole(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = NativePath(path);
    QByteArray tempPath;
    if (auto error = WriteTemporaryBeside(target, bytes, std::nullopt, tempPath))
        return error;
    // A hard link is made only when the name is free; where the file system has
    // none, a rename after a look is the best there is.
    int result = ::link(tempPath.constData(), target.constData());
    if (result != 0 && errno != EEXIST) {
        struct stat existing {};
        if (::lstat(target.constData(), &existing) == 0)
            errno = EEXIST;
        else
            result = ::rename(tempPath.constData(), target.constData());
    }
    const std::optional<FileError> error = result == 0 ? std::nullopt : std::optional(LastError());
    ::unlink(tempPath.constData());
    if (error)
        return error;
    return SyncFolderOf(target);
}

std::optional<FileError> CheckFileWritable(const QString& path)
{
    const QByteArray target = TargetOf(path);
    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0 && S_ISDIR(existing.st_mode))
        return FileError::FromErrno(EISDIR);
    QByteArray tempPath;
    const int fd = CreateTemporaryBeside(target, tempPath);
    if (fd < 0)
        return LastError();
    ::close(fd);
    ::unlink(tempPath.constData());
    return std::nullopt;
}

}   // namespace k3n
