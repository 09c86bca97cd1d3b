// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/session_texts.h"
#include "text/ui_text.h"

namespace k3n {

namespace {
// Both Chinese tables hold the same texts.
const LocalText kProgramTexts[] = {
    {"开始", "开始", "Start"},
    {"取消", "取消", "Cancel"},
    {"无法连接", "无法连接", "Communication False"},
    {"成功", "成功", "SUCCESS"},
    {"频段错误", "频段错误", "Wrong Freq Band"},
};
}   // namespace

QString ProgramDialogText(ProgramText text)
{
    return Localized(kProgramTexts[int(text)]);
}

QString PortOpenNotice(const QString& error)
{
    return QStringLiteral("ZebCommDevice1: ") + error;
}

bool IsPortOpenNotice(const QString& notice)
{
    return notice.startsWith(PortOpenNotice(QString()));
}

}   // namespace k3n
