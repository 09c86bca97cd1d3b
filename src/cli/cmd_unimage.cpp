// SPDX-License-Identifier: GPL-3.0-or-later
// k3n unimage: a configuration from a radio memory image, as a read would make it.
#include "cli/command.h"
#include "cli/radio_session.h"
#include "model/fse_file.h"
#include "programming/memory_image.h"
#include <QFile>

namespace k3n::cli {

int RunUnimage(const Command& self, const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), QStringLiteral("OUT.fse"));
    const QCommandLineOption base(QStringList{"base"}, QString(), QStringLiteral("BASE.fse"));
    parser.addOption(output);
    parser.addOption(base);
    if (auto done = ParseArguments(self, parser, args))
        return *done;
    const Result<QString> input = OneFileArgument(parser, "the image file");
    if (!input)
        return UsageError(self, input.error().message);
    const QString outPath = parser.value(output);
    if (outPath.isEmpty())
        return UsageError(self, QStringLiteral("the output file is missing (-o OUT.fse)"));

    const QString imagePath = input.value();
    QFile file(imagePath);
    if (!file.open(QIODevice::ReadOnly))
        return Failure(self, QStringLiteral("cannot read %1: %2").arg(imagePath, file.errorString()));
    const QByteArray bytes = file.read(qint64(kMemoryImageSize) + 1);
    if (bytes.size() != qsizetype(kMemoryImageSize))
        return Failure(self, QStringLiteral("%1 is not a memory image: it holds %2 bytes, an image holds %3")
                                 .arg(imagePath)
                                 .arg(file.size())
                                 .arg(kMemoryImageSize));
    MemoryImage image;
    std::copy(bytes.begin(), bytes.end(), image.begin());

    RadioData data;
    if (auto error = LoadBaseConfiguration(parser.value(base), data))
        return Failure(self, error->message);
    SetDataToSoftware(image, data);
    data.SelectBandLimits();
    if (auto error = SaveFseFile(outPath, data.record))
        return Failure(self, QStringLiteral("cannot write %1: %2").arg(outPath, error->message()));
    return kExitOk;
}

} // namespace k3n::cli
