#include "editors/channel_window.h"

#include "widgets/message_windows.h"
#include "editors/editor_controls.h"
#include "model/record_layout.h"
#include "model/value_codings.h"
#include "text/app_lang.h"
#include "text/ui_text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace k3n {

namespace {

using Col = TChInforDlg::Col;

// Header text number of each grid column (column 0 has no header text).
constexpr std::array<int, TChInforDlg::kColumnCount> kHeaderTexts = {
    -1, 16, 17, 18, 19, 20, 21, 44, 73, 172, 22, 173, 174, 175, 176};

// Texts of a one-bit cell: shown for the bit set and for the bit clear.
struct TwoStateTexts {
    int set;
    int clear;
};
constexpr TwoStateTexts kPowerTexts{26, 27};       // High / Low
constexpr TwoStateTexts kBandwidthTexts{29, 28};   // Narrow / Wide
constexpr TwoStateTexts kOnOffTexts{177, 178};     // ON / OFF
constexpr TwoStateTexts kScanTexts{30, 31};        // ADD / DEL

constexpr std::array<const char*, 3> kLockOutTexts = {"----", "BCLO", "BTLO"};
// Signalling systems by stored number; 0 is the interface text "OFF".
constexpr int kSignalOffText = 178;
constexpr std::array<const char*, 4> kSignalSystemNames = {nullptr, "DTMF", "5-TONE", "2-TONE"};
// Entries each signalling system offers in the number list.
constexpr std::array<int, 4> kSignalNumberCounts = {0, 8, 16, 16};
constexpr int kSquelchLevels = 10;
constexpr int kScramblerCount = 16;
constexpr int kGroupCount = 8;
constexpr int kFirstGroupText = 349;

constexpr int kCellPadding = 8;
constexpr int kRowPadding = 8;
// The grid's text size: the 15 columns with their one-line headers must fit
// the width of a 1280-pixel screen beside the page tree.
constexpr qreal kGridMaxPointSize = 8;

QString twoState(const TAppLang& lang, const TwoStateTexts& t, bool set)
{
    return UiText(lang, set ? t.set : t.clear);
}

QString signalSystemText(const TAppLang& lang, unsigned system)
{
    if (system == 0)
        return UiText(lang, kSignalOffText);
    if (system < kSignalSystemNames.size())
        return QString::fromLatin1(kSignalSystemNames[system]);
    return QStringLiteral("?");
}

// Every text a column can show in the given language (used to size it).
QStringList columnTexts(int col, const TAppLang& lang)
{
    auto both = [&lang](const TwoStateTexts& t) {
        return QStringList{UiText(lang, t.set), UiText(lang, t.clear)};
    };
    switch (col) {
    case Col::Rx:
    case Col::Tx: return {FormatFrequency(470000000)};
    case Col::RxTone:
    case Col::TxTone: return SubAudioList();
    case Col::Power: return both(kPowerTexts);
    case Col::Bandwidth: return both(kBandwidthTexts);
    case Col::Sql: return NumberTexts(0, kSquelchLevels - 1);
    case Col::Scramble:
    case Col::XtalShift: return both(kOnOffTexts);
    case Col::ScrambleNo: return NumberTexts(1, kScramblerCount);
    case Col::Scan: return both(kScanTexts);
    case Col::LockOut: return {kLockOutTexts.begin(), kLockOutTexts.end()};
    case Col::SignalSys: {
        QStringList texts;
        for (unsigned s = 0; s < kSignalSystemNames.size(); ++s)
            texts << signalSystemText(lang, s);
        return texts;
    }
    case Col::SignalNo: return NumberTexts(1, kSignalNumberCounts.back());
    default: return {};
    }
}

QString programTimeText(const ProgramTime& t)
{
    return QStringLiteral("%1-%2-%3  %4:%5")
        .arg(int(t.year)).arg(int(t.month)).arg(int(t.day)).arg(int(t.hour)).arg(int(t.minute));
}

QString serialNumberText(const std::array<uint8_t, 8>& sn)
{
    const auto end = std::find(sn.begin(), sn.end(), uint8_t(0));
    return QString::fromLatin1(reinterpret_cast<const char*>(sn.data()), end - sn.begin());
}

// The grid asks for room to show every cell without scrolling.
class WholeGrid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    QSize sizeHint() const override
    {
        int width = 2 * frameWidth();
        for (int c = 0; c < columnCount(); ++c)
            width += columnWidth(c);
        int height = 2 * frameWidth();
        for (int r = 0; r < rowCount(); ++r)
            height += rowHeight(r);
        return {width, height};
    }
};

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isEnterKey(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }
// A key that would type a visible character (not a shortcut or an editing key).
bool typesCharacter(const QKeyEvent* k)
{
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString t = k->text();
    return !t.isEmpty() && t.at(0).isPrint();
}

} // namespace

