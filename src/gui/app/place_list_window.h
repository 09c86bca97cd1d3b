// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window of its own that lists places of the configuration, one row each,
// under a summary line: the check's problems, a comparison's differences. A
// double click (or Enter) on a row asks for its place: the editor page and,
// where it has one, the channel.
#include "model/editor_page.h"
#include <QStringList>
#include <QWidget>
#include <utility>
#include <vector>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace k3n {

class PlaceListWindow : public QWidget {
    Q_OBJECT
public:
    QLabel* sSummary;

signals:
    void placeChosen(k3n::EditorPage page, int channel);

protected:
    // The list, named listName, has columnCount columns.
    PlaceListWindow(const char* name, const char* listName, int columnCount, QWidget* parent);

    QTreeWidget* list() const { return list_; }
    // Empties the list for addRow to fill again.
    void clearRows();
    QTreeWidgetItem* addRow(const QStringList& texts, EditorPage page, int channel);
    // Sizes the first 'columns' columns to their texts; a window just opened
    // fits its list and opens over the window it belongs to.
    void fitToRows(int columns);

private:
    void chooseItem(QTreeWidgetItem* item);

    QTreeWidget* list_;
    std::vector<std::pair<EditorPage, int>> places_;   // of each row, in order
};

}   // namespace k3n
