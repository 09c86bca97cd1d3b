// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/attached_virtual_radio.h"
#include "app/settings_file.h"
#include "comm/port_list.h"
#include "support/test_support.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace k3n;

namespace {

using test::FileBytes;
using test::WriteFileBytes;

}   // namespace

TEST(SettingsFile, LivesInTheUsersConfigFolder)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/some/where");
    EXPECT_EQ(SettingsFilePath(), "/some/where/K3N/config.ini");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsFilePath(), QDir::homePath() + "/.config/K3N/config.ini");
    qputenv("XDG_CONFIG_HOME", "relative/path");   // invalid by the XDG rules
    EXPECT_EQ(SettingsFilePath(), QDir::homePath() + "/.config/K3N/config.ini");
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST(SettingsFile, FirstRunCreatesTheFileWithTheDefaults)
{
    test::ScratchDir dir;
    const QString path = dir.file("deeper/K3N/config.ini");   // folders created as needed
    AppSettings s;
    LoadOrCreateSettings(s, {"COM2"}, path);
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=1\nLanguage=1\nAutoSeachPort=1\n"));
    // No port check on the first run: Port 1 stays although only COM2 is present.
    EXPECT_EQ(s.Port, 1);
    EXPECT_EQ(s.Language, 1);
    EXPECT_TRUE(s.AutoSeachPort);
}

TEST(SettingsFile, AbsentPortBecomesOneAndReachesTheFileAtExit)
{
    test::ScratchDir dir;
    const QString path = dir.file("K3N/config.ini");
    WriteFileBytes(path, "[config]\nPort=7\nLanguage=0\nAutoSeachPort=0\n");
    AppSettings s;
    LoadOrCreateSettings(s, {"COM1", "COM3"}, path);
    EXPECT_EQ(s.Port, 1);
    EXPECT_EQ(s.Language, 0);
    EXPECT_FALSE(s.AutoSeachPort);
    // Only memory changed; the file changes at exit.
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=7\nLanguage=0\nAutoSeachPort=0\n"));
    ASSERT_EQ(SaveSettings(s, path), std::nullopt);
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=1\nLanguage=0\nAutoSeachPort=0\n"));
}

TEST(SettingsFile, ValuesAreReadLenientlyAndGarbageReadsAsDefaults)
{
    const struct {
        QByteArray text;
        int port, language;
        bool autoSearch;
    } rows[] = {
        {"[config]\nPort=5\nLanguage=2\nAutoSeachPort=5\n", 5, 2, true},   // any non-zero number is true
        {"[config]\nPort=abc\nLanguage=\nAutoSeachPort=yes\n", 1, 1, true},
        // Another section's keys do not count; names in any case, padded values, Windows line ends.
        {"[other]\nPort=5\n\r\n[CONFIG]\r\n port = 5 \r\nlanguage=2\r\n", 5, 2, true},
        {QByteArray("\xff\xfe\x00\x01[con", 9), 1, 1, true},
        {"", 1, 1, true},
    };
    test::ScratchDir dir;
    const QString path = dir.file("K3N/config.ini");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        WriteFileBytes(path, row.text);
        AppSettings s{.Port = 9, .Language = 0, .AutoSeachPort = false};
        LoadOrCreateSettings(s, {"COM1", "COM5"}, path);
        EXPECT_EQ(s.Port, row.port);
        EXPECT_EQ(s.Language, row.language);
        EXPECT_EQ(s.AutoSeachPort, row.autoSearch);
    }
    ASSERT_EQ(SaveSettings(AppSettings{.Port = 5, .Language = 2, .AutoSeachPort = true}, path), std::nullopt);
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=5\nLanguage=2\nAutoSeachPort=1\n"));

    // A folder where the file should be: it exists but cannot be read or written.
    const QString folder = dir.file("folder/config.ini");
    QDir().mkpath(folder);
    AppSettings s{.Port = 4, .Language = 0, .AutoSeachPort = false};
    LoadOrCreateSettings(s, {"COM4"}, folder);
    EXPECT_EQ(s.Port, 1);
    EXPECT_EQ(s.Language, 1);
    EXPECT_TRUE(s.AutoSeachPort);
    const std::optional<Error> refused = SaveSettings(s, folder);
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->message.contains(folder)) << refused->message.toStdString();
}

