// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/comm_error.h"

#include "text/own_texts.h"
#include "text/ui_text.h"

#include <array>

namespace HalvexComm32 {

namespace {

const std::array<k3n::LocalText, 15> kErrorTexts = {{
    {"未知错误", "未知錯誤", "Unknown error"},
    {"内存不够", "記憶體不夠", "Out of memory"},
    {"不能初始化读缓存", "不能初始化讀緩存", "Cannot initialize read buffer"},
    {"不能初始化写缓存", "不能初始化寫緩存", "Cannot initialize write buffer"},
    {"不能打开端口", "不能打開埠", "Cannot open COM port"},
    {"不能设置端口事件MASK", "不能設置埠事件MASK", "Cannot set comm-mask"},
    {"不能设置端口缓存", "不能設置埠緩存", "Cannot set COM port buffer size"},
    {"不能得到端口参数", "不能得到埠參數", "Cannot read COM port parameters"},
    {"不能设置端口参数", "不能設置埠參數", "Cannot set COM port parameters"},
    {"不能创建端口异步读事件", "不能創建埠非同步讀事件", "Cannot create COM port asynchronize read event"},
    {"不能创建端口异步写事件", "不能創建埠非同步寫事件", "Cannot create COM port asynchronize write event"},
    {"不能创建端口读线程", "不能創建埠讀執行緒", "Cannot create COM port read thread"},
    {"不能创建端口写线程", "不能創建埠寫執行緒", "Cannot create COM port write thread"},
    {"不能关闭端口读线程", "不能關閉埠讀執行緒", "Cannot close COM port read thread"},
    {"不能关闭端口写线程", "不能關閉埠寫執行緒", "Cannot close COM port write thread"},
}};

// "<port>: <system text>", or for refused line settings "<port>: the port refused <settings> (<system text>)".
QString RefusalDetail(const TPortRefusal& refusal)
{
    const QString reason = refusal.settings.isEmpty()
        ? SystemText(refusal.failure)
        : k3n::Text(k3n::OwnText::PortRefusedSettings).arg(refusal.settings, SystemText(refusal.failure));
    return refusal.port + QStringLiteral(": ") + reason;
}

}   // namespace

QString EComm32Error::TextOf(TErrorCode code)
{
    const size_t index = code < kErrorTexts.size() ? code : 0;
    return k3n::Localized(kErrorTexts[index]);
}

EComm32Error::EComm32Error(TErrorCode code, const TPortRefusal& refusal) : EComm32Error(code, RefusalDetail(refusal))
{
    refusal_ = refusal;
}

EComm32Error::EComm32Error(TErrorCode code, const QString& detail) : code_(code), detail_(detail)
{
    message_ = TextOf(code);
    if (!detail_.isEmpty())
        message_ += QStringLiteral(": ") + detail_;
    utf8_ = message_.toUtf8();
}

}   // namespace HalvexComm32
