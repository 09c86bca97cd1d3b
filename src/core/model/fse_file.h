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

// Writes the record through a temporary file renamed over the target, so a
// crash or a full disk never leaves a truncated configuration. An existing
// file keeps its permissions.
std::optional<FileError> SaveFseFile(const QString& path, const RadioRecord& record);

// Writes the record as a file that must not exist yet: written in full under a
// temporary name first, then given its name only if no file has it (the
// reason for a taken name is "file exists"). Nothing is left behind on failure.
// 'extra' follows the record's bytes (readers of the file ignore what follows the record).
std::optional<FileError> SaveNewFseFile(const QString& path, const RadioRecord& record, const QByteArray& extra = {});

} // namespace k3n
