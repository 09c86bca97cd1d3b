// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files the program keeps in its own folders (backups, the programming
// log, autosave copies, the settings file). Only regular files are read there:
// opening a FIFO, or a link to one, would wait for a writer that never comes.
// Names go to the system byte for byte (model/native_path.h).
#include "model/file_error.h"
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace k3n {

// Whether path is a regular file once links are followed.
bool IsRegularFile(const QString& path);
// Whether anything (a dangling link too) has this name.
bool PathExists(const QString& path);
// The file's last modification, links followed; invalid when there is no such file.
QDateTime LastModified(const QString& path);

// Reads the whole file into bytes when it is a regular file (links followed).
// It is opened without waiting, so a FIFO put in its place is refused
// (FileError::Kind::NotARegularFile), not waited on.
std::optional<FileError> ReadRegularFile(const QString& path, QByteArray& bytes);

// Makes the folder and those on the way; 0, or the errno of the failure.
int MakeFolders(const QString& folder);

// The names of the entries of a folder ("." and ".." left out), as the system holds them.
QStringList FolderEntryNames(const QString& folder);

// Removes the file (not a folder); false when it could not.
bool RemoveFile(const QString& path);

}   // namespace k3n
