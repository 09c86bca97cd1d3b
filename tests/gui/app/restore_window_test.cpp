// SPDX-License-Identifier: GPL-3.0-or-later
// The restore window's list of backups: only files it can read without waiting.
#include "app/restore_window.h"
#include "support/test_support.h"
#include "text/app_lang.h"
#include <QFile>
#include <QLabel>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace k3n {
namespace {

TEST(RestoreWindow, ALinkToAFifoAmongTheBackupsIsLeftOutWithALine)
{
    ApplyLanguageSetting(0);
    test::ScratchDir dir;
    const QString folder = dir.file("backups");
    RadioData data;
    data.ResetForBand(1);
    ASSERT_TRUE(SaveBackup(folder, data.record, "0042", QDateTime(QDate(2026, 3, 4), QTime(5, 6))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo")).constData(), 0600), 0);
    const QString link = folder + "/0043_2026-03-05_050600.fse";
    ASSERT_TRUE(QFile::link(dir.file("fifo"), link));

    const RestoreWindow window(folder);   // reading the link's FIFO would never return
    ASSERT_EQ(window.tvBackups->topLevelItemCount(), 1);
    EXPECT_EQ(window.tvBackups->topLevelItem(0)->text(1), "0042");
    EXPECT_TRUE(window.sFolder->text().contains(link + " is not a regular file and was left out"))
        << window.sFolder->text().toStdString();
}

}   // namespace
}   // namespace k3n
