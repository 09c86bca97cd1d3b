// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/place_list_window.h"
#include "widgets/list_windows.h"
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace k3n {

PlaceListWindow::PlaceListWindow(const char* name, const char* listName, int columnCount, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    sSummary = new QLabel(this);
    sSummary->setObjectName("sSummary");
    layout->addWidget(sSummary);
    list_ = new QTreeWidget(this);
    list_->setObjectName(listName);
    list_->setColumnCount(columnCount);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAlternatingRowColors(true);
    layout->addWidget(list_);
    // Activation is the double click (or Enter) of the platform.
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { chooseItem(item); });
}

void PlaceListWindow::clearRows()
{
    list_->clear();
    places_.clear();
}

QTreeWidgetItem* PlaceListWindow::addRow(const QStringList& texts, EditorPage page, int channel)
{
    auto* item = new QTreeWidgetItem(list_, texts);
    item->setData(0, Qt::UserRole, qulonglong(places_.size()));
    places_.emplace_back(page, channel);
    return item;
}

void PlaceListWindow::fitToRows(int columns)
{
    for (int column = 0; column < columns; ++column)
        list_->resizeColumnToContents(column);
    if (!isVisible()) {
        FitToListContent(*this, *list_, TreeListSize(*list_));
        PlaceOver(*this, parentWidget());
    }
}

void PlaceListWindow::chooseItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const auto row = std::size_t(item->data(0, Qt::UserRole).toULongLong());
    if (row < places_.size())
        emit placeChosen(places_[row].first, places_[row].second);
}

}   // namespace k3n
