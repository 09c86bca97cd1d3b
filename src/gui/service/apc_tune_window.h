// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The power-tuning window ("Alignment Value"): power, deviation, tuning,
// squelch and VOX values of the radio, read and written one table at a
// time, or written together with the band, the adjustment values and the
// whole configuration ("Write All").
#include "service/service_window.h"
#include <vector>

class QLineEdit;
class QPushButton;

namespace k3n {

class TApcTuneDlg : public ServiceWindow {
    Q_OBJECT
public:
    explicit TApcTuneDlg(ServiceContext context, QWidget* parent = nullptr);

    // Shows every field in its box.
    void RefreshAll() override;

    QPushButton* bRead;
    QPushButton* bWrite;
    QPushButton* bWriteAll;

private:
    // One box and the field it edits.
    struct NumberBox {
        QLineEdit* box;
        int maxValue;
        std::function<int()> load;
        std::function<void(int)> store;
    };

    void addBox(QLineEdit* box, int maxDigits, int maxValue, std::function<int()> load, std::function<void(int)> store);
    void boxExit(const NumberBox& b);

    void bReadClick();
    void bWriteClick();
    void bWriteAllClick();

    std::vector<NumberBox> boxes_;
};

}   // namespace k3n
