// "Write to Several Radios": the document written into the radios on every
// port ticked, at once, one row a port with its own progress, state and
// result; a radio that stops answering asks Retry or Skip in its row while
// the other ports go on.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace kt {

struct Workspace;
class RadioBatch;

class FrmSeveralRadios : public QDialog {
    Q_OBJECT
public:
    using PortLister = std::function<QStringList()>;
    // lister gives the serial ports present (by default the system's).
    explicit FrmSeveralRadios(Workspace& ws, PortLister lister = {}, QWidget* parent = nullptr);
    ~FrmSeveralRadios() override;

    // Starts the ports ticked and the simulated radios asked for; false when
    // there is nothing to write to.
    bool StartWriting();
    void StopWriting();
    RadioBatch* Batch() const { return batch_.get(); }
    // The closing question while a radio is part-way; tests replace it (true: stop and close).
    std::function<bool()> askStop;
    void RefreshPorts();   // one tick of the port timer

    QListWidget* Ports = nullptr;
    QSpinBox* Simulated = nullptr;
    QCheckBox* Verify = nullptr;
    QCheckBox* KeepGoing = nullptr;
    QLineEdit* LogPath = nullptr;
    QPushButton* Start = nullptr;
    QPushButton* Stop = nullptr;
    QTableWidget* Rows = nullptr;
    QLabel* Summary = nullptr;

protected:
    void done(int r) override;

private:
    void ApplyLanguage();
    void ShowRow(int row);
    void ShowSummary();
    void SetRunning(bool running);

    Workspace& ws_;
    PortLister lister_;
    std::unique_ptr<RadioBatch> batch_;
    QTimer* portTimer_ = nullptr;
    QLabel* portsLabel_ = nullptr;
    QLabel* simLabel_ = nullptr;
    QLabel* logLabel_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace kt
