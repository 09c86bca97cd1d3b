// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file the program makes is written whole or not at all: a full disk,
// a file-size limit or a crash never leaves a cut or empty file in place of
// the old one.
#include "model/file_error.h"
#include <QByteArray>
#include <QString>
#include <optional>

namespace k3n {

// Replaces the file at path with bytes: a temporary file in the same folder,
// every write checked, flushed to the disk, renamed over the old file, and the
// folder flushed. A link is followed (the file it points at is replaced, the
// link stays); an existing file keeps its permissions. On failure the old file
// is as it was, no temporary file is left, and the reason is returned.
std::optional<FileError> WriteFileWhole(const QString& path, const QByteArray& bytes);

// Creates the file at path with bytes, written in full under a temporary name
// first and given its name only if no file has it (the reason for a taken name
// is "file exists"). Nothing is left behind on failure.
std::optional<FileError> WriteNewFileWhole(const QString& path, const QByteArray& bytes);

// Whether a file could be written at path now: a temporary file is made
// beside it and removed again. Nothing at path is touched.
std::optional<FileError> CheckFileWritable(const QString& path);

}   // namespace k3n
