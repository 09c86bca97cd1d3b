// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial-number window: the number is typed or stepped, written to the
// radio and then stepped up by one, ready for the next radio.
#include "service/service_window.h"

class QLineEdit;
class QPushButton;

namespace k3n {

class TWriteSnDlg : public ServiceWindow {
    Q_OBJECT
public:
    explicit TWriteSnDlg(ServiceContext context, QWidget* parent = nullptr);

    // Steps a decimal text by one (direction +1 or -1) with carry and borrow;
    // a carry or borrow out of the first digit is dropped, so the length never
    // changes. A text holding anything but digits is returned as it is.
    static QString StepSerialText(const QString& text, int direction);

    QLineEdit* eSn;
    TUpDown* udSn;
    QPushButton* Button1;   // "Read"
    QPushButton* Button2;   // "Write"

    // Shows the serial number.
    void RefreshAll() override;

private:
    QString serialText() const;
    void setSerialText(const QString& text);

    void eSnExit();
    void udSnChangingEx(int direction);
    void Button1Click();
    void Button2Click();
};

}   // namespace k3n
