// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/configuration_file.h"
#include "interchange/channel_csv.h"
#include "interchange/configuration_json.h"
#include "model/fse_file.h"
#include "text/own_texts.h"
#include <QFile>

namespace k3n {

namespace {

// More than any configuration, JSON or not, holds; what lies past it is not looked at.
constexpr qint64 kMostBytesLookedAt = 64 * 1024 * 1024;

}   // namespace

std::optional<Error> LoadConfigurationFile(const QString& path, RadioData& data, QStringList* contradictions)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.read(kMostBytesLookedAt) : QByteArray();
    // The .fse reader also words the reasons a file cannot be opened.
    if (!opened || (!IsJsonFile(path, bytes) && !IsChannelList(path, bytes))) {
        if (auto error = LoadFseFile(path, data))
            return Error{error->message()};
        return std::nullopt;
    }
    if (!IsJsonFile(path, bytes))
        return Error{Text(OwnText::ReasonChannelList)};
    RadioData defaults;
    Result<JsonImage> image = ConfigurationFromJson(bytes, defaults.record);
    if (!image)
        return image.error();
    data.ResetForBand(0);
    data.record = image.value().record;
    if (contradictions)
        *contradictions += image.value().contradictions;
    data.SelectBandLimits();
    return std::nullopt;
}

}   // namespace k3n
