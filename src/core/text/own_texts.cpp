#include "text/own_texts.h"

#include "text/app_lang.h"
#include "text/ui_text.h"

#include <array>

namespace k3n {

namespace {

struct Row {
    OwnText id;
    LocalText text;   // Simplified, Traditional, English
};

// The Traditional column may be written in simplified characters: texts shown in
// Traditional Chinese go through the same GBK -> Big5 conversion as the numbered tables.
constexpr Row kRows[] = {
    {OwnText::CannotOpenFile, {"无法打开“%1”：%2", "无法打开“%1”：%2", "Cannot open \"%1\": %2"}},
    {OwnText::CannotSaveFile, {"无法保存“%1”：%2", "无法保存“%1”：%2", "Cannot save \"%1\": %2"}},
    {OwnText::MenuUndo, {"撤销(&U)", "復原(&U)", "&Undo"}},
    {OwnText::MenuUndoStep, {"撤销%1(&U)", "復原%1(&U)", "&Undo %1"}},
    {OwnText::MenuRedo, {"重做(&R)", "取消復原(&R)", "&Redo"}},
    {OwnText::MenuRedoStep, {"重做%1(&R)", "取消復原%1(&R)", "&Redo %1"}},
    {OwnText::StepEditPage, {"“%1”中的修改", "「%1」中的變更", "Edit %1"}},
    {OwnText::StepEdit, {"修改", "變更", "Edit"}},
    {OwnText::StepBandChange, {"更改频段", "更改频段", "Change band"}},
    {OwnText::ReasonNotFound, {"文件或文件夹不存在", "文件或文件夹不存在", "no such file or folder"}},
    {OwnText::ReasonPermissionDenied, {"没有访问权限", "没有访问权限", "permission denied"}},
    {OwnText::ReasonIsADirectory, {"这是一个文件夹", "这是一个文件夹", "it is a folder"}},
    {OwnText::ReasonNotADirectory,
     {"路径中有一部分不是文件夹", "路径中有一部分不是文件夹", "a part of the path is not a folder"}},
    {OwnText::ReasonDiskFull, {"磁盘已满", "磁盘已满", "the disk is full"}},
    {OwnText::ReasonReadOnlyFileSystem, {"文件系统为只读", "文件系统为只读", "the file system is read-only"}},
    {OwnText::ReasonTooShort,
     {"不是配置文件：它只有 %1 字节，配置文件有 %2 字节",
      "不是配置文件：它只有 %1 字节，配置文件有 %2 字节",
      "not a configuration file: it holds %1 bytes, a configuration holds %2"}},
    {OwnText::AskWritePowerTuningNotRead,
     {"功率调试值不是从这台对讲机读出的。写入将替换它的出厂校准值。仍要写入吗？",
      "功率调试值不是从这台对讲机读出的。写入将替换它的出厂校准值。仍要写入吗？",
      "The power-tuning values were not read from this radio. Writing them replaces its factory calibration. "
      "Write anyway?"}},
    {OwnText::AskWriteAdjustmentNotRead,
     {"调整值不是从这台对讲机读出的。写入将替换它的出厂调整值。仍要写入吗？",
      "调整值不是从这台对讲机读出的。写入将替换它的出厂调整值。仍要写入吗？",
      "The adjustment values were not read from this radio. Writing them replaces its factory adjustment. "
      "Write anyway?"}},
    {OwnText::AskWriteFactoryDataNotRead,
     {"功率调试值和调整值不是从这台对讲机读出的。写入将替换它的出厂校准值和调整值。仍要写入吗？",
      "功率调试值和调整值不是从这台对讲机读出的。写入将替换它的出厂校准值和调整值。仍要写入吗？",
      "The power-tuning and adjustment values were not read from this radio. Writing them replaces its factory "
      "calibration and adjustment. Write anyway?"}},
    {OwnText::AskWriteEmptySerialNumber,
     {"要写入的序列号为空或全为零。写入将抹去对讲机的序列号。仍要写入吗？",
      "要写入的序列号为空或全为零。写入将抹去对讲机的序列号。仍要写入吗？",
      "The serial number to write is empty or all zeros. Writing it erases the radio's serial number. "
      "Write anyway?"}},
    {OwnText::PortNotPresent,
     {"设备不存在，请检查连接线", "裝置不存在，請檢查連接線", "the device is not present - check the cable"}},
    {OwnText::PortPermissionDenied,
     {"没有权限，请把当前用户加入 dialout 组 (sudo adduser $USER dialout)，然后重新登录",
      "沒有權限，請把目前使用者加入 dialout 群組 (sudo adduser $USER dialout)，然後重新登入",
      "permission denied - add your user to the dialout group (sudo adduser $USER dialout) and log in again"}},
    {OwnText::PortInUse, {"端口正被其他程序使用", "埠正被其他程式使用", "the port is in use by another program"}},
    {OwnText::PortNoResponse, {"端口没有响应", "埠沒有回應", "the port does not respond"}},
    {OwnText::PortNotSerial, {"不是串口", "不是串列埠", "not a serial port"}},
    {OwnText::PortSystemError, {"系统错误", "系統錯誤", "system error"}},
    {OwnText::PortRefusedBaud, {"波特率 %1", "鮑率 %1", "baud rate %1"}},
    {OwnText::PortRefusedByteSize, {"数据位 %1 (只能是 5 到 8)", "資料位元 %1 (只能是 5 到 8)", "%1 data bits (5 to 8 only)"}},
    {OwnText::PortRefusedParity, {"校验方式 %1", "同位檢查方式 %1", "parity code %1"}},
    {OwnText::PortRefusedStopBits, {"停止位 %1", "停止位元 %1", "stop bits code %1"}},
    {OwnText::PortRefusedSettings, {"端口不接受 %1 (%2)", "埠不接受 %1 (%2)", "the port refused %1 (%2)"}},
    {OwnText::PortOne5StopBitsNeedFive,
     {"1.5 个停止位只能配 5 个数据位", "1.5 個停止位元只能配 5 個資料位元", "1.5 stop bits need 5 data bits"}},
    {OwnText::VirtualRadioAttached,
     {"已连接虚拟对讲机：%1 \u2014 %2", "已连接虚拟对讲机：%1 \u2014 %2", "Virtual radio attached: %1 \u2014 %2"}},
    {OwnText::CheckRxFrequencyMissing,
     {"信道已启用，但没有接收频率", "信道已启用，但没有接收频率", "the channel is in use but has no RX frequency"}},
    {OwnText::CheckFrequencyOutsideBand,
     {"%1 MHz 超出频段 %2（%3 至 %4 MHz）", "%1 MHz 超出频段 %2（%3 至 %4 MHz）",
      "%1 MHz is outside the band %2 (%3 to %4 MHz)"}},
    {OwnText::CheckUnknownBand,
     {"频段值为 %1，有效值只有 0 至 3", "频段值为 %1，有效值只有 0 至 3", "the band is %1; only bands 0 to 3 exist"}},
    {OwnText::CheckFrequencyOffRaster,
     {"%1 MHz 不在 5 kHz 或 6.25 kHz 的信道间隔上", "%1 MHz 不在 5 kHz 或 6.25 kHz 的信道间隔上",
      "%1 MHz is not on the 5 kHz or 6.25 kHz channel raster"}},
    {OwnText::CheckSignalNumberBeyondSystem,
     {"条目 %1 不存在：%2 只有 %3 个条目", "条目 %1 不存在：%2 只有 %3 个条目",
      "entry %1 does not exist: %2 has %3 entries"}},
    {OwnText::CheckScrambleNumberTooHigh,
     {"扰频器 %1 不存在：只有 %2 个", "扰频器 %1 不存在：只有 %2 个", "scrambler %1 does not exist: there are %2"}},
    {OwnText::CheckEmptyChannelReference, {"信道 %1 未启用", "信道 %1 未启用", "channel %1 is empty"}},
    {OwnText::CheckEmptyCodeReference, {"编码 %1 为空", "编码 %1 为空", "code %1 is empty"}},
    {OwnText::CheckMissingCodeReference,
     {"编码 %1 不存在：编码表只有 %2 个", "编码 %1 不存在：编码表只有 %2 个",
      "code %1 does not exist: the table has %2 codes"}},
    {OwnText::CheckDigitCountBeyondField,
     {"编码长度为 %1 位，最多只能有 %2 位", "编码长度为 %1 位，最多只能有 %2 位",
      "the code claims %1 digits; the field holds at most %2"}},
    {OwnText::CheckLeadTimeOutOfRange,
     {"%1 ms 超出 %2 至 %3 ms 的范围", "%1 ms 超出 %2 至 %3 ms 的范围", "%1 ms is outside %2 to %3 ms"}},
    {OwnText::CheckToneTimeOutOfRange,
     {"%1 超出 %2 至 %3（单位 0.1 秒）的范围", "%1 超出 %2 至 %3（单位 0.1 秒）的范围",
      "%1 is outside %2 to %3 (tenths of a second)"}},
    {OwnText::CheckValueNotOffered,
     {"数值 %1 不在选项列表中", "数值 %1 不在选项列表中", "the value %1 is not one the list offers"}},
    {OwnText::CheckNoChannelInUse, {"没有启用的信道", "没有启用的信道", "no channel is in use"}},
    {OwnText::MenuCheckConfiguration, {"检查配置(&C)", "检查配置(&C)", "&Check configuration"}},
    {OwnText::CheckWindowTitle, {"检查配置", "检查配置", "Check configuration"}},
    {OwnText::CheckColumnSeverity, {"严重程度", "严重程度", "Severity"}},
    {OwnText::CheckColumnPage, {"页面", "页面", "Page"}},
    {OwnText::CheckColumnItem, {"项目", "项目", "Item"}},
    {OwnText::CheckColumnProblem, {"问题", "问题", "Problem"}},
    {OwnText::CheckSeverityError, {"错误", "错误", "Error"}},
    {OwnText::CheckSeverityWarning, {"警告", "警告", "Warning"}},
    {OwnText::CheckNoProblems, {"没有发现问题。", "没有发现问题。", "No problems found."}},
    {OwnText::CheckCounts, {"%1 个错误，%2 个警告", "%1 个错误，%2 个警告", "%1 errors, %2 warnings"}},
    {OwnText::CheckAskWriteWithErrors,
     {"配置中有 %1 个错误，对讲机无法按此工作（见检查列表）。仍要写入吗？",
      "配置中有 %1 个错误，对讲机无法按此工作（见检查列表）。仍要写入吗？",
      "The configuration has %1 errors a radio cannot work with (see the check list). Write it anyway?"}},
    {OwnText::AskRestoreAutosave,
     {"程序上次意外结束时，未保存的配置已保存在“%1”（%2）。要恢复它吗？\n选择“否”将删除这份副本，选择“取消”则下次启动时再询问。",
      "程式上次意外結束時，未儲存的配置已保存在「%1」（%2）。要還原它嗎？\n選擇「否」將刪除這份副本，選擇「取消」則下次啟動時再詢問。",
      "When the program last ended unexpectedly, a configuration that was not saved was kept in \"%1\" (%2). Restore it?\nNo deletes this copy; Cancel asks again at the next start."}},
    {OwnText::StepRestoreAutosave, {"恢复未保存的配置", "還原未儲存的配置", "Restore unsaved configuration"}},
    {OwnText::AutosaveFailed, {"无法保存副本“%1”：%2", "無法保存副本「%1」：%2", "Cannot keep a copy in \"%1\": %2"}},
    {OwnText::PortAccessRuleHint,
     {"或者确认已安装 %1（k3n 软件包自带），再重新插入写频线",
      "或者確認已安裝 %1（k3n 軟體包自帶），再重新插入寫頻線",
      "or make sure %1 is installed (the k3n package brings it) and plug the cable in again"}},
    {OwnText::CableNotConnected,
     {"所选的写频线没有连接：%1", "所選的寫頻線沒有連接：%1", "The chosen cable is not connected: %1"}},
    {OwnText::PortsSkippedBySearch,
     {"自动查找跳过了无法打开的端口：\n%1", "自動查找跳過了無法開啟的埠：\n%1",
      "The search skipped the ports it could not open:\n%1"}},
    {OwnText::PortSerialNumber, {"序列号 %1", "序號 %1", "serial %1"}},
    {OwnText::AboutLicence,
     {"自由软件，依照 GNU 通用公共许可证第 3 版或（由您选择）任何更新版本发布，不提供任何担保。",
      "自由軟體，依照 GNU 通用公共授權條款第 3 版或（由您選擇）任何更新版本發佈，不提供任何擔保。",
      "Free software under the GNU General Public License, version 3 or (at your option) any later version; "
      "it comes with no warranty."}},
    {OwnText::ProgrammingLogNotWritable,
     {"无法写入编程记录 %1：%2", "無法寫入編程記錄 %1：%2", "the programming log %1 cannot be written: %2"}},
    {OwnText::ReportTitle, {"配置报告", "配置報告", "Configuration report"}},
    {OwnText::ReportFile, {"文件", "檔案", "File"}},
    {OwnText::ReportChannelsInUse, {"已用信道：%1", "已用信道：%1", "Channels in use: %1"}},
    {OwnText::ReportPageOf, {"第 %1 页，共 %2 页", "第 %1 頁，共 %2 頁", "Page %1 of %2"}},
    {OwnText::ReportPrintedOn, {"打印日期：%1", "列印日期：%1", "Printed %1"}},
    {OwnText::MenuPrint, {"打印(&P)…", "列印(&P)…", "&Print…"}},
    {OwnText::MenuExportPdf, {"导出 PDF(&D)…", "匯出 PDF(&D)…", "Export P&DF…"}},
    {OwnText::FieldInUse, {"启用", "啟用", "In use"}},
    {OwnText::FieldTxDcsPolarity, {"发射 DCS 极性", "發射 DCS 極性", "TX DCS polarity"}},
    {OwnText::FieldRxDcsPolarity, {"接收 DCS 极性", "接收 DCS 極性", "RX DCS polarity"}},
    {OwnText::FieldReservedByte, {"保留字节 %1", "保留位元組 %1", "Reserved byte %1"}},
    {OwnText::FieldOtherBits, {"字节 %1 的其他位", "位元組 %1 的其他位元", "Other bits of byte %1"}},
    {OwnText::MenuImportChannels, {"导入信道(&I)…", "匯入頻道(&I)…", "&Import channels\u2026"}},
    {OwnText::MenuExportChannels, {"导出信道(&X)…", "匯出頻道(&X)…", "E&xport channels\u2026"}},
    {OwnText::MenuCompareWithFile, {"与文件比较(&M)…", "與檔案比較(&M)…", "Co&mpare with file\u2026"}},
    {OwnText::ImportReportIntro,
     {"“%1”中未能原样导入的内容：", "「%1」中未能原樣匯入的內容：", "What did not fit in \"%1\":"}},
    {OwnText::ImportNothingToReport,
     {"每一行都已按原样导入。", "每一行都已按原樣匯入。", "Every row fits as written."}},
    {OwnText::ImportAskApply,
     {"把这些信道应用到当前配置吗？", "把這些頻道套用到目前配置嗎？", "Apply these channels to the open configuration?"}},
    {OwnText::ImportFailed, {"无法导入“%1”：%2", "無法匯入「%1」：%2", "Cannot import \"%1\": %2"}},
    {OwnText::ExportNotesIntro,
     {"“%1”已写入；CSV 列无法表达的内容：", "「%1」已寫入；CSV 欄無法表達的內容：",
      "\"%1\" is written; what its columns cannot say:"}},
    {OwnText::CompareWindowTitle, {"与“%1”比较", "與「%1」比較", "Compare with \"%1\""}},
    {OwnText::CompareColumnOpen, {"当前配置", "目前配置", "Open configuration"}},
    {OwnText::CompareColumnFile, {"文件", "檔案", "File"}},
    {OwnText::CompareNoDifferences, {"两个配置相同。", "兩個配置相同。", "The configurations are the same."}},
    {OwnText::CompareCount, {"%1 处不同", "%1 處不同", "%1 differences"}},
    {OwnText::StepImportChannels, {"导入信道", "匯入頻道", "Import channels"}},
    {OwnText::SafeWritePhaseBackup, {"正在备份对讲机", "正在备份对讲机", "Backing up the radio"}},
    {OwnText::SafeWritePhaseWrite, {"正在写入", "正在写入", "Writing"}},
    {OwnText::SafeWritePhaseVerify, {"正在校验", "正在校验", "Verifying"}},
    {OwnText::SafeWriteBackupReadFailed,
     {"无法读取对讲机，因此没有写入任何数据", "无法读取对讲机，因此没有写入任何数据",
      "The radio could not be read, so nothing was written"}},
    {OwnText::SafeWriteBackupNotSaved,
     {"备份无法保存到“%1”（%2），因此没有写入任何数据", "备份无法保存到“%1”（%2），因此没有写入任何数据",
      "The backup could not be saved in \"%1\" (%2), so nothing was written"}},
    {OwnText::SafeWriteStoppedBeforeWrite,
     {"已在写入前停止，没有写入任何数据", "已在写入前停止，没有写入任何数据",
      "Stopped before writing; nothing was written"}},
    {OwnText::SafeWriteCancelledNothingWritten,
     {"已取消，没有写入任何数据", "已取消，没有写入任何数据", "Cancelled; nothing was written"}},
    {OwnText::SafeWriteCancelledDuringWrite,
     {"写入过程中已取消：对讲机现在只有新配置的一部分", "写入过程中已取消：对讲机现在只有新配置的一部分",
      "Cancelled during the write: the radio now holds only part of the new configuration"}},
    {OwnText::SafeWriteNothingWritten, {"没有写入任何数据", "没有写入任何数据", "nothing was written"}},
    {OwnText::SafeWritePartlyWritten,
     {"对讲机现在只有新配置的一部分", "对讲机现在只有新配置的一部分",
      "the radio now holds only part of the new configuration"}},
    {OwnText::SafeWriteNotVerified, {"已写入，但未校验", "已写入，但未校验", "Written, but not verified"}},
    {OwnText::SafeWriteVerifyFailed,
     {"已写入，但对讲机中的数据与写入的不同：%1", "已写入，但对讲机中的数据与写入的不同：%1",
      "Written, but the radio does not hold what was sent: %1"}},
    {OwnText::VerifyProgramTime, {"编程日期和时间", "编程日期和时间", "Date and time of programming"}},
    {OwnText::VerifyMoreDifferences, {"，另有 %1 处", "，另有 %1 处", " and %1 more"}},
    {OwnText::SafeWriteBackupOption, {"写入前先备份对讲机", "写入前先备份对讲机", "Back up the radio first"}},
    {OwnText::SafeWriteVerifyOption, {"写入后校验", "写入后校验", "Verify after writing"}},
    {OwnText::SafeWriteBackupSaved, {"备份已保存：%1", "备份已保存：%1", "Backup saved: %1"}},
    {OwnText::MenuRestoreBackup, {"从备份恢复对讲机(&B)…", "从备份恢复对讲机(&B)…", "Restore radio from &backup…"}},
    {OwnText::RestoreWindowTitle, {"从备份恢复对讲机", "从备份恢复对讲机", "Restore radio from backup"}},
    {OwnText::RestoreColumnDate, {"日期", "日期", "Date"}},
    {OwnText::RestoreColumnSerial, {"序列号", "序列号", "Serial number"}},
    {OwnText::RestoreColumnBand, {"频段", "频段", "Band"}},
    {OwnText::RestoreColumnChannels, {"启用的信道", "启用的信道", "Channels in use"}},
    {OwnText::RestoreNoBackups, {"“%1”中还没有备份。", "“%1”中还没有备份。", "No backups yet in \"%1\"."}},
    {OwnText::RestoreOpen, {"打开(&O)", "打开(&O)", "&Open"}},
    {OwnText::RestoreUnreadable, {"无法读取", "无法读取", "cannot be read"}},
    {OwnText::RestoreAskWrite,
     {"备份已作为当前配置打开。现在把它写入对讲机吗？", "备份已作为当前配置打开。现在把它写入对讲机吗？",
      "The backup is now the current configuration. Write it into the radio now?"}},
    {OwnText::StepRestoreBackup, {"从备份恢复", "从备份恢复", "Restore from backup"}},
};

constexpr int kCount = int(OwnText::Count);
static_assert(std::size(kRows) == kCount, "one row per text");

constexpr bool RowsInOrder()
{
    for (int i = 0; i < kCount; ++i)
        if (int(kRows[i].id) != i)
            return false;
    return true;
}
static_assert(RowsInOrder(), "rows in the order of OwnText");

} // namespace

QString Text(const TAppLang& lang, OwnText id)
{
    const int n = int(id);
    if (n < 0 || n >= kCount)
        return {};
    return Localized(lang, kRows[n].text);
}

QString Text(OwnText id)
{
    return Text(appLang(), id);
}

} // namespace k3n
