// SPDX-License-Identifier: GPL-3.0-or-later
#include "service/write_sn_window.h"
#include "widgets/button_widths.h"
#include "widgets/input_filters.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace k3n {

namespace {
constexpr int kSerialDigits = 8;
}

QString TWriteSnDlg::StepSerialText(const QString& text, int direction)
{
    const bool allDigits = std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!allDigits)
        return text;
    QString stepped = text;
    const QChar wrapFrom = direction > 0 ? u'9' : u'0';
    const QChar wrapTo = direction > 0 ? u'0' : u'9';
    for (auto i = stepped.size() - 1; i >= 0; --i) {
        if (stepped[i] != wrapFrom) {
            stepped[i] = QChar(stepped[i].unicode() + direction);
            break;
        }
        stepped[i] = wrapTo;   // carry or borrow into the digit on the left
    }
    return stepped;
}

TWriteSnDlg::TWriteSnDlg(ServiceContext context, QWidget* parent) : ServiceWindow(std::move(context), parent)
{
    setWindowTitle("SN");

    eSn = new QLineEdit(this);
    eSn->setObjectName("eSn");
    eSn->setMinimumWidth(180);
    FilterInput(eSn, DigitsInput(kSerialDigits));
    udSn = new TUpDown(this);
    udSn->setObjectName("udSn");
    Button1 = new QPushButton("Read", this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("Write", this);
    Button2->setObjectName("Button2");

    auto* entry = new QHBoxLayout;
    auto* caption = new QLabel("SN", this);
    caption->setBuddy(eSn);
    entry->addWidget(caption);
    entry->addWidget(eSn);
    entry->setSpacing(4);
    entry->addWidget(udSn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        SetButtonWidthAtLeast(b, 90);
        buttons->addWidget(b);
    }
    auto* column = new QVBoxLayout(this);
    column->addLayout(entry);
    column->addLayout(buttons);

    exits_.bind(eSn, [this] { eSnExit(); });
    connect(udSn, &TUpDown::stepped, this, &TWriteSnDlg::udSnChangingEx);
    connect(Button1, &QPushButton::clicked, this, &TWriteSnDlg::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TWriteSnDlg::Button2Click);

    // Every radio starts from an empty number.
    context_.radio.radio_serial_number.fill(0);
    RefreshAll();
}

QString TWriteSnDlg::serialText() const
{
    const SerialNumber& sn = context_.radio.radio_serial_number;
    const auto end = std::find(sn.begin(), sn.end(), uint8_t{0});
    return QString::fromLatin1(reinterpret_cast<const char*>(sn.data()), end - sn.begin());
}

void TWriteSnDlg::setSerialText(const QString& text)
{
    SerialNumber& sn = context_.radio.radio_serial_number;
    sn.fill(0);
    const QByteArray bytes = text.left(kSerialDigits).toLatin1();
    std::copy(bytes.begin(), bytes.end(), sn.begin());
}

void TWriteSnDlg::RefreshAll()
{
    eSn->setText(serialText());
}

void TWriteSnDlg::eSnExit()
{
    setSerialText(eSn->text());
}

void TWriteSnDlg::udSnChangingEx(int direction)
{
    setSerialText(StepSerialText(eSn->text(), direction));
    RefreshAll();
}

void TWriteSnDlg::Button1Click()
{
    runTransfer(TransferKind::SerialNumber, Direction::Read);
}

void TWriteSnDlg::Button2Click()
{
    if (runTransfer(TransferKind::SerialNumber, Direction::Write)) {
        // Ready for the next radio.
        setSerialText(StepSerialText(serialText(), +1));
        RefreshAll();
    }
}

}   // namespace k3n
