// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line settings of a port, kept whole as the engine's own record, and their
// translation into termios. Fields without a counterpart on this system (XON/XOFF
// limits, error character, null stripping, abort on error, DSR flow and
// sensitivity) are kept in the record at their defaults and not applied.
#include "comm/port_errors.h"
#include <QString>
#include <cstdint>
#include <optional>

struct termios;

namespace HalvexComm32 {

constexpr uint8_t kParityNone = 0, kParityOdd = 1, kParityEven = 2, kParityMark = 3, kParitySpace = 4;
constexpr uint8_t kOneStopBit = 0, kOne5StopBits = 1, kTwoStopBits = 2;
constexpr uint8_t kDtrControlDisable = 0, kDtrControlEnable = 1, kDtrControlHandshake = 2;
constexpr uint8_t kRtsControlDisable = 0, kRtsControlEnable = 1, kRtsControlHandshake = 2, kRtsControlToggle = 3;

struct TCommLineSettings {
    uint32_t baudRate = 115200;
    uint8_t byteSize = 8;
    uint8_t parity = kParityNone;
    uint8_t stopBits = kOneStopBit;
    bool binaryMode = true;
    bool parityCheck = false;
    bool ctsOutputFlow = false;
    bool dsrOutputFlow = false;
    uint8_t dtrControl = kDtrControlEnable;
    bool dsrSensitivity = false;
    bool txContinueOnXoff = false;
    bool xonXoffOutput = false;
    bool xonXoffInput = false;
    bool errorCharReplace = false;
    bool nullStrip = false;
    uint8_t rtsControl = kRtsControlEnable;
    bool abortOnError = false;
    uint16_t xonLimit = 2048;
    uint16_t xoffLimit = 512;
    uint8_t xonChar = 0x11;
    uint8_t xoffChar = 0x13;
    uint8_t errorChar = 0;
    uint8_t eofChar = 0;
    uint8_t eventChar = 0;

    bool operator==(const TCommLineSettings&) const = default;
};

struct TTermiosPlan {
    bool ok = false;
    QString refused;   // the setting this system cannot apply, in the user's language
    uint32_t customBaud = 0;   // non-zero: a rate without a B-constant, set through termios2
};

// Fills 't' (raw mode, receiver on, modem lines ignored for open) from the settings.
TTermiosPlan MakeTermios(const TCommLineSettings& s, termios& t);

// Why settings were not applied: the system refused them (the failure, with
// the settings when tcsetattr() refused those), or they cannot be had here.
struct TLineSettingsFailure {
    std::optional<TPortFailure> failure{};
    QString settings{};   // with failure: the settings refused ("19200 baud 7E2"); empty when tcgetattr() failed
    QString refused{};   // without failure: the setting this system cannot apply, in the user's language
};

// Applies the settings to an open tty; nothing when they were applied.
std::optional<TLineSettingsFailure> ApplyLineSettings(int fd, const TCommLineSettings& s);

}   // namespace HalvexComm32
