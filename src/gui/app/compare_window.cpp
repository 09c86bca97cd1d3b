// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/compare_window.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace k3n {

namespace {

enum Column { PageColumn, ItemColumn, OpenColumn, FileColumn, kColumnCount };

} // namespace

CompareWindow::CompareWindow(const QString& fileName, const RadioRecord& fileRecord, QWidget* parent)
    : QWidget(parent, Qt::Window), fileName_(fileName), fileRecord_(fileRecord)
{
    setObjectName("CompareWindow");
    auto* layout = new QVBoxLayout(this);
    sSummary = new QLabel(this);
    sSummary->setObjectName("sSummary");
    layout->addWidget(sSummary);
    tvDifferences = new QTreeWidget(this);
    tvDifferences->setObjectName("tvDifferences");
    tvDifferences->setColumnCount(kColumnCount);
    tvDifferences->setRootIsDecorated(false);
    tvDifferences->setUniformRowHeights(true);
    tvDifferences->setAlternatingRowColors(true);
    layout->addWidget(tvDifferences);
    // Activation is the double click (or Enter) of the platform.
    connect(tvDifferences, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { chooseItem(item); });
    resize(820, 360);
}

void CompareWindow::compare(const RadioRecord& open)
{
    differences_ = DiffConfigurations(open, fileRecord_, appLang());
    setWindowTitle(Text(OwnText::CompareWindowTitle).arg(fileName_));
    tvDifferences->setHeaderLabels({Text(OwnText::CheckColumnPage), Text(OwnText::CheckColumnItem),
                                    Text(OwnText::CompareColumnOpen), Text(OwnText::CompareColumnFile)});
    tvDifferences->clear();
    for (std::size_t i = 0; i < differences_.size(); ++i) {
        const ConfigurationDifference& d = differences_[i];
        auto* item = new QTreeWidgetItem(tvDifferences, QStringList{d.pageName, d.item, d.oldText, d.newText});
        item->setData(0, Qt::UserRole, qulonglong(i));
    }
    sSummary->setText(differences_.empty() ? Text(OwnText::CompareNoDifferences)
                                           : Text(OwnText::CompareCount).arg(differences_.size()));
    for (int column = 0; column < kColumnCount; ++column)
        tvDifferences->resizeColumnToContents(column);
}

void CompareWindow::chooseItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const auto i = std::size_t(item->data(0, Qt::UserRole).toULongLong());
    if (i < differences_.size())
        emit differenceChosen(differences_[i].page, differences_[i].channel);
}

} // namespace k3n