TChInforDlg::TChInforDlg(RadioData& data, QWidget* parent) : EditorWindow(data, parent)
{
    setObjectName("TChInforDlg");
    buildControls();
    RefreshAll();
}

void TChInforDlg::buildControls()
{
    auto makeList = [](const char* name, QWidget* parent) {
        auto* list = new QComboBox(parent);
        list->setObjectName(name);
        list->setEditable(false);   // pick-only
        return list;
    };
    auto makeLabel = [this](const char* name, bool sunken) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        if (sunken) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            label->setAlignment(Qt::AlignCenter);
        }
        return label;
    };

    cbChInforGroup = makeList("cbChInforGroup", this);
    cbChInforGroup->setSizeAdjustPolicy(QComboBox::AdjustToContents);   // follows the language
    sFreqRange = makeLabel("sFreqRange", false);
    cbFreqRange = makeList("cbFreqRange", this);
    sLastWrite = makeLabel("sLastWrite", false);
    sLastWriteTime = makeLabel("sLastWriteTime", true);
    sDeviceSn = makeLabel("sDeviceSn", false);
    sDeviceSnDisp = makeLabel("sDeviceSnDisp", true);
    const QFontMetrics fm = fontMetrics();
    sLastWriteTime->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("2099-12-31  23:59")) + kCellPadding);
    sDeviceSnDisp->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("WWWWWWWW")) + kCellPadding);

    StringGrid1 = new WholeGrid(kRowCount, kColumnCount, this);
    StringGrid1->setObjectName("StringGrid1");
    QFont gridFont = StringGrid1->font();
    if (gridFont.pointSizeF() > kGridMaxPointSize)
        gridFont.setPointSizeF(kGridMaxPointSize);
    StringGrid1->setFont(gridFont);
    // Row 0 and column 0 are the headers, painted as cells.
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setItemDelegate(new StripedGridDelegate(StringGrid1));
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->setTabKeyNavigation(true);
    StringGrid1->setWordWrap(false);
    // Header cells are disabled so they can be neither chosen nor opened; they
    // keep the normal text colour.
    QPalette palette = StringGrid1->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, palette.color(QPalette::Active, QPalette::WindowText));
    palette.setColor(QPalette::Disabled, QPalette::Window, palette.color(QPalette::Active, QPalette::Window));
    StringGrid1->setPalette(palette);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + kRowPadding);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    for (int r = 0; r < kRowCount; ++r)
        for (int c = 0; c < kColumnCount; ++c) {
            auto* item = new QTableWidgetItem;
            const bool header = r == 0 || c == 0;
            item->setFlags(header ? Qt::NoItemFlags : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            StringGrid1->setItem(r, c, item);
        }
    for (int row = 1; row < kRowCount; ++row)
        StringGrid1->item(row, 0)->setText(QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')));
    StringGrid1->setCurrentCell(1, Col::Rx);
    StringGrid1->installEventFilter(this);

    QWidget* cells = StringGrid1->viewport();
    Edit_ChFreq = new QLineEdit(cells);
    Edit_ChFreq->setObjectName("Edit_ChFreq");
    Edit_ChFreq->setAlignment(Qt::AlignCenter);
    Edit_ChFreq->setFrame(false);
    cbChInforSubAudio = makeList("cbChInforSubAudio", cells);
    cbChInforSql = makeList("cbChInforSql", cells);
    cbChInforScrNo = makeList("cbChInforScrNo", cells);
    cbChInforSignalSys = makeList("cbChInforSignalSys", cells);
    cbChInforSignalNo = makeList("cbChInforSignalNo", cells);
    inPlaceEditors_ = {Edit_ChFreq, cbChInforSubAudio, cbChInforSql, cbChInforScrNo, cbChInforSignalSys,
                       cbChInforSignalNo};
    for (QWidget* editor : inPlaceEditors_)
        editor->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(cbChInforGroup);
    top->addSpacing(16);
    top->addWidget(sFreqRange);
    top->addWidget(cbFreqRange);
    top->addStretch();
    top->addWidget(sLastWrite);
    top->addWidget(sLastWriteTime);
    top->addSpacing(16);
    top->addWidget(sDeviceSn);
    top->addWidget(sDeviceSnDisp);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addLayout(top);
    column->addWidget(StringGrid1, 1);

    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, &TChInforDlg::StringGrid1DblClick);
    connect(StringGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TChInforDlg::keepOpenEditorOverCell);
    connect(StringGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, &TChInforDlg::keepOpenEditorOverCell);
    connect(StringGrid1->horizontalHeader(), &QHeaderView::sectionResized, this, &TChInforDlg::keepOpenEditorOverCell);
    connect(Edit_ChFreq, &QLineEdit::textChanged, this, &TChInforDlg::Edit_ChFreqChange);
    Edit_ChFreq->installEventFilter(this);
    connect(cbChInforGroup, &QComboBox::activated, this, &TChInforDlg::cbChInforGroupChange);
    connect(cbFreqRange, &QComboBox::activated, this, &TChInforDlg::cbFreqRangeChange);

    bindExit(Edit_ChFreq, [this] { Edit_ChFreqExit(); });
    bindExit(cbChInforSubAudio, [this] { cbChInforSubAudioExit(); });
    bindExit(cbChInforSql, [this] { cbChInforSqlExit(); });
    bindExit(cbChInforScrNo, [this] { cbChInforScrNoExit(); });
    bindExit(cbChInforSignalSys, [this] { cbChInforSignalSysExit(); });
    bindExit(cbChInforSignalNo, [this] { cbChInforSignalNoExit(); });
}

