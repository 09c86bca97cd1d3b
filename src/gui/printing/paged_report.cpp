// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/paged_report.h"
#include "text/own_texts.h"
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextOption>
#include <QTextTable>
#include <cmath>

namespace k3n {

namespace {

constexpr qreal kBodyPointSize = 9;
constexpr qreal kFooterPointSize = 8;
constexpr qreal kMarginMm = 15;
constexpr int kPdfResolution = 300;
constexpr qreal kLayoutDpi = 96;
constexpr qreal kInchInMeters = 0.0254;

// Latin text in a sans face; Chinese falls back to the installed CJK face.
QFont ReportFont(qreal pointSize)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    // Without the fi and fl ligatures the PDF's text is searched and copied as typed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// A device of a browser's resolution to lay the text out on.
QImage LayoutDevice()
{
    QImage device(1, 1, QImage::Format_Mono);
    device.setDotsPerMeterX(qRound(kLayoutDpi / kInchInMeters));
    device.setDotsPerMeterY(qRound(kLayoutDpi / kInchInMeters));
    return device;
}

// area in the painter's coordinates; the text is drawn in the device's own, so its point size holds.
void PaintFooter(QPainter& painter, const QRectF& area, const QString& left, const QString& right)
{
    painter.save();
    const QRectF deviceArea = painter.transform().mapRect(area);
    painter.resetTransform();
    painter.setFont(ReportFont(kFooterPointSize));
    painter.setPen(QPen(Qt::gray, 0));
    painter.drawLine(deviceArea.topLeft(), deviceArea.topRight());
    painter.setPen(Qt::black);
    painter.drawText(deviceArea, Qt::AlignLeft | Qt::AlignBottom, left);
    painter.drawText(deviceArea, Qt::AlignRight | Qt::AlignBottom, right);
    painter.restore();
}

}   // namespace

QPageLayout ReportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

QSizeF ReportBodySize(const QPageLayout& page)
{
    const QRectF printable = page.paintRect(QPageLayout::Inch);
    QImage layoutDevice = LayoutDevice();
    const qreal footerHeight = 2 * QFontMetricsF(ReportFont(kFooterPointSize), &layoutDevice).lineSpacing();
    return {printable.width() * kLayoutDpi, printable.height() * kLayoutDpi - footerHeight};
}

ReportLayout::ReportLayout(const QString& html, const QSizeF& body) : layoutDevice_(LayoutDevice())
{
    // The page is laid out at the resolution a browser assumes (a CSS pixel is
    // 1/96 inch) and scaled to the device, so the HTML file and the print agree.
    document_.documentLayout()->setPaintDevice(&layoutDevice_);
    document_.setDefaultFont(ReportFont(kBodyPointSize));
    document_.setDocumentMargin(0);
    QTextOption wrapAtWords = document_.defaultTextOption();
    wrapAtWords.setWrapMode(QTextOption::WordWrap);   // a number or a word is never split
    document_.setDefaultTextOption(wrapAtWords);
    document_.setHtml(html);
    document_.setPageSize(body);
}

qreal ReportLayout::tablesRightEdge()
{
    qreal right = 0;
    QAbstractTextDocumentLayout* layout = document_.documentLayout();
    for (QTextFrame* frame : document_.rootFrame()->childFrames())
        if (qobject_cast<QTextTable*>(frame))
            right = std::max(right, layout->frameBoundingRect(frame).right());
    return right;
}

int PaintPagedReport(const QString& html, QPagedPaintDevice& device, const TAppLang& lang, const QString& dateText)
{
    const QSizeF body = ReportBodySize(device.pageLayout());
    ReportLayout layout(html, body);
    QTextDocument& document = layout.document();

    QPainter painter(&device);
    painter.scale(device.logicalDpiX() / kLayoutDpi, device.logicalDpiY() / kLayoutDpi);
    // The painter starts at the page's printable area (inside the margins); the footer takes its foot.
    const qreal footerHeight = device.pageLayout().paintRect(QPageLayout::Inch).height() * kLayoutDpi - body.height();

    const int pages = document.pageCount();
    const QString date = Text(lang, OwnText::ReportPrintedOn).arg(dateText);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        painter.save();
        painter.translate(0, -page * body.height());
        document.drawContents(&painter, QRectF(QPointF(0, page * body.height()), body));
        painter.restore();
        PaintFooter(painter, QRectF(0, body.height(), body.width(), footerHeight), date,
                    Text(lang, OwnText::ReportPageOf).arg(page + 1).arg(pages));
    }
    return pages;
}

QByteArray ReportPdf(const QString& html, const TAppLang& lang, const QString& dateText, const QString& title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("K3N"));
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(ReportPageLayout());
        PaintPagedReport(html, writer, lang, dateText);
    }   // the writer finishes the document when it goes
    return buffer.data();
}

void UseOffscreenPlatformWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

}   // namespace k3n
