// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a file could not be read or written, told in the interface language.
#include <QString>
#include <cstdint>

namespace k3n {

struct FileError {
    enum class Kind {
        NotFound,
        PermissionDenied,
        IsADirectory,
        NotADirectory,
        DiskFull,
        ReadOnlyFileSystem,
        TooShort,   // shorter than a configuration; size holds its length
        NotARegularFile,   // a FIFO, device or socket where a file of ours should be
        Other,   // systemText holds the system's own wording
    };

    Kind kind = Kind::Other;
    QString systemText;
    qint64 size = 0;

    // The error of a failed system call; the common ones have texts of our own.
    static FileError FromErrno(int errnoValue);
    // The reason in the interface language: "permission denied", "磁盘已满", ...
    QString message() const;
};

}   // namespace k3n
