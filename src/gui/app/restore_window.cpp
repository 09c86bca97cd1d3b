// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/restore_window.h"
#include "programming/session_texts.h"
#include "text/own_texts.h"
#include "text/ui_text.h"
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace k3n {

RestoreWindow::RestoreWindow(const QString& folder, QWidget* parent)
    : QDialog(parent), entries_(ListBackups(folder, &skipped_))
{
    setObjectName("RestoreWindow");
    setWindowTitle(Text(OwnText::RestoreWindowTitle));

    tvBackups = new QTreeWidget(this);
    tvBackups->setObjectName("tvBackups");
    tvBackups->setAccessibleName(windowTitle());
    tvBackups->setRootIsDecorated(false);
    tvBackups->setHeaderLabels({Text(OwnText::RestoreColumnDate), Text(OwnText::RestoreColumnSerial),
                                Text(OwnText::RestoreColumnBand), Text(OwnText::RestoreColumnChannels),
                                Text(OwnText::RestoreColumnExact)});
    for (const BackupEntry& entry : entries_) {
        auto* item = new QTreeWidgetItem(tvBackups);
        item->setText(0, entry.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        item->setText(1, entry.serial);
        item->setText(2, entry.readable ? QString::fromLatin1(BandName(entry.band)) : Text(OwnText::RestoreUnreadable));
        item->setText(3, entry.readable ? QString::number(entry.channels_in_use) : QString());
        item->setTextAlignment(3, Qt::AlignCenter);
        if (entry.readable)
            item->setText(4, Text(entry.exact ? OwnText::RestoreExactly : OwnText::RestoreThroughConfiguration));
        item->setToolTip(0, QDir::toNativeSeparators(entry.path));
        if (entry.unsure) {   // kept, but a later read found bytes a write never changes changed
            item->setText(0, item->text(0) + QStringLiteral(" (%1)").arg(Text(OwnText::RestoreUnsure)));
            item->setToolTip(0, item->toolTip(0) + QStringLiteral("\n") + entry.unsure_reason);
        }
        if (!entry.readable)
            item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    tvBackups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (tvBackups->topLevelItemCount() > 0)
        tvBackups->setCurrentItem(tvBackups->topLevelItem(0));

    QString folderText = entries_.empty() ? Text(OwnText::RestoreNoBackups).arg(QDir::toNativeSeparators(folder))
                                          : QDir::toNativeSeparators(folder);
    for (const QString& path : skipped_)
        folderText += QLatin1Char('\n') + Text(OwnText::RestoreSkipped).arg(QDir::toNativeSeparators(path));
    sFolder = new QLabel(folderText, this);
    sFolder->setObjectName("sFolder");
    sFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);

    bOpen = new QPushButton(Text(OwnText::RestoreOpen), this);
    bOpen->setObjectName("bOpen");
    bOpen->setDefault(true);
    bOpen->setEnabled(!chosenPath().isEmpty());
    bCancel = new QPushButton(ProgramDialogText(ProgramText::Cancel), this);
    bCancel->setObjectName("bCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bOpen);
    buttons->addWidget(bCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(tvBackups);
    column->addWidget(sFolder);
    column->addLayout(buttons);
    resize(640, 360);

    connect(tvBackups, &QTreeWidget::currentItemChanged, this, [this] { bOpen->setEnabled(!chosenPath().isEmpty()); });
    connect(tvBackups, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!chosenPath().isEmpty())
            accept();
    });
    connect(bOpen, &QPushButton::clicked, this, &QDialog::accept);
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString RestoreWindow::chosenPath() const
{
    const int row = tvBackups->indexOfTopLevelItem(tvBackups->currentItem());
    if (row < 0 || std::size_t(row) >= entries_.size() || !entries_[std::size_t(row)].readable)
        return {};
    return entries_[std::size_t(row)].path;
}

}   // namespace k3n
