#include "comm/port_errors.h"

#include "text/ui_text.h"

#include <cerrno>
#include <cstring>

namespace HalvexComm32 {

namespace {

const k3n::LocalText kNotPresent = {
    "设备不存在，请检查连接线",
    "裝置不存在，請檢查連接線",
    "the device is not present - check the cable"};
const k3n::LocalText kPermission = {
    "没有权限，请把当前用户加入 dialout 组 (sudo adduser $USER dialout)，然后重新登录",
    "沒有權限，請把目前使用者加入 dialout 群組 (sudo adduser $USER dialout)，然後重新登入",
    "permission denied - add your user to the dialout group (sudo adduser $USER dialout) and log in again"};
const k3n::LocalText kInUse = {
    "端口正被其他程序使用",
    "埠正被其他程式使用",
    "the port is in use by another program"};
const k3n::LocalText kNoResponse = {
    "端口没有响应",
    "埠沒有回應",
    "the port does not respond"};
const k3n::LocalText kNotSerial = {
    "不是串口",
    "不是串列埠",
    "not a serial port"};
const k3n::LocalText kSystemError = {
    "系统错误",
    "系統錯誤",
    "system error"};

} // namespace

QString PortFailureReason(int err)
{
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return k3n::Localized(kNotPresent);
    case EACCES:
    case EPERM:
        return k3n::Localized(kPermission);
    case EBUSY:
    case EWOULDBLOCK:  // flock: another program holds the port
        return k3n::Localized(kInUse);
    case EIO:
        return k3n::Localized(kNoResponse);
    case ENOTTY:
        return k3n::Localized(kNotSerial);
    default:
        return QStringLiteral("%1 %2 (%3)")
            .arg(k3n::Localized(kSystemError))
            .arg(err)
            .arg(QString::fromLocal8Bit(std::strerror(err)));
    }
}

QString PortFailureDetail(const QString& port, int err)
{
    return port + QStringLiteral(": ") + PortFailureReason(err);
}

} // namespace HalvexComm32
