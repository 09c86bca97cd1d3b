// k3n-cps: the programming software's window.
#include "app/base/app_settings.h"
#include "app/main_window.h"
#include "model/radio_data.h"
#include <QApplication>
#include <QIcon>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/k3n.png")));

    k3n::RadioData data;
    data.ResetForBand(0);
    k3n::AppSettings settings;
    // Settings file: load (or create) config.ini into `settings` here, before
    // the window applies the Language setting.

    k3n::TMainForm mainForm(data, settings);   // relabels in the chosen language
    // Fill the screen also where no window manager maximises the window.
    mainForm.setGeometry(mainForm.screen()->availableGeometry());
    mainForm.showMaximized();
    mainForm.OpenEditorPage(0);                // the channel editor is open from the start

    const int status = app.exec();
    // Settings file: write `settings` back to config.ini here.
    return status;
}
