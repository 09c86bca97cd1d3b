// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool_radio.h"
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace k3n::test {

namespace {

// The files of a radio's folder.
QString MemoryFile(const QString& folder)
{
    return folder + QStringLiteral("/memory");
}
QString SetupFile(const QString& folder)
{
    return folder + QStringLiteral("/setup");
}
QString FramesFile(const QString& folder)
{
    return folder + QStringLiteral("/frames");
}
QString ErrorsFile(const QString& folder)
{
    return folder + QStringLiteral("/frame-errors");
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A fault here is a test's own mistake: said at once, on stderr of whoever runs it.
void Write(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly)
{
    QFile file(path);
    if (!file.open(mode) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "tool radio: cannot write %s\n", qPrintable(path));
}

struct Setup {
    FaultPlan fault;
    int greetingDelayMs = 0;
};

Setup ReadSetup(const QString& folder)
{
    QDataStream in(ReadAll(SetupFile(folder)));
    int fault = 0;
    Setup setup;
    in >> fault >> setup.fault.after_frames >> setup.fault.session >> setup.greetingDelayMs;
    setup.fault.fault = RadioFault(fault);
    return setup;
}

void WriteSetup(const QString& folder, const Setup& setup)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << int(setup.fault.fault) << setup.fault.after_frames << setup.fault.session << setup.greetingDelayMs;
    Write(SetupFile(folder), bytes);
}

void WriteMemoryFile(const QString& folder, const MemoryImage& memory)
{
    Write(MemoryFile(folder), QByteArray(reinterpret_cast<const char*>(memory.data()), qsizetype(memory.size())));
}

QString DevicePathOf(const QString& folder)
{
    return QStringLiteral("/emulated/") + QFileInfo(folder).fileName();
}

void Save(const QString& folder, const EmulatedRadio& radio)
{
    WriteMemoryFile(folder, radio.memory());
    QByteArray frames;
    QDataStream out(&frames, QIODevice::WriteOnly);
    for (const ReceivedFrame& frame : radio.frames())
        out << quint8(frame.command) << frame.address << frame.count
            << QByteArray(reinterpret_cast<const char*>(frame.data.data()), qsizetype(frame.data.size()));
    Write(FramesFile(folder), frames, QIODevice::Append);
    const int errors = ReadAll(ErrorsFile(folder)).toInt() + radio.frameErrors();
    Write(ErrorsFile(folder), QByteArray::number(errors));
}

std::shared_ptr<EmulatedRadio> Load(const QString& folder)
{
    const Setup setup = ReadSetup(folder);
    VirtualRadioOptions options;
    options.fault = setup.fault;
    options.greeting_delay = std::chrono::milliseconds(setup.greetingDelayMs);
    auto radio = std::make_shared<EmulatedRadio>(options, DevicePathOf(folder));
    const QByteArray bytes = ReadAll(MemoryFile(folder));
    MemoryImage memory{};
    std::copy_n(bytes.begin(), std::min<std::size_t>(std::size_t(bytes.size()), memory.size()), memory.begin());
    radio->setMemory(memory);
    return radio;
}

}   // namespace

ToolRadio::ToolRadio(const QString& folder, const VirtualRadioOptions& options) : folder_(folder)
{
    QDir().mkpath(folder_);
    const EmulatedRadio fresh(options, DevicePathOf(folder_) + QStringLiteral("-setup"));
    WriteMemoryFile(folder_, fresh.memory());
    WriteSetup(folder_, {options.fault, int(options.greeting_delay.count())});
    QFile::remove(FramesFile(folder_));
    QFile::remove(ErrorsFile(folder_));
}

QString ToolRadio::devicePath() const
{
    return DevicePathOf(folder_);
}

MemoryImage ToolRadio::memory() const
{
    return Load(folder_)->memory();
}

void ToolRadio::setMemory(const MemoryImage& memory)
{
    WriteMemoryFile(folder_, memory);
}

void ToolRadio::writeMemory(uint16_t address, std::span<const uint8_t> bytes)
{
    MemoryImage held = memory();
    std::copy_n(bytes.begin(), std::min(bytes.size(), held.size() - std::min<std::size_t>(address, held.size())),
                held.begin() + address);
    setMemory(held);
}

void ToolRadio::SetFault(FaultPlan plan)
{
    Setup setup = ReadSetup(folder_);
    setup.fault = plan;
    WriteSetup(folder_, setup);
}

std::vector<ReceivedFrame> ToolRadio::frames() const
{
    std::vector<ReceivedFrame> frames;
    QDataStream in(ReadAll(FramesFile(folder_)));
    while (!in.atEnd()) {
        quint8 command = 0;
        ReceivedFrame frame{};
        QByteArray data;
        in >> command >> frame.address >> frame.count >> data;
        if (in.status() != QDataStream::Ok)
            break;
        frame.command = link::Command(command);
        frame.data.assign(data.begin(), data.end());
        frames.push_back(std::move(frame));
    }
    return frames;
}

int ToolRadio::frameErrors() const
{
    return ReadAll(ErrorsFile(folder_)).toInt();
}

std::shared_ptr<EmulatedRadio> ToolRadio::Emulate()
{
    const QString folder = folder_;
    std::shared_ptr<EmulatedRadio> radio = Load(folder);
    return {radio.get(), [folder, radio](EmulatedRadio*) mutable {
                Save(folder, *radio);
                radio.reset();
            }};
}

std::vector<std::shared_ptr<EmulatedRadio>> LoadToolRadios(const QString& folders)
{
    std::vector<std::shared_ptr<EmulatedRadio>> radios;
    for (const QString& folder : folders.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        radios.push_back(Load(folder));
    return radios;
}

void SaveToolRadios(const QString& folders, const std::vector<std::shared_ptr<EmulatedRadio>>& radios)
{
    const QStringList list = folders.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (std::size_t i = 0; i < radios.size() && i < std::size_t(list.size()); ++i)
        Save(list[qsizetype(i)], *radios[i]);
}

}   // namespace k3n::test
