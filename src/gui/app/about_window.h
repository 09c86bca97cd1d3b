// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box: product name, version, maker, web address and the licence.
#include <QDialog>

class QLabel;
class QPushButton;

namespace k3n {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    // Sets the caption, the lines and the button in the current language.
    void Relabel();

    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QLabel* Licence;
    QPushButton* OKButton;
};

}   // namespace k3n