TEST(SettingsFile, SavingChangesOnlyTheThreeKeysAndKeepsEverythingElse)
{
    const AppSettings s{.Port = 3, .Language = 2, .AutoSeachPort = false};
    const struct {
        QByteArray before, after;
    } rows[] = {
        {"", "[config]\nPort=3\nLanguage=2\nAutoSeachPort=0\n"},
        // Comments, other sections and unknown keys stay where they are; spacing and spelling are kept.
        {"; mine\n[window]\nwidth=800\n\n[Config]\nport = 7\nTheme=dark\nLANGUAGE=0\nAutoSeachPort=1\n[later]\nx=1\n",
         "; mine\n[window]\nwidth=800\n\n[Config]\nport = 3\nTheme=dark\nLANGUAGE=2\nAutoSeachPort=0\n[later]\nx=1\n"},
        // Missing keys join the end of the section, in order; a second occurrence is left alone.
        {"[config]\nLanguage=1\nLanguage=9\n\n[other]\na=b\n",
         "[config]\nLanguage=2\nLanguage=9\nPort=3\nAutoSeachPort=0\n\n[other]\na=b\n"},
        // No section of ours: it is appended; Windows line ends and a missing last newline are handled.
        {"[other]\r\na=b", "[other]\r\na=b\r\n\r\n[config]\r\nPort=3\r\nLanguage=2\r\nAutoSeachPort=0\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before.toStdString());
        EXPECT_EQ(UpdatedSettingsText(row.before, s), row.after);
        EXPECT_EQ(UpdatedSettingsText(row.after, s), row.after);   // saving twice changes nothing more
    }

    test::ScratchDir dir;
    const QString path = dir.file("K3N/config.ini");
    WriteFileBytes(path, "[config]\nPort=1\nRecentFile=/tmp/a.fse\n");
    ASSERT_EQ(SaveSettings(s, path), std::nullopt);
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=3\nRecentFile=/tmp/a.fse\nLanguage=2\nAutoSeachPort=0\n"));

    // A file that cannot be written whole is not written at all.
    {
        const test::FileSizeLimit limit(16);
        EXPECT_TRUE(SaveSettings(AppSettings{.Port = 5}, path).has_value());
    }
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=3\nRecentFile=/tmp/a.fse\nLanguage=2\nAutoSeachPort=0\n"));
}

TEST(SettingsFile, PortNameRule)
{
    EXPECT_EQ(PortNumberOfName("COM3"), 3);
    EXPECT_EQ(PortNumberOfName("COM12"), 1);   // only the fourth character counts
    EXPECT_EQ(PortNumberOfName("COM"), 0);
    EXPECT_EQ(PortNumberOfName("virtual radio"), 0);
    EXPECT_TRUE(PortIsPresent(1, {"COM3", "COM12"}));
    EXPECT_FALSE(PortIsPresent(2, {"COM3", "COM12"}));
    EXPECT_EQ(CheckedPort(3, {"COM1", "COM3"}), 3);
    EXPECT_EQ(CheckedPort(7, {"COM1", "COM3"}), 1);
    EXPECT_EQ(CheckedPort(0, {"COM1", "COMx"}), 1);   // only 1..9 can be chosen
    EXPECT_EQ(CheckedPort(12, {"COM1", "COM12"}), 1);
}

TEST(SettingsFile, VirtualRadioRunKeepsTheUsersPortChoiceInTheFile)
{
    QString devicePath;
    {
        AttachedVirtualRadio radio;
        ASSERT_EQ(radio.Start(), std::nullopt);
        devicePath = radio.devicePath();
        const auto ports = HalvexComm32::TCommSerialPortInfo().Ports();
        const auto listed =
            std::find_if(ports.begin(), ports.end(), [&](const auto& p) { return p.devicePath == devicePath; });
        ASSERT_NE(listed, ports.end());
        EXPECT_EQ(listed->description, "virtual radio");
        EXPECT_EQ(listed->name, radio.portName());
        const int number = radio.portNumber();
        if (number > kLastChoosablePort)
            GTEST_SKIP() << "the virtual radio is " << radio.portName().toStdString() << " on this computer";

        const AppSettings atStartUp{.Port = 1, .Language = 0, .AutoSeachPort = true};
        AppSettings run = atStartUp;
        ASSERT_TRUE(radio.PointSettingsAtIt(run));
        EXPECT_EQ(run.Port, number);
        EXPECT_FALSE(run.AutoSeachPort);

        // The port choice was left alone: the file keeps the user's own, with the run's language.
        run.Language = 2;
        AppSettings keep = radio.SettingsToKeep(run, atStartUp);
        EXPECT_EQ(keep.Port, 1);
        EXPECT_TRUE(keep.AutoSeachPort);
        EXPECT_EQ(keep.Language, 2);

        // A port chosen during the run is what the user wants next time.
        run.AutoSeachPort = true;
        keep = radio.SettingsToKeep(run, atStartUp);
        EXPECT_TRUE(keep.AutoSeachPort);
        EXPECT_EQ(keep.Port, number);
    }
    for (const auto& p : HalvexComm32::TCommSerialPortInfo().Ports())
        EXPECT_NE(p.devicePath, devicePath);
}

TEST(SettingsFile, VirtualRadioIsAskedForOnTheCommandLine)
{
    EXPECT_FALSE(VirtualRadioAskedFor({"k3n-cps"}));
    const auto plain = VirtualRadioAskedFor({"k3n-cps", "--virtual-radio"});
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->memory_file.isEmpty());
    const auto kept = VirtualRadioAskedFor({"k3n-cps", "--virtual-radio", "--virtual-radio-memory", "/tmp/r.bin"});
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->memory_file, "/tmp/r.bin");
}

