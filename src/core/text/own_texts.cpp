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
    {OwnText::MenuCut, {"剪切(&T)", "剪切(&T)", "Cu&t"}},
    {OwnText::MenuCopy, {"复制(&C)", "复制(&C)", "&Copy"}},
    {OwnText::MenuPaste, {"粘贴(&P)", "粘贴(&P)", "&Paste"}},
    {OwnText::MenuDelete, {"删除(&D)", "删除(&D)", "&Delete"}},
    {OwnText::MenuSelectAll, {"全选(&A)", "全选(&A)", "Select &all"}},
    {OwnText::MenuInsertChannel, {"插入信道(&I)", "插入信道(&I)", "&Insert channel"}},
    {OwnText::MenuRemoveChannel, {"移除信道(&R)", "移除信道(&R)", "&Remove channel"}},
    {OwnText::MenuMoveUp, {"上移(&U)", "上移(&U)", "Move &up"}},
    {OwnText::MenuMoveDown, {"下移(&W)", "下移(&W)", "Move do&wn"}},
    {OwnText::MenuFillDown, {"向下填充(&F)", "向下填充(&F)", "&Fill down"}},
    {OwnText::MenuFillSeries, {"填充序列(&S)…", "填充序列(&S)…", "Fill &series…"}},
    {OwnText::StepCutChannel, {"剪切信道 %1", "剪切信道 %1", "Cut channel %1"}},
    {OwnText::StepCutChannels, {"剪切 %1 个信道", "剪切 %1 个信道", "Cut %1 channels"}},
    {OwnText::StepPasteChannel, {"粘贴信道 %1", "粘贴信道 %1", "Paste channel %1"}},
    {OwnText::StepPasteChannels, {"粘贴 %1 个信道", "粘贴 %1 个信道", "Paste %1 channels"}},
    {OwnText::StepDeleteChannel, {"删除信道 %1", "删除信道 %1", "Delete channel %1"}},
    {OwnText::StepDeleteChannels, {"删除 %1 个信道", "删除 %1 个信道", "Delete %1 channels"}},
    {OwnText::StepInsertChannel, {"插入信道 %1", "插入信道 %1", "Insert channel %1"}},
    {OwnText::StepRemoveChannel, {"移除信道 %1", "移除信道 %1", "Remove channel %1"}},
    {OwnText::StepRemoveChannels, {"移除 %1 个信道", "移除 %1 个信道", "Remove %1 channels"}},
    {OwnText::StepMoveChannelsUp, {"上移信道", "上移信道", "Move channels up"}},
    {OwnText::StepMoveChannelsDown, {"下移信道", "下移信道", "Move channels down"}},
    {OwnText::StepFillDown, {"向下填充", "向下填充", "Fill down"}},
    {OwnText::StepFillSeries, {"填充序列", "填充序列", "Fill series"}},
    {OwnText::ChannelReferenceLost, {"%1 指向的信道 %2 已被移除或覆盖；它现在指向占据该位置的信道。", "%1 指向的信道 %2 已被移除或覆盖；它现在指向占据该位置的信道。", "%1 pointed at channel %2, which was removed or overwritten; it now points at whatever holds that place."}},
    {OwnText::ChannelReferenceOutOfReach, {"%1 仍指向信道 %2：其信道已移到 %3，而列表只提供信道 1 至 %4。", "%1 仍指向信道 %2：其信道已移到 %3，而列表只提供信道 1 至 %4。", "%1 still points at channel %2: its channel moved to %3, but the list offers channels 1 to %4 only."}},
    {OwnText::CellProblem, {"信道 %1，%2“%3”：%4", "信道 %1，%2“%3”：%4", "Channel %1, %2 \"%3\": %4"}},
    {OwnText::CellUnreadable, {"不是该列的值", "不是该列的值", "not a value of this column"}},
    {OwnText::CellOutsideBand, {"超出频段范围", "超出频段范围", "outside the band's limits"}},
    {OwnText::CellChannelEmpty, {"信道为空，只有接收频率能启用它", "信道为空，只有接收频率能启用它", "the channel is empty; only an RX frequency starts it"}},
    {OwnText::CellNotOpen, {"仅在加扰或信令开启时才有编号", "仅在加扰或信令开启时才有编号", "takes a number only while scrambling or a signalling system is on"}},
    {OwnText::PasteRowsBeyondLastChannel, {"从第 %2 行起的 %1 行超出信道 128，未粘贴", "从第 %2 行起的 %1 行超出信道 128，未粘贴", "%1 rows from line %2 on lie beyond channel 128 and were not pasted"}},
    {OwnText::PasteCellsBeyondLastColumn, {"%1 个单元格超出表格的最后一列，未粘贴", "%1 个单元格超出表格的最后一列，未粘贴", "%1 cells lie beyond the grid's last column and were not pasted"}},
    {OwnText::PasteEntriesBeyondLastChannel, {"%1 个信道超出信道 128，未粘贴", "%1 个信道超出信道 128，未粘贴", "%1 channels lie beyond channel 128 and were not pasted"}},
    {OwnText::NoticeNotEverythingDone, {"以下内容保持不变：", "以下内容保持不变：", "These were left as they were:"}},
    {OwnText::NoticeChannelReferences, {"指向信道的设置：", "指向信道的设置：", "Settings that point at channels:"}},
    {OwnText::AskDropLastChannel, {"信道 128 正在使用，插入后将丢失。仍要插入吗？", "信道 128 正在使用，插入后将丢失。仍要插入吗？", "Channel 128 is in use and would be lost. Insert anyway?"}},
    {OwnText::FillSeriesTitle, {"填充序列", "填充序列", "Fill Series"}},
    {OwnText::FillSeriesPrompt, {"步进（kHz，例如 12.5）：", "步进（kHz，例如 12.5）：", "Step in kHz (for example 12.5):"}},
    {OwnText::FillSeriesBadStep, {"“%1”不是以 kHz 为单位的步进。", "“%1”不是以 kHz 为单位的步进。", "\"%1\" is not a step in kHz."}},
    {OwnText::FillSeriesLeavesBand, {"未填充：信道 %1 将得到 %2 MHz，超出频段范围 %3 至 %4 MHz。", "未填充：信道 %1 将得到 %2 MHz，超出频段范围 %3 至 %4 MHz。", "Nothing was filled: channel %1 would get %2 MHz, outside the band's limits %3 – %4 MHz."}},
    {OwnText::FillSeriesFirstEmpty, {"第一个单元格没有可作为序列起点的频率。", "第一个单元格没有可作为序列起点的频率。", "The first cell holds no frequency to start the series from."}},
    {OwnText::PasteEntryOutsideBand, {"信道 %1 保持不变：粘贴的信道频率超出当前频段", "信道 %1 保持不变：粘贴的信道频率超出当前频段", "Channel %1 kept its values: the pasted channel's frequencies lie outside the band"}},
    {OwnText::NoticeMoreLeftOut, {"……另有 %1 项", "……另有 %1 项", "… and %1 more"}},
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
