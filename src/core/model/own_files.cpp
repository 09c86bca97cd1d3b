// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/own_files.h"
#include "model/native_path.h"
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k3n {

bool IsRegularFile(const QString& path)
{
    struct stat st {};
    return ::stat(NativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const QString& path)
{
    struct stat st {};
    return ::lstat(NativePath(path).constData(), &st) == 0;
}

QDateTime LastModified(const QString& path)
{
    struct stat st {};
    if (::stat(NativePath(path).constData(), &st) != 0)
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1'000'000);
}

std::optional<FileError> ReadRegularFile(const QString& path, QByteArray& bytes)
{
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileError::FromErrno(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        FileError error;
        error.kind = FileError::Kind::NotARegularFile;
        return error;
    }
    QByteArray read;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const FileError error = FileError::FromErrno(errno);
            ::close(fd);
            return error;
        }
        if (n == 0)
            break;
        read.append(buffer, n);
    }
    ::close(fd);
    bytes = read;
    return std::nullopt;
}

int MakeFolders(const QString& folder)
{
    const QByteArray path = NativePath(folder);
    struct stat st {};
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    // Each folder on the way, from the top; one that is there already is fine.
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        if (!part.isEmpty() && ::mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return errno;
        if (slash < 0)
            break;
    }
    if (::stat(path.constData(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

QStringList FolderEntryNames(const QString& folder)
{
    QStringList names;
    DIR* dir = ::opendir(NativePath(folder).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << PathFromNative(name);
    }
    ::closedir(dir);
    return names;
}

bool RemoveFile(const QString& path)
{
    return ::unlink(NativePath(path).constData()) == 0;
}

}   // namespace k3n