// ---- reload ------------------------------------------------------------------

void TChInforDlg::RefreshAll()
{
    const TAppLang& lang = appLang();
    setWindowTitle(UiText(25));
    sLastWrite->setText(UiText(345));
    sLastWriteTime->setText(programTimeText(data_.last_program_time));
    sDeviceSn->setText(UiText(346));
    sDeviceSnDisp->setText(serialNumberText(data_.radio_serial_number));

    for (int col = 1; col < kColumnCount; ++col)
        StringGrid1->item(0, col)->setText(UiText(kHeaderTexts[col]));

    // The cell lists are preset from the cell when they open.
    FillPickList(cbChInforSubAudio, SubAudioList(), -1);
    FillPickList(cbChInforSignalSys, columnTexts(Col::SignalSys, lang), -1);
    FillPickList(cbChInforSql, columnTexts(Col::Sql, lang), -1);
    FillPickList(cbChInforScrNo, columnTexts(Col::ScrambleNo, lang), -1);
    QStringList groups;
    for (int g = 0; g < kGroupCount; ++g)
        groups << UiText(kFirstGroupText + g);
    FillPickList(cbChInforGroup, groups, shownGroup());
    sFreqRange->setText(UiText(341));
    QStringList bands;
    for (int b = 0; b < kBandCount; ++b)
        bands << QString::fromLatin1(BandName(b));
    FillPickList(cbFreqRange, bands, data_.record.get(rec::freq_band));   // a band past the list selects nothing

    fitColumnWidths();
    for (int row = 1; row <= kRowsPerGroup; ++row)
        StringGridUpdataRow(row);
}

