// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fse_file.h"
#include "model/native_path.h"
#include "model/whole_file.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace k3n {

namespace {

// The file is read with the system calls themselves, so that every failure
// keeps its errno and can be told to the user in their language.

FileError LastError()
{
    return FileError::FromErrno(errno);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

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

}   // namespace

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

QByteArray FseFileBytes(const RadioRecord& record, const QByteArray& extra)
{
    const auto bytes = record.bytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())) + extra;
}

std::optional<FileError> SaveFseFile(const QString& path, const RadioRecord& record)
{
    return WriteFileWhole(path, FseFileBytes(record));
}

std::optional<FileError> SaveNewFseFile(const QString& path, const RadioRecord& record, const QByteArray& extra)
{
    return WriteNewFileWhole(path, FseFileBytes(record, extra));
}

}   // namespace k3n
