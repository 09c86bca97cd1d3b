// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own interface texts: everything shown to the user beyond the
// numbered tables and the windows' small tables. One row per text, in English,
// Chinese (Simplified) and Chinese (Traditional), switched with the language.
#include <QString>

namespace k3n {

class TAppLang;

enum class OwnText {
    // Document commands
    CannotOpenFile,   // %1 path, %2 reason
    CannotSaveFile,   // %1 path, %2 reason
    // Undo and redo: the Edit menu's items and the names of the steps they take back
    MenuUndo,
    MenuUndoStep,   // %1 step
    MenuRedo,
    MenuRedoStep,   // %1 step
    StepEditPage,   // %1 page name
    StepEdit,
    StepBandChange,
    // Reasons a file could not be read or written
    ReasonNotFound,
    ReasonPermissionDenied,
    ReasonIsADirectory,
    ReasonNotADirectory,
    ReasonDiskFull,
    ReasonReadOnlyFileSystem,
    ReasonTooShort,   // %1 size, %2 configuration size
    ReasonNotARegularFile,
    ReasonChannelList,
    // Service mode: questions before factory data is overwritten
    AskWritePowerTuningNotRead,
    AskWriteAdjustmentNotRead,
    AskWriteFactoryDataNotRead,
    AskWriteEmptySerialNumber,
    // Serial ports: why one cannot be opened or set
    PortNotPresent,
    PortPermissionDenied,
    PortInUse,
    PortNoResponse,
    PortNotSerial,
    PortSystemError,
    PortRefusedBaud,   // %1 baud rate
    PortRefusedByteSize,   // %1 data bits
    PortRefusedParity,   // %1 parity code
    PortRefusedStopBits,   // %1 stop-bits code
    PortRefusedSettings,   // %1 line settings, %2 reason
    PortOne5StopBitsNeedFive,
    NotAPortName,
    // Start-up
    VirtualRadioAttached,   // %1 port name, %2 device path
    // The check before a write
    CheckRxFrequencyMissing,
    CheckFrequencyOutsideBand,   // %1 MHz, %2 band name, %3 lower MHz, %4 upper MHz
    CheckUnknownBand,   // %1 band value
    CheckFrequencyOffRaster,   // %1 MHz
    CheckSignalNumberBeyondSystem,   // %1 entry, %2 system name, %3 entries
    CheckScrambleNumberTooHigh,   // %1 scrambler, %2 scramblers
    CheckEmptyChannelReference,   // %1 channel
    CheckEmptyCodeReference,   // %1 code
    CheckMissingCodeReference,   // %1 code, %2 codes in the table
    CheckDigitCountBeyondField,   // %1 digits claimed, %2 digits the field holds
    CheckLeadTimeOutOfRange,   // %1 ms, %2 lowest, %3 highest
    CheckToneTimeOutOfRange,   // %1 tenths, %2 lowest, %3 highest
    CheckValueNotOffered,   // %1 value
    CheckNoChannelInUse,
    // The check's window and the questions around a write
    MenuCheckConfiguration,
    CheckWindowTitle,
    CheckColumnSeverity,
    CheckColumnPage,
    CheckColumnItem,
    CheckColumnProblem,
    CheckSeverityError,
    CheckSeverityWarning,
    CheckNoProblems,
    CheckCounts,   // %1 the errors' count, %2 the warnings' count
    CheckAskWriteWithErrors,   // %1 errors
    // Files: the recent files and the copy kept against a crash
    AskRestoreAutosave,   // %1 path, %2 time it was written
    StepRestoreAutosave,
    AutosaveFailed,   // %1 path, %2 reason
    // Cables: the access rule, the remembered cable, the ports a search skipped
    PortAccessRuleHint,   // %1 path of the installed device rule
    CableNotConnected,   // %1 the cable's identity
    PortsSkippedBySearch,   // %1 one line per port: "COM1: reason"
    PortSerialNumber,   // %1 serial number
    AboutLicence,
    // The programming log
    ProgrammingLogNotWritable,   // %1 path, %2 reason
    ProgrammingLogIsALink,   // %1 path
    LogFileUnsaved,   // the file column of a configuration never saved
    LogFileUnsavedChanges,   // %1 file the configuration differs from
    LogFileRestoredBackup,   // %1 backup file
    // The printed configuration report
    ReportTitle,
    ReportFile,
    ReportChannelsInUse,   // %1 channels
    ReportPageOf,   // %1 page, %2 pages
    ReportPrintedOn,   // %1 date
    MenuPrint,
    MenuExportPdf,
    // Record fields without an interface text of their own
    FieldInUse,
    FieldTxDcsPolarity,
    FieldRxDcsPolarity,
    FieldReservedByte,   // %1 byte offset
    FieldOtherBits,   // %1 byte offset
    // Channels in and out as CSV, and the comparison of two configurations
    MenuImportChannels,
    MenuExportChannels,
    MenuCompareWithFile,
    ImportReportIntro,   // %1 file
    ImportNothingToReport,
    ImportAskApply,
    ImportFailed,   // %1 file, %2 reason
    ExportNotesIntro,   // %1 file
    CompareWindowTitle,   // %1 file
    CompareColumnOpen,
    CompareColumnFile,
    CompareNoDifferences,
    CompareCount,   // %1 differences
    StepImportChannels,
    // Writing with a backup before and a read-back after
    SafeWritePhaseBackup,
    SafeWritePhaseWrite,
    SafeWritePhaseVerify,
    SafeWriteBackupReadFailed,
    SafeWriteBackupNotSaved,   // %1 folder, %2 reason
    SafeWriteStoppedBeforeWrite,
    SafeWriteCancelledNothingWritten,
    SafeWriteCancelledDuringWrite,
    SafeWriteNothingWritten,
    SafeWritePartlyWritten,
    SafeWriteNotVerified,
    SafeWriteVerifyFailed,   // %1 the first differences
    VerifyProgramTime,
    VerifyMoreDifferences,   // %1 count
    SafeWriteBackupOption,
    SafeWriteVerifyOption,
    SafeWriteBackupSaved,   // %1 path
    // Restoring a backup
    MenuRestoreBackup,
    RestoreWindowTitle,
    RestoreColumnDate,
    RestoreColumnSerial,
    RestoreColumnBand,
    RestoreColumnChannels,
    RestoreNoBackups,   // %1 folder
    RestoreOpen,
    RestoreUnreadable,
    RestoreSkipped,   // %1 path
    RestoreAskWrite,
    StepRestoreBackup,
    // Editing the channel grid: the Edit menu's items, step names and messages
    MenuCut,
    MenuCopy,
    MenuPaste,
    MenuDelete,
    MenuSelectAll,
    MenuInsertChannel,
    MenuRemoveChannel,
    MenuMoveUp,
    MenuMoveDown,
    MenuFillDown,
    MenuFillSeries,
    StepCutChannel,
    StepCutChannels,
    StepPasteChannel,
    StepPasteChannels,
    StepDeleteChannel,
    StepDeleteChannels,
    StepInsertChannel,
    StepRemoveChannel,
    StepRemoveChannels,
    StepMoveChannelsUp,
    StepMoveChannelsDown,
    StepFillDown,
    StepFillSeries,
    ChannelReferenceLost,
    ChannelReferenceOutOfReach,
    ChannelReferenceEmptied,
    CellProblem,
    CellUnreadable,
    CellOutsideBand,
    CellChannelEmpty,
    CellNotOpen,
    PasteRowsBeyondLastChannel,
    PasteCellsBeyondLastColumn,
    PasteEntriesBeyondLastChannel,
    NoticeNotEverythingDone,
    NoticeChannelReferences,
    AskDropLastChannel,
    FillSeriesTitle,
    FillSeriesPrompt,
    FillSeriesBadStep,
    FillSeriesLeavesBand,
    FillSeriesFirstEmpty,
    PasteEntryOutsideBand,
    // Writing several radios at once
    MenuWriteSeveralRadios,
    SeveralRadiosTitle,
    SeveralRadiosColumnPort,
    SeveralRadiosColumnDevice,
    SeveralRadiosColumnCable,
    SeveralRadiosColumnProgress,
    SeveralRadiosColumnSerial,
    SeveralRadiosColumnResult,
    SeveralRadiosStart,
    SeveralRadiosCancel,
    SeveralRadiosClose,
    SeveralRadiosNoneChosen,
    SeveralRadiosWritten,
    SeveralRadiosNotVerified,
    SeveralRadiosFailed,
    SeveralRadiosCancelled,
    SeveralRadiosSummary,   // %1 radios written, %2 radios
    // The channel import's report
    ImportNoValueGiven,   // %1 column, %2 value taken instead
    ImportUnreadableValue,   // %1 column, %2 text, %3 value taken instead
    ImportRowSkipped,   // %1 why
    ImportOutsideBand,   // %1 column, %2 MHz, %3 band limits
    ImportSnapped,   // %1 column, %2 MHz as given, %3 MHz stored
    ImportNoFrequency,
    ImportUnreadableFrequency,   // %1 text
    ImportTxOutsideBand,   // %1 band limits
    ImportTxFrequency,
    ImportToneNotOffered,   // %1 column, %2 text
    ImportCodeNotOffered,   // %1 column, %2 text
    ImportModeNotOffered,   // %1 text
    ImportSkipNotOffered,   // %1 text
    ImportFieldsPastHeader,   // %1 fields, %2 header columns
    ImportUnreadableLocation,
    ImportLocationsFromZero,
    ImportNoSuchChannel,   // %1 channel, %2 channel count
    ImportChannelGivenTwice,   // %1 channel, %2 line
    ImportNoFreeChannel,
    ImportNoteLine,   // %1 line, %2 Location, %3 note
    ImportNoteLineChannel,   // %1 line, %2 Location, %3 channel, %4 note
    ImportInsteadTxIsRx,
    ImportInsteadNoTone,
    ImportInsteadNoCode,
    ImportInsteadNoTones,
    ImportNoLocation,   // a row's Location when it gives none
    ImportColumnsIgnored,   // %1 columns, %2 rows, %3 first line
    ImportToneValueUnused,   // %1 column, %2 text, %3 tone mode
    ImportOffsetUnused,   // %1 text
    ImportToneTaken,   // %1 column, %2 Hz as given, %3 Hz stored
    ImportWattsTaken,   // %1 text, %2 High or Low
    ImportScrambleNoDropped,   // %1 scrambler
    ImportSignalingNoWithoutSystem,   // %1 number
    ImportDigitsCut,   // %1 column, %2 text, %3 MHz stored
    ImportSummary,   // %1 rows read, %2 imported, %3 of them changed, %4 skipped
    ImportNothingImported,   // %1 rows read, %2 why
    ImportReasonNoRows,
    ImportReasonAllOutsideBand,   // %1 band limits
    ImportReasonAllSkipped,
    ImportHintBandOption,   // %1 band number
    ImportHintBandBase,   // %1 band number, %2 band name
    ImportHintBandChoose,   // %1 band name
    ImportNoFrequencyColumn,   // %1 line
    CsvEmpty,
    CsvBinary,   // %1 line
    CsvUnclosedQuote,   // %1 line
    CsvUtf16WithoutMark,
    CsvUtf32,
    // What an export of channels cannot carry, or its import would not take back as it is
    ExportNoteChannel,   // %1 channel, %2 note
    ExportForeignTone,   // %1 TX or RX, %2 code
    ExportOutsideBand,   // %1 column, %2 MHz, %3 band limits
    ExportOffRaster,   // %1 column, %2 MHz, %3 MHz an import stores
    ExportNotTaken,   // %1 column, %2 value
    ExportSignalingNoWithoutSystem,   // %1 number
    ExportUnnamedBits,   // %1 bytes and bits
    // Comparing with the radio, and the changes a write makes
    MenuCompareWithRadio,
    CompareWithRadioTitle,   // %1 serial number
    CompareColumnRadio,
    SafeWriteShowChangesOption,
    ChangesWindowTitle,
    ChangesAskWrite,   // %1 differences
    ChangesNoneAskWrite,
    ChangesWrite,
    ChangesStop,
    // The same radio from the backup to the read-back
    SafeWritePhaseRecheck,
    SafeWriteDifferentRadio,   // %1 serial number backed up, %2 serial number read back
    SafeWriteDifferentRadioBeforeWrite,   // %1 serial number backed up, %2 serial number now
    SafeWriteBackupUnsure,   // %1 backup path, %2 addresses
    RestoreUnsure,
    // Exact backups and restore
    SafeWriteOtherRadioRefused,   // %1 serial, %2 band of the backup; %3 serial, %4 band of the radio
    RestoreColumnExact,
    RestoreExactly,
    RestoreThroughConfiguration,
    RestoreAskWriteExact,   // %1 serial number, %2 band, %3 date and time
    // The document: unsaved changes, what the status bar confirms, the first hint
    AskSaveUnsavedChanges,
    StatusSaved,   // %1 path
    StatusExportedChannel,   // %1 count (1), %2 path
    StatusExportedChannels,   // %1 count, %2 path
    StatusExportedReport,   // %1 path
    StatusImported,   // %1 path
    StatusPastedChannel,   // %1 count (1)
    StatusPastedChannels,   // %1 count
    StatusStartHint,
    // Counts that agree with their noun: the singular of a text just above
    CheckErrorCount,   // %1 errors
    CheckErrorCountOne,   // %1 (1) error
    CheckWarningCount,   // %1 warnings
    CheckWarningCountOne,   // %1 (1) warning
    CheckAskWriteWithErrorsOne,   // %1 (1) error
    CompareCountOne,   // %1 (1) difference
    ChangesAskWriteOne,   // %1 (1) difference
    PasteRowsBeyondLastChannelOne,   // %1 (1) row, %2 line
    PasteCellsBeyondLastColumnOne,   // %1 (1) cell
    PasteEntriesBeyondLastChannelOne,   // %1 (1) channel
    // Writing several radios: the outcome in words, and a port typed by hand
    SeveralRadiosWrittenVerified,
    SeveralRadiosNoRadioAnswered,
    SeveralRadiosAddPort,
    SeveralRadiosAddPortPrompt,
    PortNameNotOnThisComputer,   // %1 name
    PortNameNotAPortName,   // %1 text typed
    // Writing only what changed
    SafeWriteChangedOnlyOption,
    SafeWriteExperimental,
    SafeWriteExperimentalTip,
    SafeWriteChangedOnly,   // %1 frames sent, %2 frames of the full write
    SafeWriteChangedOnlyFellBack,   // %1 frames sent, %2 frames of the full write, %3 the differences
    // What a screen reader says where the screen shows no caption
    SpokenPageTree,
    SpokenChannelGroup,
    SpokenBlankCell,
    SpokenCellEditor,   // %1 column header, %2 row header
    SpokenRowNumbers,
    SpokenPassword,
    SpokenStepUp,
    SpokenStepDown,
    Count
};

// The text in the language of 'lang', or of appLang().
QString Text(const TAppLang& lang, OwnText id);
QString Text(OwnText id);
// The text of one when count is 1, else of many, with count as its %1.
QString CountedText(const TAppLang& lang, qint64 count, OwnText one, OwnText many);
QString CountedText(qint64 count, OwnText one, OwnText many);

}   // namespace k3n