void TChInforDlg::fitColumnWidths()
{
    // Wide enough for every text of the column in every language, so a
    // language switch never makes the grid scroll.
    static const std::array<TAppLang, 3> languages = {
        TAppLang(kLangIdEnglishUs), TAppLang(kLangIdChinesePrc), TAppLang(kLangIdChineseTaiwan)};
    const QFontMetrics metrics(StringGrid1->font());
    StringGrid1->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("00")) + kCellPadding);
    for (int col = 1; col < kColumnCount; ++col) {
        int width = 0;
        for (const TAppLang& lang : languages) {
            width = std::max(width, metrics.horizontalAdvance(UiText(lang, kHeaderTexts[col])));
            for (const QString& text : columnTexts(col, lang))
                width = std::max(width, metrics.horizontalAdvance(text));
        }
        StringGrid1->setColumnWidth(col, width + kCellPadding);
    }
}

void TChInforDlg::selectBandInList()
{
    const int band = data_.record.get(rec::freq_band);
    const QSignalBlocker block(cbFreqRange);
    cbFreqRange->setCurrentIndex(band < kBandCount ? band : -1);
}

// ---- rows ----------------------------------------------------------------------

int TChInforDlg::shownGroup() const
{
    // A group number no editor writes (from a foreign file) shows group 1
    // rather than channels beyond the record.
    const int group = data_.record.get(rec::channel_group);
    return group < kGroupCount ? group : 0;
}

int TChInforDlg::channelOfRow(int row) const { return kRowsPerGroup * shownGroup() + row; }

bool TChInforDlg::channelInUse(int channel) const { return data_.record.get(rec::ch::in_use(channel)) != 0; }

QString TChInforDlg::cellText(int row, int col) const { return StringGrid1->item(row, col)->text(); }

void TChInforDlg::setCell(int row, int col, const QString& text) { StringGrid1->item(row, col)->setText(text); }

void TChInforDlg::StringGridUpdataRow(int row)
{
    if (row < 1 || row > kRowsPerGroup)
        return;
    const int ch = channelOfRow(row);
    if (!channelInUse(ch)) {
        CleanOneChData(row);   // an empty slot is always all zero
        return;
    }
    const RadioRecord& r = data_.record;
    const TAppLang& lang = appLang();
    using namespace rec::ch;
    const unsigned lockOut = r.get(busy_lockout(ch));
    const unsigned system = r.get(signaling_system(ch));
    const uint8_t scrambler = r.get(scramble_no(ch));
    setCell(row, Col::Rx, FormatFrequency(r.get(rx_freq(ch))));
    setCell(row, Col::Tx, FormatFrequency(r.get(tx_freq(ch))));
    setCell(row, Col::RxTone, FormatSubAudio(r.get(rx_subaudio(ch)), r.get(rx_dcs_inverted(ch))));
    setCell(row, Col::TxTone, FormatSubAudio(r.get(tx_subaudio(ch)), r.get(tx_dcs_inverted(ch))));
    setCell(row, Col::Power, twoState(lang, kPowerTexts, r.get(tx_power(ch))));
    setCell(row, Col::Bandwidth, twoState(lang, kBandwidthTexts, r.get(bandwidth(ch))));
    setCell(row, Col::Sql, QString::number(r.get(squelch(ch))));
    setCell(row, Col::Scramble, twoState(lang, kOnOffTexts, scrambler != 0));
    setCell(row, Col::ScrambleNo, scrambler ? QString::number(scrambler) : QString());
    setCell(row, Col::Scan, twoState(lang, kScanTexts, r.get(scan_add(ch))));
    setCell(row, Col::LockOut, lockOut < kLockOutTexts.size() ? QString::fromLatin1(kLockOutTexts[lockOut])
                                                              : QStringLiteral("?"));
    setCell(row, Col::XtalShift, twoState(lang, kOnOffTexts, r.get(xtal_shift(ch))));
    setCell(row, Col::SignalSys, signalSystemText(lang, system));
    setCell(row, Col::SignalNo, system ? QString::number(r.get(signaling_no(ch)) + 1) : QString());
}

void TChInforDlg::StringGridCleanRow(int row)
{
    if (row < 1 || row > kRowsPerGroup)
        return;
    for (int col = 1; col < kColumnCount; ++col)
        setCell(row, col, QString());
}

