// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lays an HTML report out on pages: on a printer (print and print preview) or
// into a PDF file. Every page ends with a footer: the date on the left, "Page n
// of m" on the right. Needs Qt GUI (a QGuiApplication), not widgets.
#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace k3n {

class TAppLang;

// Paints the report onto the device's pages (the first page is the current
// one); returns the number of pages.
int PaintPagedReport(const QString& html, QPagedPaintDevice& device, const TAppLang& lang, const QString& dateText);

// The report as an A4 PDF with its fonts embedded, to be written whole (WriteFileWhole).
QByteArray ReportPdf(const QString& html, const TAppLang& lang, const QString& dateText, const QString& title);

// Chooses the offscreen platform when there is no display to connect to, so
// a QGuiApplication can start on a server or in a terminal without one.
// Call before the application object is made.
void UseOffscreenPlatformWithoutDisplay();

} // namespace k3n
