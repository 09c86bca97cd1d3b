// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What differs between the open configuration and a file, in a window of its
// own. A double click on a difference asks for its editor page (and channel).
#include "interchange/configuration_diff.h"
#include "model/radio_record.h"
#include <QWidget>
#include <vector>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace k3n {

class CompareWindow : public QWidget {
    Q_OBJECT
public:
    // fileName names the other side; its record is kept to compare again.
    CompareWindow(const QString& fileName, const RadioRecord& fileRecord, QWidget* parent = nullptr);

    // Compares the open configuration with the file, labelled in the current language.
    void compare(const RadioRecord& open);
    const std::vector<ConfigurationDifference>& differences() const { return differences_; }

    QTreeWidget* tvDifferences;
    QLabel* sSummary;

signals:
    void differenceChosen(k3n::EditorPage page, int channel);

private:
    void chooseItem(QTreeWidgetItem* item);

    QString fileName_;
    RadioRecord fileRecord_;
    std::vector<ConfigurationDifference> differences_;
};

} // namespace k3n
