// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programming window's own five texts, in the interface language.
#include <QString>

namespace k3n {

enum class ProgramText {
    Start = 0,
    Cancel = 1,
    CommunicationFalse = 2,
    Success = 3,
    WrongFreqBand = 4,
};

QString ProgramDialogText(ProgramText text);

// The notice shown when a fixed port cannot be opened: "ZebCommDevice1: " + the error text.
QString PortOpenNotice(const QString& error);
// Whether a notice is one of those (the command line says why in its own words).
bool IsPortOpenNotice(const QString& notice);

}   // namespace k3n