void TChInforDlg::CleanOneChData(int row)
{
    if (row < 1 || row > kRowsPerGroup)
        return;
    StringGridCleanRow(row);
    data_.record.fill(rec::channelOffset(channelOfRow(row)), rec::kChannelSize, 0);
}

void TChInforDlg::StringGridAutoFullRow(int row)
{
    if (row < 1 || row > kRowsPerGroup)
        return;
    const int ch = channelOfRow(row);
    RadioRecord& r = data_.record;
    using namespace rec::ch;
    r.set(tx_freq(ch), r.get(rx_freq(ch)));
    r.set(rx_subaudio(ch), 0);
    r.set(tx_subaudio(ch), 0);
    r.set(flags_2(ch), 0);
    r.set(signaling(ch), 0);
    r.set(squelch(ch), 5);
    r.set(scramble_no(ch), 0);
    r.set(flags_1(ch), 1);
    StringGridUpdataRow(row);
}

// ---- grid events -----------------------------------------------------------------

void TChInforDlg::StringGrid1DblClick(int row, int col)
{
    if (row < 1 || row > kRowsPerGroup || col < 1 || col >= kColumnCount)
        return;
    // An empty channel can only be started from its RX cell.
    if (col != Col::Rx && !channelInUse(channelOfRow(row)))
        return;
    editingColumn_ = col;
    editingRow_ = row;
    editingChannel_ = channelOfRow(row);
    const RadioRecord& r = data_.record;
    switch (col) {
    case Col::Rx:
    case Col::Tx: PlaceChFreqEditor(); break;
    case Col::RxTone:
    case Col::TxTone: PlacecbChInforSubAudioEditor(); break;
    case Col::Power: ProcChEdit_Power(); break;
    case Col::Bandwidth: ProcChEdit_Bandwidth(); break;
    case Col::Sql: PlaceChInforSqlCombo(); break;
    case Col::Scramble: ProcChEditScr(); break;
    case Col::ScrambleNo:
        if (r.get(rec::ch::scramble_no(editingChannel_)) != 0)
            PlaceChInforScrNoCombo();
        break;
    case Col::Scan: ProcChEdit_SCN(); break;
    case Col::LockOut: ProcChEditLockOut(); break;
    case Col::XtalShift: ProcChEditXtalShift(); break;
    case Col::SignalSys: PlaceChInforSignalSysCombo(); break;
    case Col::SignalNo:
        if (r.get(rec::ch::signaling_system(editingChannel_)) != 0)
            PlaceChInforSignalNoCombo();
        break;
    }
}

bool TChInforDlg::StringGrid1KeyPress(QKeyEvent* key)
{
    const int row = StringGrid1->currentRow();
    const int col = StringGrid1->currentColumn();
    const QString text = key->text();
    const bool digit = typesCharacter(key) && text.size() == 1 && isAsciiDigit(text.at(0));
    if ((col == Col::Rx || col == Col::Tx) && (digit || isEnterKey(key))) {
        StringGrid1DblClick(row, col);
        if (digit && Edit_ChFreq->isVisible()) {
            // The typed digit replaces the preset text, as in a spreadsheet.
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), text);
            QCoreApplication::sendEvent(Edit_ChFreq, &copy);
        }
        return true;
    }
    // The grid takes no typing (and no jump-to-text search).
    return typesCharacter(key) || isEnterKey(key);
}

bool TChInforDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == StringGrid1 && StringGrid1KeyPress(key))
            return true;
        if (watched == Edit_ChFreq && Edit_ChFreqKeyPress(key))
            return true;
    }
    return EditorWindow::eventFilter(watched, event);
}

// ---- in-place editors ------------------------------------------------------------

