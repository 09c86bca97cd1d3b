// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbered interface texts in the current language.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace k3n {

class TAppLang;

constexpr int kUiTextCount = 357;

enum class UiTextTable { English, Simplified, Traditional };

// The table a language type reads: 2 Simplified, 3 Traditional, anything else English.
UiTextTable UiTextTableFor(uint8_t langType);

// Text n as stored in a table: ASCII for English, GBK for the Chinese tables.
// Empty for a number outside 0..kUiTextCount-1.
QByteArray StoredUiText(UiTextTable table, int n);

// Text n in the language of 'lang' (or of appLang()), passed through FromGBK and
// decoded for display. Empty for a number outside 0..kUiTextCount-1.
QString UiText(const TAppLang& lang, int n);
QString UiText(int n);

// A menu text as a window title or a tool-bar caption, without its keyboard
// mnemonic: "&Open" -> "Open", "打开(&O)" -> "打开", "&About..." -> "About".
QString PlainCaption(QString text);

// A window's own small text table entry. Chinese is written in UTF-8 and goes the
// same way as the main table's texts: GBK, FromGBK, decoded for display.
struct LocalText {
    const char* simplified;
    const char* traditional;
    const char* english;
};
QString Localized(const TAppLang& lang, const LocalText& t);
QString Localized(const LocalText& t);

// Decodes what FromGBK returned: Big5 when lang converts to Big5, GBK otherwise.
QString DecodeForDisplay(const TAppLang& lang, const QByteArray& converted);

}   // namespace k3n
