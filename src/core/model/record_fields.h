// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every field of the record, in layout order: where it lives, how a person
// names it, how its value reads and which values its editor's list offers.
// Together the fields cover every bit of the 3048 bytes exactly once,
// reserved ones included, so that whatever is built on the list (the JSON
// image, the comparison, the dump and the printed report, the check, the
// channel list's columns) misses nothing.
#include "model/editor_page.h"
#include "model/offered_values.h"
#include "model/radio_record.h"
#include "model/settings_lists.h"
#include "text/own_texts.h"
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace k3n {

class TAppLang;

enum class FieldKind {
    Byte,
    Word,   // little-endian
    Long,   // little-endian
    Bits,   // shift and width within one byte
    OtherBits,   // the bits of a flag byte that no named field holds (mask)
    DoubleBits,   // an IEEE double, kept as its exact 64-bit pattern
    Digits,   // a count byte, then the digits two to a byte (length = digit capacity)
    Bytes,   // raw bytes (length)
};

// How a value reads for a person.
enum class ValueStyle {
    Number,
    Frequency,
    SubAudio,
    Options,
    UserCtcss,
    UserDcs,
    Digits,
    Bytes,
    Polarity,
    Band,
    Listed,   // the entry of a settings list the editor shows
    KeyFunction,   // a side-key function's name
    Ordinal,   // numbered from 1 as its list shows it
    CodeReference,   // a reference into an encode table: "Off", "Enc- 3"
    Tenths,   // tenths of a second: "2.5"
    DecodeMask,   // the decode entries ticked: "1 3"
};

// What names a field: an interface text, a text that is the same in every
// language, or one of the program's own texts; none of them for the main
// value of an entry ("Encode 3" says it all).
struct Caption {
    int ui = -1;
    const char* fixed = nullptr;
    OwnText own = OwnText::Count;
    int uiSub = -1;   // a second interface text after the first: "[Side]Key 1, Press"
};

struct RecordField {
    const char* section;   // "channels", "general", ...
    const char* group;   // an array within the section, or nullptr
    int index;   // position in the array; -1 for a field of its own
    QString key;   // "rx_freq", "reserved_2079"
    FieldKind kind;
    uint16_t offset;
    uint8_t shift = 0;
    uint8_t width = 8;
    uint8_t mask = 0;   // OtherBits
    int length = 0;   // Digits: digit capacity; Bytes: byte count
    EditorPage page = EditorPage::Channels;
    int entry = 0;   // the entry's number for a person (channel 12, system 3); 0 none
    int entryCaption = -1;   // interface text naming the entry ("Channel", "System")
    Caption caption{};
    ValueStyle style = ValueStyle::Number;
    std::span<const int> uiOptions{};   // Options: interface texts by value, as the editors show them
    // Options: the names that read the same in every language, by value, as
    // files and the command line write them (and the editors, without uiOptions)
    std::span<const char* const> fixedOptions{};
    BitField polarity{};   // SubAudio: the bit that says the DCS code is inverted
    SettingsList list{};   // Listed: the editor's list
    int listFirst = 0;   // Listed: the stored value of the list's first entry
    // The values the editor's list offers, where neither options nor a settings list say
    std::span<const ValueRange> offered{};
};

// The fields in layout order; built once.
const std::vector<RecordField>& RecordFields();

// The fields of channel slot n (0 .. 128; slot 0 is never used), in layout order.
std::span<const RecordField> ChannelSlotFields(int n);
// The field called key among fields; nullptr when none is.
const RecordField* FindField(std::span<const RecordField> fields, QLatin1String key);
// False for a reserved byte and the bits no named field holds: they mean nothing to a reader.
bool IsNamedField(const RecordField& field);

// Whether the editor picks the field's value from a list: its options, its
// settings list or the values it offers.
bool IsPickOnly(const RecordField& field);
// Whether that list holds the value; true for a field not picked from a list.
bool IsOfferedValue(const RecordField& field, uint64_t value);

// The field's bytes and, for a single byte, the bits it owns.
int FieldByteCount(const RecordField& field);
uint8_t FieldByteMask(const RecordField& field);   // 0xFF unless Bits or OtherBits
bool FieldsEqual(const RadioRecord& a, const RadioRecord& b, const RecordField& field);

// The number a field holds (Byte, Word, Long, Bits, OtherBits, DoubleBits).
uint64_t FieldNumber(const RadioRecord& record, const RecordField& field);
void SetFieldNumber(RadioRecord& record, const RecordField& field, uint64_t value);
// The largest number the field can hold.
uint64_t FieldLimit(const RecordField& field);

// The field's own caption as its editor shows it ("TOT Time (s)", "[Side]Key 1, Press");
// empty for the main value of an entry.
QString FieldCaption(const RecordField& field, const TAppLang& lang);
// "Channel 12 · TX Freq.", "DTMF · Encode 3", "Two-tone · System 2, Table".
QString FieldItemName(const RecordField& field, const TAppLang& lang);
// The value as a person reads it: "146.52000", "D023N", "High", "123", a list's entry.
QString FieldValueText(const RadioRecord& record, const RecordField& field, const TAppLang& lang);
// The field's bytes in hex, for values whose texts are the same.
QString FieldRawText(const RadioRecord& record, const RecordField& field);
// The name of an editor page in the language.
QString EditorPageName(EditorPage page, const TAppLang& lang);

}   // namespace k3n
