// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check before a write: what in a configuration a radio cannot take
// (errors) and what is worth a second look (warnings), each named by the
// editor page and item that hold it, in the interface language.
#include "model/editor_page.h"
#include "model/offered_values.h"
#include "model/radio_record.h"
#include <QString>
#include <vector>

namespace k3n {

class TAppLang;

enum class Severity { Error, Warning };

// What a problem is about; the message says it in words.
enum class ProblemKind {
    // Errors: the radio cannot work with these.
    RxFrequencyMissing,
    FrequencyOutsideBand,
    UnknownBand,
    // Warnings
    FrequencyOffRaster,
    SignalNumberBeyondSystem,
    ScrambleNumberTooHigh,
    EmptyChannelReference,
    EmptyCodeReference,
    MissingCodeReference,
    DigitCountBeyondField,
    LeadTimeOutOfRange,
    ToneTimeOutOfRange,
    ValueNotOffered,
    NoChannelInUse,
};

struct ConfigurationProblem {
    Severity severity;
    ProblemKind kind;
    EditorPage page;
    int channel;   // 1..128 for a channel's problem, else 0
    QString item;   // "Channel 12, TX Freq."
    QString message;
};

// Every problem of the record, errors and warnings in the order of the pages.
std::vector<ConfigurationProblem> CheckConfiguration(const RadioRecord& record, const TAppLang& lang);
std::vector<ConfigurationProblem> CheckConfiguration(const RadioRecord& record);   // in appLang()

bool HasErrors(const std::vector<ConfigurationProblem>& problems);
// A 6.25 kHz channel as a read from the radio gives it is cut to 100 Hz.
bool IsOnChannelRaster(uint32_t hz);

}   // namespace k3n
