// SPDX-License-Identifier: GPL-3.0-or-later
#include "commsettings/comm_settings_texts.h"

#include "text/ui_text.h"

#include <array>

namespace k3n {

namespace {

const std::array<LocalText, kCommSettingsTextCount> kTexts = {{
    {"确定(&O)", "確定(&O)", "&OK"},
    {"取消(&C)", "取消(&C)", "&Cancel"},
    {"串口设置", "串列埠設定", "COM port Setup"},
    {"串口", "串列埠", "COM port"},
    {"波特率", "鮑率", "Baud"},
    {"校验", "同位檢查", "Parity"},
    {"数据位", "資料位元", "Byte Size"},
    {"停止位", "停止位元", "Stop Bits"},
    {"流控制", "流量控制", "Flow Control"},
    {"无校验", "無同位檢查", "No parity"},
    {"奇校验", "奇同位", "Odd"},
    {"偶校验", "偶同位", "Even"},
    {"标记校验", "標記同位", "Mark"},
    {"无", "無", "None"},
    {"RTS/CTS", "RTS/CTS", "RTS/CTS"},
    {"Xon/Xoff", "Xon/Xoff", "Xon/Xoff"},
    {"RTS/CTS & Xon/Xoff", "RTS/CTS & Xon/Xoff", "RTS/CTS & Xon/Xoff"},
    {"必须选择串口", "必須選擇串列埠", "Must select COM Port"},
    {"必须选择波特率", "必須選擇鮑率", "Must select baud rate"},
    {"无效的波特率", "無效的鮑率", "Invalid baud rate"},
    {"必须选择数据位", "必須選擇資料位元", "Must select byte size"},
    {"必须选择校验方式", "必須選擇同位檢查方式", "Must select parity check"},
    {"必须选择停止位", "必須選擇停止位元", "Must select stop bits"},
    {"必须选择流控制", "必須選擇流量控制", "Must select flow control"},
    {"关于(&A)", "關於(&A)", "&About"},
    {"默认值(&D)", "預設值(&D)", "&Default"},
    {"端口", "埠", "Port"},
    {"调制解调器", "數據機", "Modem"},
    {"缓冲区", "緩衝區", "Buffer"},
    {"自动应答", "自動應答", "Auto Answer"},
    {"输入缓冲", "輸入緩衝", "Input Buf."},
    {"输出缓冲", "輸出緩衝", "Output Buf."},
    {"自动应答: 0 - 255", "自動應答: 0 - 255", "Auto Answer: 0 - 255"},
    {"输入缓冲区大小错误", "輸入緩衝區大小錯誤", "Input Buffer size error"},
    {"输出缓冲区大小错误", "輸出緩衝區大小錯誤", "Output Buffer size error"},
    {"空格校验", "空白同位", "Space Parity"},
}};

}   // namespace

QString CommSettingsText(int n)
{
    if (n < 0 || n >= kCommSettingsTextCount)
        return {};
    return Localized(kTexts[size_t(n)]);
}

}   // namespace k3n
