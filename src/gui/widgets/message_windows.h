// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three small modal message windows other windows reuse for questions
// and notices. The caller sets the texts and reads the result of exec().
#include <QDialog>

class QLabel;
class QPushButton;

namespace k3n {

// Question with OK (default) and Cancel (also Escape).
class TMyWarnDlg_2 : public QDialog {
    Q_OBJECT
public:
    explicit TMyWarnDlg_2(QWidget* parent = nullptr);
    QLabel* Label1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};

// Question with Yes, No and Cancel (also Escape). exec() returns one of the Result values.
class TMyWarnDlg_3 : public QDialog {
    Q_OBJECT
public:
    enum Result { Cancel = QDialog::Rejected, Yes = QDialog::Accepted, No = 2 };
    explicit TMyWarnDlg_3(QWidget* parent = nullptr);
    QLabel* Label1;
    QPushButton* OKBtn;
    QPushButton* NoBtn;
    QPushButton* CancelBtn;
};

// Notice with one button.
class TUserWarnDlg : public QDialog {
    Q_OBJECT
public:
    explicit TUserWarnDlg(QWidget* parent = nullptr);
    QLabel* WarnDlgText;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;   // stays hidden
};

// Common uses: returns true on OK.
bool AskOkCancel(QWidget* parent, const QString& question);
// A question whose safe answer is No: Yes and No, No the default and Escape
// the same as No. True on Yes.
bool AskYesNoDefaultNo(QWidget* parent, const QString& question);
void ShowNotice(QWidget* parent, const QString& text, const QString& caption = QString());

}   // namespace k3n
