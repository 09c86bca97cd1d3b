// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Channels as the channel-list CSV that radio amateurs exchange: the common
// columns, then this radio's own. Import never changes a value silently:
// everything that did not fit is a note of the report.
#include "model/radio_data.h"
#include "text/csv.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace k3n {

class TAppLang;

// The columns every channel-list program knows, in their usual order.
const QStringList& StandardChannelColumns();
// This radio's settings that the common columns have no place for.
const QStringList& RadioChannelColumns();

enum class ChannelColumnSet { StandardAndRadio, StandardOnly };

struct ChannelExport {
    QByteArray csv;
    // One line for each value the columns cannot carry, or that an import of
    // the file would change or refuse.
    QStringList notes;
};
// One row per channel in use, in channel order; the notes in the language
// given (English when none).
ChannelExport ExportChannelsCsv(const RadioRecord& record, ChannelColumnSet columns,
                                const TAppLang* language = nullptr);

struct ImportNote {
    enum class Kind {
        Skipped,   // the row was not imported
        Changed,   // imported with a value other than the file's
        Remark,   // nothing lost that the radio could hold
    };
    Kind kind = Kind::Remark;
    int line = 0;   // the file's line; 0 for a note about the whole file
    QString location;   // the row's Location as written, "none" when empty
    int channel = 0;   // where the row went or would have gone; 0 when unknown
    QString text;   // in the language the import was asked for

    // "line 7, Location 12: ..." with the channel when it differs from the Location.
    QString describe() const;   // English
    QString describe(const TAppLang& lang) const;
};

struct ChannelImportOptions {
    bool replaceAll = false;   // empty every channel of the base first
    const TAppLang* language = nullptr;   // the report's language; English when none
};

struct ImportCounts {
    int read = 0;   // the rows below the header
    int imported = 0;
    int changed = 0;   // imported rows with at least one Changed note
    int skipped = 0;
};

struct ChannelImport {
    RadioData data;
    std::vector<ImportNote> notes;   // in file order, the notes about the whole file first
    ImportCounts counts;
    // One line: the counts, or when no row was imported why not.
    QString summary;
    // When every row lies outside the band: a band that holds them all.
    std::optional<int> fittingBand;
    bool skippedOrChanged() const;
    bool nothingImported() const { return counts.imported == 0; }
};

// Reads the CSV onto the base configuration. A row onto a channel in use
// starts from that channel's 16 bytes, a row onto an empty one from a new
// channel as the grid starts it, and sets what its columns say: a group of
// columns the file lacks (TX, tones, Mode, Skip, Power, each of the radio's
// own columns) keeps the channel's value, except that TX is RX without Duplex
// and Offset. Fails, naming the line in the report's language, when the file
// is not a channel list at all (empty, binary, wide text, no Frequency column,
// an unclosed quote); every smaller problem is a note.
Result<ChannelImport> ImportChannelsCsv(const QByteArray& csv, const RadioData& base,
                                        const ChannelImportOptions& options = {});

// Whether a file is a channel list rather than a configuration: by the name's
// suffix (.csv), otherwise by text whose header line names a Frequency column.
bool IsChannelList(const QString& path, const QByteArray& bytes);

}   // namespace k3n
