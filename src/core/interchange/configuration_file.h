// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A whole configuration from a file: its JSON image laid over the defaults of
// band 0 (a name ending in .json, or text that opens a JSON object), or else
// a .fse file (its first 3048 bytes). A channel list is refused: it holds
// channels only. What every command that takes a configuration reads.
#include "model/radio_data.h"
#include "text/error.h"
#include <QString>
#include <QStringList>
#include <optional>

namespace k3n {

// On failure the data is untouched and the reason (without the file name) is
// returned. A JSON file's texts that say otherwise than their numbers go to
// contradictions when it is given.
std::optional<Error> LoadConfigurationFile(const QString& path, RadioData& data, QStringList* contradictions = nullptr);

}   // namespace k3n