TEST(SettingsFile, TheRememberedCableIsKeptBesideThePort)
{
    test::ScratchDir dir;
    const QString path = dir.file("K3N/config.ini");
    const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    AppSettings s{.Port = 2, .Language = 0, .AutoSeachPort = false, .PortId = byId};
    ASSERT_EQ(SaveSettings(s, path), std::nullopt);
    EXPECT_EQ(FileBytes(path), "[config]\nPort=2\nLanguage=0\nAutoSeachPort=0\nPortId=" + byId.toUtf8() + "\n");

    AppSettings read;
    LoadOrCreateSettings(read, {"COM1", "COM2"}, path);
    EXPECT_EQ(read.PortId, byId);
    EXPECT_EQ(read.Port, 2);

    // Choosing a built-in port forgets the cable: the key stays, empty.
    read.PortId.clear();
    ASSERT_EQ(SaveSettings(read, path), std::nullopt);
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=2\nLanguage=0\nAutoSeachPort=0\nPortId=\n"));
    AppSettings again;
    LoadOrCreateSettings(again, {"COM1", "COM2"}, path);
    EXPECT_TRUE(again.PortId.isEmpty());
}

TEST(SettingsFile, WriteOptionsAreKeptOnceSwitchedOff)
{
    test::ScratchDir dir;
    const QString path = dir.file("K3N/config.ini");
    AppSettings s{.Port = 3, .Language = 0, .AutoSeachPort = false};
    ASSERT_EQ(SaveSettings(s, path), std::nullopt);   // both on, as by default: the three keys only
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=3\nLanguage=0\nAutoSeachPort=0\n"));

    s.VerifyAfterWrite = false;
    ASSERT_EQ(SaveSettings(s, path), std::nullopt);
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=3\nLanguage=0\nAutoSeachPort=0\nVerifyAfterWrite=0\n"));
    AppSettings loaded;
    LoadOrCreateSettings(loaded, {"COM3"}, path);
    EXPECT_TRUE(loaded.BackupBeforeWrite);
    EXPECT_FALSE(loaded.VerifyAfterWrite);

    // Switched on again, the key that is there follows.
    s.VerifyAfterWrite = true;
    ASSERT_EQ(SaveSettings(s, path), std::nullopt);
    EXPECT_EQ(FileBytes(path), QByteArray("[config]\nPort=3\nLanguage=0\nAutoSeachPort=0\nVerifyAfterWrite=1\n"));
    LoadOrCreateSettings(loaded, {"COM3"}, path);
    EXPECT_TRUE(loaded.VerifyAfterWrite);
    // Writing only what changed is off unless switched on; then the file says so.
    EXPECT_FALSE(loaded.WriteChangedOnly);
    s.WriteChangedOnly = true;
    ASSERT_EQ(SaveSettings(s, path), std::nullopt);
    EXPECT_TRUE(FileBytes(path).endsWith("VerifyAfterWrite=1\nWriteChangedOnly=1\n")) << FileBytes(path).toStdString();
    LoadOrCreateSettings(loaded, {"COM3"}, path);
    EXPECT_TRUE(loaded.WriteChangedOnly);
}

TEST(SettingsFile, ASettingsFileThatIsNoRegularFileReadsAsTheDefaultsAndIsLeftAsItIs)
{
    test::ScratchDir dir;
    const QString path = dir.file("K3N/config.ini");
    QDir().mkpath(dir.file("K3N"));
    // A FIFO would wait for a writer for ever; a link to one too.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.file("fifo"), path));
    AppSettings s;
    s.Port = 5;
    s.Language = 0;
    LoadOrCreateSettings(s, {"COM1"}, path);
    const AppSettings defaults;
    EXPECT_EQ(s.Port, defaults.Port);
    EXPECT_EQ(s.Language, defaults.Language);
    EXPECT_EQ(s.AutoSeachPort, defaults.AutoSeachPort);
    EXPECT_TRUE(SaveSettings(s, path).has_value());
    EXPECT_TRUE(QFileInfo(path).isSymLink());
}
