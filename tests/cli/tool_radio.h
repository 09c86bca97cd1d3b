// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A radio for the test build of k3n (k3n-emulated-radios): the same tool, whose
// sessions talk to emulated radios on a simulated clock, so a backup, write and
// read-back through the tool take milliseconds instead of 15 s at 19200 baud.
// A radio's state is a folder: the tool loads the radios K3N_EMULATED_RADIOS
// lists before its command and saves them after it; between two runs a test
// reads and changes the radio here. A fault's count starts afresh with each run.
#include "programming/memory_image.h"
#include "virtualradio/emulated_radio.h"
#include <QString>
#include <QStringList>
#include <memory>
#include <span>
#include <vector>

namespace k3n::test {

class ToolRadio {
public:
    // A radio as an EmulatedRadio with 'options' starts, kept in 'folder' (made if missing).
    explicit ToolRadio(const QString& folder, const VirtualRadioOptions& options = {});

    const QString& folder() const { return folder_; }
    QString devicePath() const;

    MemoryImage memory() const;
    void setMemory(const MemoryImage& memory);
    void writeMemory(uint16_t address, std::span<const uint8_t> bytes);
    void SetFault(FaultPlan plan);
    // Every frame the radio received, over all runs.
    std::vector<ReceivedFrame> frames() const;
    int frameErrors() const;

    // The radio alive in this process until the result goes, saved back then:
    // for a session a test runs itself (with EmulatedLinkMaker()).
    std::shared_ptr<EmulatedRadio> Emulate();

private:
    QString folder_;
};

// For the tool: the radios of the folders listed (':' between them), alive and
// reachable by EmulatedLinkMaker() until they are saved.
std::vector<std::shared_ptr<EmulatedRadio>> LoadToolRadios(const QString& folders);
void SaveToolRadios(const QString& folders, const std::vector<std::shared_ptr<EmulatedRadio>>& radios);

}   // namespace k3n::test
