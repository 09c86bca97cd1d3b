// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial library's exception: a numbered failure with its text in the
// current interface language, and, where the system refused the port, which
// port and why, for the program to put in its own words.
#include "comm/port_errors.h"
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <exception>
#include <optional>

namespace HalvexComm32 {

// A port the system refused: which, why, and the line settings it refused
// when those were what it refused.
struct TPortRefusal {
    QString port;   // "COM3 (/dev/ttyUSB0)"
    TPortFailure failure;
    QString settings;   // "19200 baud 7E2" when tcsetattr() refused them; empty otherwise
};

class EComm32Error : public std::exception {
public:
    using TErrorCode = uint8_t;

    static constexpr TErrorCode ecOutOfMemory = 1;
    static constexpr TErrorCode ecReadBuffer = 2;
    static constexpr TErrorCode ecWriteBuffer = 3;
    static constexpr TErrorCode ecOpenPort = 4;
    static constexpr TErrorCode ecCommMask = 5;
    static constexpr TErrorCode ecPortBufferSize = 6;
    static constexpr TErrorCode ecReadParameters = 7;
    static constexpr TErrorCode ecSetParameters = 8;
    static constexpr TErrorCode ecReadEvent = 9;
    static constexpr TErrorCode ecWriteEvent = 10;
    static constexpr TErrorCode ecReadThread = 11;
    static constexpr TErrorCode ecWriteThread = 12;
    static constexpr TErrorCode ecCloseReadThread = 13;
    static constexpr TErrorCode ecCloseWriteThread = 14;

    // detail: what went wrong, e.g. "/dev/ttyUSB0: 1.5 stop bits need 5 data bits".
    explicit EComm32Error(TErrorCode code, const QString& detail = {});
    // The detail says the port and the system's text: "/dev/ttyUSB0: Device or resource busy".
    EComm32Error(TErrorCode code, const TPortRefusal& refusal);

    TErrorCode ErrorCode() const { return code_; }
    QString Message() const { return message_; }   // numbered text, then the detail
    QString Detail() const { return detail_; }
    const std::optional<TPortRefusal>& Refusal() const { return refusal_; }
    const char* what() const noexcept override { return utf8_.constData(); }

    // The numbered text alone; "Unknown error" for a code outside 1..14.
    static QString TextOf(TErrorCode code);

private:
    TErrorCode code_;
    QString detail_;
    std::optional<TPortRefusal> refusal_;
    QString message_;
    QByteArray utf8_;
};

}   // namespace HalvexComm32
