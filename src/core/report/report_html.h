// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printable report of a configuration as an HTML page: the file and band,
// the radio's last programming when known, the channels in use as the channel
// grid shows them, then every settings page and the signalling tables' entries
// that hold something. Page titles, the grid and the captions are in the
// language given; the report is printed, saved as HTML or laid out as a PDF.
#include "model/radio_data.h"
#include <QString>

namespace k3n {

class TAppLang;

// fileName is shown as given (the caller passes the name, not a full path, if it likes).
// The last programming time and serial number are shown when data holds them
// (after a read from the radio; a file does not carry them).
QString ConfigurationReportHtml(const TAppLang& lang, const RadioData& data, const QString& fileName);

}   // namespace k3n
