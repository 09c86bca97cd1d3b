// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// config.ini: the program's settings between runs. Read (or created)
// once at start-up, written once at exit; problems with the file are silent.
#include "app/app_settings.h"
#include "text/error.h"
#include <QString>
#include <QStringList>
#include <optional>

namespace k3n {

// $XDG_CONFIG_HOME/K3N/config.ini, or ~/.config/K3N/config.ini without XDG_CONFIG_HOME.
QString SettingsFilePath();

// The port name rule: the fourth character of the name is the port number
// ("COM3" -> 3, "COM12" -> 1). 0 when that character is missing or not a digit.
int PortNumberOfName(const QString& portName);

// Only COM1..COM9 can be chosen.
constexpr int kLastChoosablePort = 9;

// True when port is 1..9 and a port of the list gives this number by the port name rule.
bool PortIsPresent(int port, const QStringList& portNames);

// Port when present on the machine, else 1.
int CheckedPort(int port, const QStringList& portNames);

// Start-up: reads the file and checks Port against the machine's ports, or,
// when there is no file, creates it with the current values of 'settings'.
void LoadOrCreateSettings(AppSettings& settings, const QStringList& portNames,
                          const QString& path = SettingsFilePath());

// The settings file's text with Port, Language, AutoSeachPort and the recent
// files set to the values of 'settings'. Every other line stays as it was; keys
// the file lacks are added to section "config" (created at the end when
// missing) in this order, recent-file keys only when they have a value.
QByteArray UpdatedSettingsText(const QByteArray& oldText, const AppSettings& settings);

// Exit: updates our keys in place, atomically; the error names the file and why it could not.
std::optional<Error> SaveSettings(const AppSettings& settings, const QString& path = SettingsFilePath());

}   // namespace k3n
