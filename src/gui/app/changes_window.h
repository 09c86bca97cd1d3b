// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The question a write with "Show changes before writing" asks after the
// backup read: the differences between the radio and the configuration about
// to be written, in the comparison's list, with Write and Stop.
#include "model/radio_data.h"
#include <QDialog>

class QLabel;
class QPushButton;

namespace k3n {

class CompareWindow;

class ChangesWindow : public QDialog {
    Q_OBJECT
public:
    // Accepted means write.
    ChangesWindow(const RadioData& radio, const RadioRecord& toWrite, QWidget* parent = nullptr);

    CompareWindow* wDifferences;
    QLabel* sQuestion;
    QPushButton* bWrite;
    QPushButton* bStop;
};

}   // namespace k3n
