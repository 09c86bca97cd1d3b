// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial port as a person names it: "COMn" of this computer's port list, or
// an absolute device path (a cable the list does not show, a Bluetooth serial
// link, a virtual radio's link). The windows and the command line read a
// typed port name by this one rule.
#include "text/error.h"
#include <QString>
#include <optional>

namespace HalvexComm32 {
class TCommSerialPortInfo;
}

namespace k3n {

struct PortNameError {
    enum class Kind {
        Missing,   // nothing typed
        NotOnThisComputer,   // COMn that the port list does not hold
        NotAPortName,   // neither COMn nor an absolute path
    };
    Kind kind;
    QString name;   // as typed, trimmed

    // In English, for the command line; the windows word the kind in their own texts.
    QString message() const;
};

// The port the text names: "COM3" for " com3 ", a device path as it is; or why it names none.
struct ReadPort {
    QString port;
    std::optional<PortNameError> error;
};
ReadPort ReadPortName(const QString& text, const HalvexComm32::TCommSerialPortInfo& ports);

// The command line also takes "auto", for the search of every port.
bool IsAutoPortName(const QString& name);
// Nothing when name is auto, COMn (any case) or an absolute path, by the rule of
// ReadPortName without looking at the port list; otherwise why not, in the
// command line's words.
std::optional<Error> CheckPortName(const QString& name);

}   // namespace k3n
