// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names as the system holds them: bytes, usually UTF-8, but not always
// (a folder named in a single-byte code page). A byte that is no part of
// valid UTF-8 is kept in the QString as one of the code units U+DC80..U+DCFF,
// so a name read from the system goes back to it byte for byte.
#include <QByteArray>
#include <QString>

namespace k3n {

// The name as a QString; equal to QFile::decodeName for valid UTF-8.
QString PathFromNative(const QByteArray& bytes);
// The bytes of the name for a system call; equal to QFile::encodeName for any
// name without kept bytes.
QByteArray NativePath(const QString& path);
// The name as text shows it (and a regular expression can match it): each kept
// byte as U+FFFD. Not for a system call.
QString ShownPath(const QString& path);

}   // namespace k3n
