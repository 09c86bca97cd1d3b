// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Channels as the channel-list CSV that radio amateurs exchange: the common
// columns, then this radio's own. Import never changes a value silently:
// everything that did not fit is a note of the report.
#include "interchange/csv.h"
#include "model/radio_data.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace k3n {

// The columns every channel-list program knows, in their usual order.
const QStringList& StandardChannelColumns();
// This radio's settings that the common columns have no place for.
const QStringList& RadioChannelColumns();

enum class ChannelColumnSet { StandardAndRadio, StandardOnly };

struct ChannelExport {
    QByteArray csv;
    QStringList notes;   // values the columns cannot say, one line each
};
// One row per channel in use, in channel order.
ChannelExport ExportChannelsCsv(const RadioRecord& record, ChannelColumnSet columns);

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
    QString text;

    // "line 7, Location 12: ..." with the channel when it differs from the Location.
    QString describe() const;
};

struct ChannelImportOptions {
    bool replaceAll = false;   // empty every channel of the base first
};

struct ChannelImport {
    RadioData data;
    std::vector<ImportNote> notes;   // in file order
    bool skippedOrChanged() const;
};

// Reads the CSV onto the base configuration. Fails, naming the line, when
// the file is not a channel list at all (empty, binary, no Frequency column,
// an unclosed quote); every smaller problem is a note.
Result<ChannelImport> ImportChannelsCsv(const QByteArray& csv, const RadioData& base,
                                        const ChannelImportOptions& options = {});

} // namespace k3n
