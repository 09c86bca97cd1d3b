// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What differs between the open configuration and a file or the radio, in a
// window of its own. A double click on a difference asks for its editor page
// (and channel).
#include "app/place_list_window.h"
#include "interchange/configuration_diff.h"
#include "model/radio_record.h"
#include <vector>

namespace k3n {

// What the open configuration is compared with.
enum class CompareSide {
    File,   // named by its file name
    Radio,   // as a read brought it, named by its serial number
};

class CompareWindow : public PlaceListWindow {
    Q_OBJECT
public:
    // fileName names the other side; its record is kept to compare again.
    CompareWindow(const QString& fileName, const RadioRecord& fileRecord, QWidget* parent = nullptr);
    // The radio's side compares with the open configuration as the radio would hold it,
    // so that only what a write changes is listed.
    CompareWindow(CompareSide side, const QString& name, const RadioRecord& otherRecord, QWidget* parent = nullptr);

    // Compares the open configuration with the other side, labelled in the current language.
    void compare(const RadioRecord& open);
    const std::vector<ConfigurationDifference>& differences() const { return differences_; }

    QTreeWidget* tvDifferences;

private:
    CompareSide side_;
    QString name_;
    RadioRecord otherRecord_;
    std::vector<ConfigurationDifference> differences_;
};

}   // namespace k3n
