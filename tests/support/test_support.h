// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Readable QStrings in test failure messages (gtest finds it by the argument's namespace).
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace k3n::test {

// A fresh folder under the build tree for one test; removed when it goes out of scope.
class ScratchDir {
public:
    ScratchDir();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// The whole file; empty when it cannot be read.
QByteArray FileBytes(const QString& path);
// Creates the folders on the way; a failure fails the running test.
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// Points HOME, XDG_CONFIG_HOME and XDG_DATA_HOME at a scratch folder so no test touches the user's files.
void isolateUserFiles();

// While it lives, files this process writes may not grow past 'bytes' (RLIMIT_FSIZE, with
// SIGXFSZ ignored so that a write past it fails with EFBIG): a full disk without root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long previous_;
    void (*previousHandler_)(int);
};

}   // namespace k3n::test
