// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fake /sys and /dev tree in a scratch folder, for the port list and what
// builds on it: ttys with or without a UART, USB cables with their attribute
// files, device nodes (plain files) and /dev/serial/by-id links.
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace k3n::test {

class FakeSysfs {
public:
    FakeSysfs()
    {
        QDir().mkpath(Sys("class/tty"));
        QDir().mkpath(Dev());
    }
    QString Sys(const QString& rel = {}) const { return dir.path() + "/sys/" + rel; }
    QString Dev(const QString& rel = {}) const { return dir.path() + "/dev/" + rel; }

    void Write(const QString& path, const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text + "\n");
    }

    // A tty whose device folder is 'devicePath' (relative to sys/devices).
    void AddTty(const QString& name, const QString& devicePath, const char* type, bool devNode = true)
    {
        const QString classDir = Sys("class/tty/" + name);
        QDir().mkpath(classDir);
        QDir().mkpath(Sys("devices/" + devicePath));
        ASSERT_TRUE(QFile::link(Sys("devices/" + devicePath), classDir + "/device"));
        if (type)
            Write(classDir + "/type", type);
        if (devNode)
            Write(Dev(name), "");
    }
    // A USB device at 'usbPath' with the given attribute files and a tty somewhere below it.
    void AddUsbTty(const QString& name, const QString& usbPath, const QString& below,
                   std::initializer_list<std::pair<const char*, const char*>> attributes)
    {
        for (const auto& [file, text] : attributes)
            Write(Sys("devices/" + usbPath + "/" + file), text);
        AddTty(name, usbPath + below, nullptr);
    }

    // The device node 'name' made a link to a real terminal (a virtual radio's pty).
    void LinkDevNode(const QString& name, const QString& target)
    {
        QFile::remove(Dev(name));
        ASSERT_TRUE(QFile::link(target, Dev(name)));
    }
    // A /dev/serial/by-id link to the device node 'name', as udev makes it.
    void AddByIdLink(const QString& link, const QString& name)
    {
        QDir().mkpath(Dev("serial/by-id"));
        ASSERT_TRUE(QFile::link("../../" + name, Dev("serial/by-id/" + link)));
    }

    ScratchDir dir;
};

}   // namespace k3n::test
