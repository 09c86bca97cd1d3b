// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lays an HTML report out on pages: on a printer (print and print preview) or
// into a PDF file. Every page ends with a footer: the date on the left, "Page n
// of m" on the right. Needs Qt GUI (a QGuiApplication), not widgets.
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QTextDocument>
#include <optional>

class QPagedPaintDevice;

namespace k3n {

class TAppLang;

// The PDF's page: A4 portrait with 15 mm margins.
QPageLayout ReportPageLayout();
// The room for the report's text on a page of this layout, footer left out,
// in the pixels the text is laid out in (a CSS pixel, 1/96 inch).
QSizeF ReportBodySize(const QPageLayout& page);

// The report's text laid out for pages of the given body size, as it is painted.
class ReportLayout {
public:
    ReportLayout(const QString& html, const QSizeF& body);
    QTextDocument& document() { return document_; }
    // Where the table reaching farthest right ends: beyond the body's width it runs off the page.
    qreal tablesRightEdge();

private:
    QImage layoutDevice_;   // a browser's resolution, whatever the device's
    QTextDocument document_;
};

// Paints the report onto the device's pages (the first page is the current
// one); returns the number of pages.
int PaintPagedReport(const QString& html, QPagedPaintDevice& device, const TAppLang& lang, const QString& dateText);

// The report as an A4 PDF with its fonts embedded, to be written whole (WriteFileWhole).
QByteArray ReportPdf(const QString& html, const TAppLang& lang, const QString& dateText, const QString& title);

// Chooses the offscreen platform when there is no display to connect to, so
// a QGuiApplication can start on a server or in a terminal without one.
// Call before the application object is made.
void UseOffscreenPlatformWithoutDisplay();

}   // namespace k3n
