#include "model/fse_file.h"
#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace k3n {

std::optional<QString> LoadFseFile(const QString& path, RadioData& data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray bytes = file.read(RadioRecord::kSize);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    // A short file would replace only the start of the record and leave a
    // mixture of two configurations.
    if (bytes.size() < qsizetype(RadioRecord::kSize))
        return QStringLiteral("not a configuration file: it holds %1 bytes, a configuration holds %2")
            .arg(bytes.size())
            .arg(RadioRecord::kSize);
    std::copy(bytes.begin(), bytes.end(), data.record.bytes().begin());
    data.SelectBandLimits();
    return std::nullopt;
}

std::optional<QString> SaveFseFile(const QString& path, const RadioRecord& record)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const auto bytes = record.bytes();
    if (file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        return file.errorString();
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace k3n
