// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File > Restore radio from backup: the backups taken before each write, the
// newest first, to pick one from. The caller opens the chosen file.
#include "programming/radio_backups.h"
#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace k3n {

class RestoreWindow : public QDialog {
    Q_OBJECT
public:
    explicit RestoreWindow(const QString& folder = BackupFolder(), QWidget* parent = nullptr);

    // The backup chosen with Open or a double click; "" until then.
    QString chosenPath() const;

    QTreeWidget* tvBackups;
    QLabel* sFolder;
    QPushButton* bOpen;
    QPushButton* bCancel;

private:
    QStringList skipped_;   // names in the folder that are no regular file
    std::vector<BackupEntry> entries_;
};

}   // namespace k3n
