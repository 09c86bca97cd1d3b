// SPDX-License-Identifier: GPL-3.0-or-later
// k3n unimage: a configuration from a radio memory image, as a read would make it.
#include "cli/command.h"
#include "cli/command_files.h"
#include "model/fse_file.h"
#include "programming/memory_image.h"
#include <QFile>

namespace k3n::cli {

int RunUnimage(const Command& self, const Arguments& args)
{
    const Result<InputAndOutput> files = InputAndOutputOf(args, OutputKind::Binary, InputCheck::AtOnce);
    if (!files)
        return UsageError(self, files.error().message);
    const auto& [imagePath, outPath] = files.value();

    QFile file(imagePath);
    if (!file.open(QIODevice::ReadOnly))
        return BadInput(self, QStringLiteral("%1: %2").arg(imagePath, file.errorString()));
    const QByteArray bytes = file.read(qint64(kMemoryImageSize) + 1);
    if (bytes.size() != qsizetype(kMemoryImageSize))
        return BadInput(self,
                        QStringLiteral("%1 is not a memory image: it holds %2 bytes, an image holds %3")
                            .arg(imagePath)
                            .arg(file.size())
                            .arg(kMemoryImageSize));
    MemoryImage image;
    std::copy(bytes.begin(), bytes.end(), image.begin());

    RadioData data;
    if (auto error = LoadBaseConfiguration(args.value("base"), data))
        return BadInput(self, error->message);
    SetDataToSoftware(image, data);
    data.SelectBandLimits();
    return WriteOutput(self, outPath, FseFileBytes(data.record));
}

}   // namespace k3n::cli
