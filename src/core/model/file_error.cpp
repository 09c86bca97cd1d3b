// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/file_error.h"

#include "model/radio_record.h"
#include "text/own_texts.h"

#include <cerrno>
#include <cstring>

namespace k3n {

FileError FileError::FromErrno(int errnoValue)
{
    FileError error;
    switch (errnoValue) {
    case ENOENT: error.kind = Kind::NotFound; break;
    case EACCES:
    case EPERM: error.kind = Kind::PermissionDenied; break;
    case EISDIR: error.kind = Kind::IsADirectory; break;
    case ENOTDIR: error.kind = Kind::NotADirectory; break;
    case ENOSPC:
    case EDQUOT: error.kind = Kind::DiskFull; break;
    case EROFS: error.kind = Kind::ReadOnlyFileSystem; break;
    default: error.kind = Kind::Other; break;
    }
    error.systemText = QString::fromLocal8Bit(std::strerror(errnoValue));
    return error;
}

QString FileError::message() const
{
    switch (kind) {
    case Kind::NotFound: return Text(OwnText::ReasonNotFound);
    case Kind::PermissionDenied: return Text(OwnText::ReasonPermissionDenied);
    case Kind::IsADirectory: return Text(OwnText::ReasonIsADirectory);
    case Kind::NotADirectory: return Text(OwnText::ReasonNotADirectory);
    case Kind::DiskFull: return Text(OwnText::ReasonDiskFull);
    case Kind::ReadOnlyFileSystem: return Text(OwnText::ReasonReadOnlyFileSystem);
    case Kind::TooShort: return Text(OwnText::ReasonTooShort).arg(size).arg(RadioRecord::kSize);
    case Kind::NotARegularFile: return Text(OwnText::ReasonNotARegularFile);
    case Kind::Other: break;
    }
    return systemText;
}

}   // namespace k3n