void TChInforDlg::placeOverCell(QWidget* editor)
{
    const QModelIndex cell = StringGrid1->model()->index(editingRow_, editingColumn_);
    editor->setGeometry(StringGrid1->visualRect(cell));
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

void TChInforDlg::presetList(QComboBox* list)
{
    // No entry is selected when the cell shows a value the list lacks.
    list->setCurrentIndex(list->findText(cellText(editingRow_, editingColumn_)));
    placeOverCell(list);
}

void TChInforDlg::closeInPlaceEditor(QWidget* editor)
{
    // The grid takes the focus back before the editor hides, so its current cell stays.
    if (editor->hasFocus())
        moveFocusWithoutExit(StringGrid1);
    editor->hide();
}

void TChInforDlg::keepOpenEditorOverCell()
{
    for (QWidget* editor : inPlaceEditors_)
        if (editor->isVisible())
            editor->setGeometry(StringGrid1->visualRect(
                StringGrid1->model()->index(editingRow_, editingColumn_)));
}

void TChInforDlg::PlaceChFreqEditor()
{
    Edit_ChFreq->setText(cellText(editingRow_, editingColumn_));
    placeOverCell(Edit_ChFreq);
    Edit_ChFreq->selectAll();
}

void TChInforDlg::PlacecbChInforSubAudioEditor() { presetList(cbChInforSubAudio); }
void TChInforDlg::PlaceChInforSqlCombo() { presetList(cbChInforSql); }
void TChInforDlg::PlaceChInforScrNoCombo() { presetList(cbChInforScrNo); }
void TChInforDlg::PlaceChInforSignalSysCombo() { presetList(cbChInforSignalSys); }

void TChInforDlg::PlaceChInforSignalNoCombo()
{
    const unsigned system = data_.record.get(rec::ch::signaling_system(editingChannel_));
    fillSignalNoList(system);
    if (cbChInforSignalNo->count() > 0)   // a system no editor writes offers nothing to pick
        presetList(cbChInforSignalNo);
}

void TChInforDlg::fillSignalNoList(unsigned system)
{
    const int count = system < kSignalNumberCounts.size() ? kSignalNumberCounts[system] : 0;
    FillPickList(cbChInforSignalNo, NumberTexts(1, count), -1);
}

bool TChInforDlg::Edit_ChFreqKeyPress(QKeyEvent* key)
{
    if (isEnterKey(key)) {
        Edit_ChFreqExit();
        return true;
    }
    if (!typesCharacter(key))
        return false;   // Backspace, Delete, arrows, shortcuts
    const QChar c = key->text().at(0);
    return !(isAsciiDigit(c) || c == QLatin1Char('.'));
}

void TChInforDlg::Edit_ChFreqChange()
{
    // Digits and one ".", at most nine characters. Non-digits can still
    // arrive by pasting or an input method, so they are removed here too.
    const QString text = Edit_ChFreq->text();
    QString kept;
    bool hasPoint = false;
    for (QChar c : text) {
        if (isAsciiDigit(c))
            kept += c;
        else if (c == QLatin1Char('.') && !hasPoint) {
            kept += c;
            hasPoint = true;
        }
    }
    kept.truncate(9);
    if (kept == QLatin1String("."))
        kept.clear();
    if (kept != text) {
        Edit_ChFreq->setText(kept);
        Edit_ChFreq->setCursorPosition(int(kept.size()));
    }
}

void TChInforDlg::Edit_ChFreqExit()
{
    if (!Edit_ChFreq->isVisible())
        return;
    const QString text = Edit_ChFreq->text();
    const uint32_t hz = ParseFrequencyText(text);
    const int ch = editingChannel_;
    RadioRecord& r = data_.record;
    if (editingColumn_ == Col::Rx) {
        if (text.isEmpty()) {
            CleanOneChData(editingRow_);
        } else {
            const bool newChannel = !channelInUse(ch);
            r.set(rec::ch::rx_freq(ch), data_.SnapFrequency(hz));
            if (newChannel)
                StringGridAutoFullRow(editingRow_);
        }
    } else if (channelInUse(ch)) {
        r.set(rec::ch::tx_freq(ch), hz ? data_.SnapFrequency(hz) : 0);
    }
    StringGridUpdataRow(editingRow_);
    closeInPlaceEditor(Edit_ChFreq);
}

void TChInforDlg::commitListEdit(QComboBox* list, const std::function<void(int)>& store)
{
    // Opening the list moves the focus into it (with a second focus-out that
    // does not say so); the cell stays open while the list is showing.
    if (!list->isVisible() || list->view()->isVisible())
        return;
    const int position = list->currentIndex();
    if (position >= 0 && channelInUse(editingChannel_))
        store(position);
    StringGridUpdataRow(editingRow_);
    closeInPlaceEditor(list);
}

void TChInforDlg::cbChInforSubAudioExit()
{
    commitListEdit(cbChInforSubAudio, [this](int position) {
        const SubAudioChoice choice = SubAudioFromListPosition(position);
        const int ch = editingChannel_;
        const bool rx = editingColumn_ == Col::RxTone;
        data_.record.set(rx ? rec::ch::rx_subaudio(ch) : rec::ch::tx_subaudio(ch), choice.code);
        if (!choice.keepPolarity)
            data_.record.set(rx ? rec::ch::rx_dcs_inverted(ch) : rec::ch::tx_dcs_inverted(ch), choice.inverted);
    });
}

void TChInforDlg::cbChInforSqlExit()
{
    commitListEdit(cbChInforSql, [this](int position) {
        data_.record.set(rec::ch::squelch(editingChannel_), uint8_t(position));
    });
}

void TChInforDlg::cbChInforScrNoExit()
{
    commitListEdit(cbChInforScrNo, [this](int position) {
        data_.record.set(rec::ch::scramble_no(editingChannel_), uint8_t(position + 1));
    });
}

void TChInforDlg::cbChInforSignalSysExit()
{
    commitListEdit(cbChInforSignalSys, [this](int position) {
        const BitField system = rec::ch::signaling_system(editingChannel_);
        if (data_.record.get(system) != unsigned(position))
            data_.record.set(rec::ch::signaling_no(editingChannel_), 0);
        data_.record.set(system, unsigned(position));
    });
}

void TChInforDlg::cbChInforSignalNoExit()
{
    commitListEdit(cbChInforSignalNo, [this](int position) {
        data_.record.set(rec::ch::signaling_no(editingChannel_), unsigned(position));
    });
}

// ---- two-state cells -------------------------------------------------------------

void TChInforDlg::toggleBit(BitField field)
{
    data_.record.set(field, data_.record.get(field) ? 0u : 1u);
    StringGridUpdataRow(editingRow_);
}

void TChInforDlg::ProcChEdit_Power() { toggleBit(rec::ch::tx_power(editingChannel_)); }
void TChInforDlg::ProcChEdit_Bandwidth() { toggleBit(rec::ch::bandwidth(editingChannel_)); }
void TChInforDlg::ProcChEdit_SCN() { toggleBit(rec::ch::scan_add(editingChannel_)); }
void TChInforDlg::ProcChEditXtalShift() { toggleBit(rec::ch::xtal_shift(editingChannel_)); }

void TChInforDlg::ProcChEditScr()
{
    const U8Field scrambler = rec::ch::scramble_no(editingChannel_);
    data_.record.set(scrambler, data_.record.get(scrambler) ? 0 : 1);
    StringGridUpdataRow(editingRow_);
}

void TChInforDlg::ProcChEditLockOut()
{
    const BitField lockOut = rec::ch::busy_lockout(editingChannel_);
    const unsigned next = data_.record.get(lockOut) + 1;
    data_.record.set(lockOut, next < kLockOutTexts.size() ? next : 0u);
    StringGridUpdataRow(editingRow_);
}

// ---- group and band ----------------------------------------------------------------

void TChInforDlg::cbChInforGroupChange(int position)
{
    if (position < 0 || position >= kGroupCount)
        return;
    data_.record.set(rec::channel_group, uint8_t(position));
    for (int row = 1; row <= kRowsPerGroup; ++row) {
        StringGridCleanRow(row);
        StringGridUpdataRow(row);
    }
}

void TChInforDlg::cbFreqRangeChange(int position)
{
    if (position < 0 || position == data_.record.get(rec::freq_band))
        return;
    if (!AskOkCancel(this, UiText(155))) {
        selectBandInList();
        return;
    }
    data_.ResetForBand(position);
    if (isSignalConnected(QMetaMethod::fromSignal(&EditorWindow::refreshAllViewsRequested)))
        emit refreshAllViewsRequested();
    else
        RefreshAll();
}

} // namespace k3n
