// SPDX-License-Identifier: GPL-3.0-or-later
// k3n-cps: the programming software's window.
#include "app/app_settings.h"
#include "app/attached_virtual_radio.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/quit_signals.h"
#include "app/remembered_cable.h"
#include "app/settings_file.h"
#include "comm/port_list.h"
#include "model/radio_data.h"
#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QStatusBar>
#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    // A file-size limit makes a write fail (the programming log says so), not the process die.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before the application object: it needs a display, these do not.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> information = k3n::InformationAskedFor(arguments)) {
        std::fputs(information->toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    QApplication app(argc, argv);
    // A logout or a closed terminal ends the sessions and keeps the work; see TMainForm::quitOnSignal.
    k3n::QuitSignals quitSignals;
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/k3n.png")));

    k3n::RadioData data;
    data.ResetForBand(0);
    k3n::AppSettings settings;
    // Started before the settings are read, so that its port counts as present.
    const auto virtualRadio = k3n::StartVirtualRadioIfAskedFor(QApplication::arguments());
    const HalvexComm32::TCommSerialPortInfo ports;
    k3n::LoadOrCreateSettings(settings, ports.PortList());
    k3n::FollowRememberedCable(settings, ports.Ports());
    const k3n::AppSettings settingsAtStartUp = settings;
    if (virtualRadio)
        virtualRadio->PointSettingsAtIt(settings);

    k3n::TMainForm mainForm(data, settings);   // relabels in the chosen language
    QObject::connect(&quitSignals, &k3n::QuitSignals::received, &mainForm, &k3n::TMainForm::quitOnSignal);
    // Fill the screen also where no window manager maximises the window.
    mainForm.setGeometry(mainForm.screen()->availableGeometry());
    mainForm.showMaximized();
    mainForm.OpenEditorPage(0);   // the channel editor is open from the start
    const QString fileToOpen = k3n::ConfigurationFileArgument(QApplication::arguments());
    if (!fileToOpen.isEmpty())
        mainForm.openFile(fileToOpen);
    // After the named file, so that restoring the copy can be undone back to it.
    mainForm.offerAutosaveRestore();
    if (virtualRadio)
        mainForm.showVirtualRadioNote(virtualRadio->portName(), virtualRadio->devicePath());

    const int status = app.exec();
    k3n::SaveSettings(virtualRadio ? virtualRadio->SettingsToKeep(settings, settingsAtStartUp) : settings);
    return status;
}
