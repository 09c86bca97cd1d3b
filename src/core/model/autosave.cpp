// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/autosave.h"
#include "model/user_data_folder.h"
#include <algorithm>

namespace k3n {

QString AutosaveFilePath()
{
    return UserDataFolder() + QStringLiteral("/autosave.fse");
}

void AutosaveSchedule::noteChange(qint64 nowMs)
{
    if (!changedAt_)
        changedAt_ = nowMs;
}

void AutosaveSchedule::noteClean()
{
    changedAt_.reset();
}

void AutosaveSchedule::noteWritten(qint64 nowMs)
{
    changedAt_.reset();
    writtenAt_ = nowMs;
}

qint64 AutosaveSchedule::msUntilDue(qint64 nowMs) const
{
    if (!changedAt_)
        return -1;
    const qint64 dueAt = writtenAt_ ? std::max(*changedAt_, *writtenAt_ + kIntervalMs) : *changedAt_;
    return std::max<qint64>(0, dueAt - nowMs);
}

bool AutosaveSchedule::isDue(qint64 nowMs) const
{
    return msUntilDue(nowMs) == 0;
}

} // namespace k3n
