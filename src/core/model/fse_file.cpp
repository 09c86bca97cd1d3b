// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fse_file.h"
#include "model/native_path.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k3n {

namespace {

// The file is read and written with the system calls themselves, so that every
// failure keeps its errno and can be told to the user in their language.

FileError LastError()
{
    return FileError::FromErrno(errno);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now; false (errno set) when the close reports a failed write.
    bool close() { const int fd = fd_; fd_ = -1; return ::close(fd) == 0; }
private:
    int fd_;
};

// Reads up to size bytes; stops early only at the end of the file.
std::optional<FileError> ReadUpTo(int fd, uint8_t* out, std::size_t size, std::size_t& got)
{
    got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, out + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return LastError();
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    return std::nullopt;
}

std::optional<FileError> WriteAll(int fd, const uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
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

void SyncFolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::optional<FileError> LoadFseFile(const QString& path, RadioData& data)
{
    Fd file(::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return LastError();
    std::array<uint8_t, RadioRecord::kSize> bytes{};
    std::size_t got = 0;
    if (auto error = ReadUpTo(file.get(), bytes.data(), bytes.size(), got))
        return error;
    // A short file would replace only the start of the record and leave a
    // mixture of two configurations.
    if (got < bytes.size()) {
        FileError error;
        error.kind = FileError::Kind::TooShort;
        error.size = qint64(got);
        return error;
    }
    std::copy(bytes.begin(), bytes.end(), data.record.bytes().begin());
    data.SelectBandLimits();
    return std::nullopt;
}

namespace {

// The record in a new temporary file beside target, written through and closed.
// With a mode, the file takes it (an existing file keeps its permissions).
std::optional<FileError> WriteTemporaryBeside(const QByteArray& target, const RadioRecord& record,
                                              std::optional<mode_t> mode, QByteArray& tempPath,
                                              const QByteArray& extra = {})
{
    Fd temp(CreateTemporaryBeside(target, tempPath));
    if (temp.get() < 0)
        return LastError();
    const auto bytes = record.bytes();
    std::optional<FileError> error = WriteAll(temp.get(), bytes.data(), bytes.size());
    if (!error && !extra.isEmpty())
        error = WriteAll(temp.get(), reinterpret_cast<const uint8_t*>(extra.constData()), std::size_t(extra.size()));
    if (!error && mode && ::fchmod(temp.get(), *mode & 07777) != 0)
        error = LastError();
    if (!error && ::fsync(temp.get()) != 0)
        error = LastError();
    if (!error && !temp.close())
        error = LastError();
    if (error)
        ::unlink(tempPath.constData());
    return error;
}

} // namespace

std::optional<FileError> SaveFseFile(const QString& path, const RadioRecord& record)
{
    // A link is followed, so the file it points at is replaced and the link stays.
    QByteArray target = NativePath(path);
    struct stat link {};
    if (::lstat(target.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(target.constData(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }

    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return FileError::FromErrno(EISDIR);

    QByteArray tempPath;
    if (auto error = WriteTemporaryBeside(target, record, exists ? std::optional(existing.st_mode) : std::nullopt, tempPath))
        return error;
    if (::rename(tempPath.constData(), target.constData()) != 0) {
        const FileError error = LastError();
        ::unlink(tempPath.constData());
        return error;
    }
    SyncFolderOf(target);
    return std::nullopt;
}

std::optional<FileError> SaveNewFseFile(const QString& path, const RadioRecord& record, const QByteArray& extra)
{
    const QByteArray target = NativePath(path);
    QByteArray tempPath;
    if (auto error = WriteTemporaryBeside(target, record, std::nullopt, tempPath, extra))
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
    if (!error)
        SyncFolderOf(target);
    return error;
}

} // namespace k3n
