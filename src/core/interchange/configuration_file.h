// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A whole configuration from a file: a .fse file, or its JSON image laid over
// the defaults of band 0. What a comparison reads on either side.
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

} // namespace k3n
