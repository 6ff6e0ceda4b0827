// The roger-beep tones window and its player.
#pragma once

#include <QWidget>

namespace kt {

class MainHost;

class FrmToneTips : public QWidget {
    Q_OBJECT
public:
    explicit FrmToneTips(MainHost& host, QWidget* parent = nullptr);
    ~FrmToneTips() override;

    void StopPlayback();

private:
    MainHost& host_;
};

}  // namespace kt
