// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/password_window.h"
#include "service_window_driver.h"

using namespace k3n;
using namespace k3n::test;

namespace {

// Types into a fresh password window, presses 'button' and returns the modal
// windows that opened; the password window must have closed.
std::vector<std::string> tryPassword(const QString& typed, QPushButton* TPasswordDlg::*button = &TPasswordDlg::OKBtn)
{
    ServiceRun run;
    TPasswordDlg dlg(run.context());
    EXPECT_TRUE(ShowActive(dlg));
    EXPECT_EQ(dlg.eInput->echoMode(), QLineEdit::Password);
    QTest::keyClicks(dlg.eInput, typed);
    ModalWatcher watcher;
    QTest::mouseClick(dlg.*button, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(dlg.isVisible()) << typed.toStdString();
    return watcher.opened;
}

}   // namespace

TEST(PasswordWindow, TheRightPasswordOpensTheAdjustmentWindow)
{
    EXPECT_EQ(tryPassword("482915"), std::vector<std::string>{"k3n::TAdjustmentDlg"});
}

TEST(PasswordWindow, AnyOtherTextOrCancelClosesWithoutAWord)
{
    for (const QString typed : {"482915 ", " 482915", "482914", "48291", "4829150", ""})
        EXPECT_TRUE(tryPassword(typed).empty()) << typed.toStdString();
    EXPECT_TRUE(tryPassword("482915", &TPasswordDlg::CancelBtn).empty());
    ServiceRun run;
    EXPECT_EQ(TPasswordDlg(run.context()).CancelBtn->text(), "Cannel");
}
