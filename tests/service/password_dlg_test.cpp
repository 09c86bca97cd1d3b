#include "service/password_dlg.h"
#include "service_window_driver.h"
#include "text/ui_text.h"

using namespace k3n;
using namespace k3n::test;

namespace {

struct PasswordAttempt {
    std::vector<std::string> opened;   // modal windows that opened after OK
    bool closed = false;
};

PasswordAttempt tryPassword(ServiceRun& run, const QString& typed)
{
    TPasswordDlg dlg(run.context());
    EXPECT_TRUE(ShowActive(dlg));
    QTest::keyClicks(dlg.eInput, typed);
    ModalWatcher watcher;
    QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
    QApplication::processEvents();
    return {watcher.opened, !dlg.isVisible()};
}

} // namespace

TEST(PasswordDlg, InputIsMaskedAndButtonsCarryTheirTexts)
{
    ServiceRun run;
    TPasswordDlg dlg(run.context());
    EXPECT_EQ(dlg.eInput->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dlg.eInput->text().isEmpty());
    EXPECT_EQ(dlg.eInput->font().pointSize(), 12);
    EXPECT_EQ(dlg.OKBtn->text(), UiText(153));
    EXPECT_EQ(dlg.CancelBtn->text(), "Cannel");
}

TEST(PasswordDlg, TheRightPasswordOpensTheAdjustmentWindow)
{
    ServiceRun run;
    const PasswordAttempt attempt = tryPassword(run, "482915");
    EXPECT_EQ(attempt.opened, std::vector<std::string>{"k3n::TAdjustmentDlg"});
    EXPECT_TRUE(attempt.closed) << "the password window closes with the adjustment window";
}

TEST(PasswordDlg, AnyOtherTextClosesWithoutAWord)
{
    for (const QString typed : {"482915 ", " 482915", "482914", "48291", "4829150", ""}) {
        ServiceRun run;
        const PasswordAttempt attempt = tryPassword(run, typed);
        EXPECT_TRUE(attempt.opened.empty()) << typed.toStdString() << " opened " << attempt.opened.front();
        EXPECT_TRUE(attempt.closed) << typed.toStdString();
    }
}

TEST(PasswordDlg, CancelNeverChecks)
{
    ServiceRun run;
    TPasswordDlg dlg(run.context());
    ASSERT_TRUE(ShowActive(dlg));
    QTest::keyClicks(dlg.eInput, "482915");
    ModalWatcher watcher;
    QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(watcher.opened.empty());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
}
