// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/compare_window.h"
#include "programming/radio_configuration.h"
#include "text/app_lang.h"
#include "text/own_texts.h"
#include "widgets/list_windows.h"
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace k3n {

namespace {

enum Column { PageColumn, ItemColumn, OpenColumn, FileColumn, kColumnCount };

} // namespace

CompareWindow::CompareWindow(const QString& fileName, const RadioRecord& fileRecord, QWidget* parent)
    : CompareWindow(CompareSide::File, fileName, fileRecord, parent)
{
}

CompareWindow::CompareWindow(CompareSide side, const QString& name, const RadioRecord& otherRecord, QWidget* parent)
    : QWidget(parent, Qt::Window), side_(side), name_(name), otherRecord_(otherRecord)
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
}

void CompareWindow::compare(const RadioRecord& open)
{
    const bool radio = side_ == CompareSide::Radio;
    differences_ = DiffConfigurations(radio ? AsTheRadioHoldsIt(open) : open, otherRecord_, appLang());
    setWindowTitle(Text(radio ? OwnText::CompareWithRadioTitle : OwnText::CompareWindowTitle).arg(name_));
    tvDifferences->setAccessibleName(windowTitle());
    tvDifferences->setHeaderLabels({Text(OwnText::CheckColumnPage), Text(OwnText::CheckColumnItem),
                                    Text(OwnText::CompareColumnOpen),
                                    Text(radio ? OwnText::CompareColumnRadio : OwnText::CompareColumnFile)});
    tvDifferences->clear();
    for (std::size_t i = 0; i < differences_.size(); ++i) {
        const ConfigurationDifference& d = differences_[i];
        auto* item = new QTreeWidgetItem(tvDifferences, QStringList{d.pageName, d.item, d.oldText, d.newText});
        item->setData(0, Qt::UserRole, qulonglong(i));
    }
    sSummary->setText(differences_.empty() ? Text(OwnText::CompareNoDifferences)
                                           : CountedText(qint64(differences_.size()), OwnText::CompareCountOne,
                                                                      OwnText::CompareCount));
    for (int column = 0; column < kColumnCount; ++column)
        tvDifferences->resizeColumnToContents(column);
    // A window just opened fits its list and opens over the window it belongs to.
    if (isWindow() && !isVisible()) {
        FitToListContent(*this, *tvDifferences, TreeListSize(*tvDifferences));
        PlaceOver(*this, parentWidget());
    }
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
