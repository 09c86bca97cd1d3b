// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Edit > "Write to several radios…": one row per port present (check box,
// device, cable, progress, serial number, result), and rows for ports typed
// by hand ("Add port…": a device path the list does not show); Start writes
// the open configuration into every ticked radio at once, Cancel stops them
// all. The results stay on screen until the window is closed.
#include "app/app_settings.h"
#include "comm/port_list.h"
#include "programming/several_radios_write.h"
#include "programming/write_log.h"
#include <QDialog>
#include <memory>
#include <thread>

class QPushButton;
class QTableWidget;
class QLabel;

namespace k3n {

// What the list says of one radio's write: "Written and verified", "Failed: no radio answered", ...
QString SeveralRadiosResultText(const SafeWriteResult& result);

class SeveralRadiosWindow : public QDialog {
    Q_OBJECT
public:
    enum Column { ColPort, ColDevice, ColCable, ColProgress, ColSerial, ColResult, ColCount };

    // 'data' is copied when Start is pressed; each radio's attempt is logged
    // with 'logContext' and the radio's port and device.
    SeveralRadiosWindow(const RadioData& data, WriteLogContext logContext, const AppSettings& settings,
                        const HalvexComm32::TCommSerialPortInfo& portList, QWidget* parent = nullptr);
    ~SeveralRadiosWindow() override;

    bool running() const { return worker_.joinable() && !ended_; }

    QTableWidget* grid = nullptr;
    QPushButton* addPortButton = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* cancelButton = nullptr;   // stops the run; closes the window when nothing runs
    QLabel* summary = nullptr;

signals:
    // Every radio's write has ended.
    void allEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void addRow(const HalvexComm32::TCommPortEntry& port);
    // Asks for a port name and adds its row, ticked; a name that is no port is said and left out.
    void addPort();
    void start();
    // The started line of every radio; false (said, nothing started) when one could not be added.
    bool logStarted(const std::vector<RadioTarget>& targets);
    void cancelOrClose();
    void showProgress(int row, SafeWritePhase phase, int progress, int max);
    void showResult(int row, const SafeWriteResult& result, double seconds);
    // "COM3: Writing": what a screen reader says of the radio on that row.
    QString portAndText(int row, const QString& text) const;
    void runEnded();
    void relabel();
    void setTicksEditable(bool editable);

    const RadioData& data_;
    WriteLogContext logContext_;
    const AppSettings& settings_;
    std::vector<HalvexComm32::TCommPortEntry> ports_;
    std::vector<int> runningRows_;   // the grid row of each radio of the run
    std::unique_ptr<SeveralRadiosWrite> writes_;
    std::vector<WriteAttemptLog> attempts_;   // one per radio of the run, its started line written
    std::thread worker_;
    bool ended_ = false;
};

}   // namespace k3n
