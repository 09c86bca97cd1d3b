// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/test_support.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace k3n::test {

static QString scratchRoot()
{
    const char* env = std::getenv("K3N_TEST_TMP");
    QString root = env ? QString::fromLocal8Bit(env) : QDir::tempPath() + "/k3n-test-tmp";
    QDir().mkpath(root);
    return root;
}

ScratchDir::ScratchDir() : dir_(scratchRoot() + "/XXXXXX") {}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

void isolateUserFiles()
{
    static QTemporaryDir home(scratchRoot() + "/home-XXXXXX");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toLocal8Bit());
}

FileSizeLimit::FileSizeLimit(long long bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previous_ = limit.rlim_cur;
    limit.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        ADD_FAILURE() << "cannot limit the size of files";
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(previous_);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}

}   // namespace k3n::test
