// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The .fse configuration file: the record's 3048 bytes, nothing else.
#include "model/file_error.h"
#include "model/radio_data.h"
#include <QByteArray>
#include <QString>
#include <optional>

namespace k3n {

inline constexpr const char* kFseFilter = "Marvane File(*.fse)";
inline constexpr const char* kFseSuffix = "fse";

// Reads the first 3048 bytes into the record (a shorter file is refused),
// then selects the band limits. On failure the record is untouched and the
// reason is returned.
std::optional<FileError> LoadFseFile(const QString& path, RadioData& data);

// The file's bytes: the record's, then 'extra' (readers of the file ignore
// what follows the record).
QByteArray FseFileBytes(const RadioRecord& record, const QByteArray& extra = {});

// Writes the record whole or not at all (WriteFileWhole), so a crash or a full
// disk never leaves a truncated configuration. An existing file keeps its permissions.
std::optional<FileError> SaveFseFile(const QString& path, const RadioRecord& record);

// Writes the record, then 'extra', as a file that must not exist yet
// (WriteNewFileWhole: the reason for a taken name is "file exists").
std::optional<FileError> SaveNewFseFile(const QString& path, const RadioRecord& record, const QByteArray& extra = {});

}   // namespace k3n
