// The DTMF codes window.
#pragma once

#include <QWidget>

namespace kt {

class MainHost;

class FrmDTMF : public QWidget {
    Q_OBJECT
public:
    explicit FrmDTMF(MainHost& host, QWidget* parent = nullptr);
    ~FrmDTMF() override;

    // Stores an edit still open in the code grid.
    void StorePendingEdits();

private:
    MainHost& host_;
};

}  // namespace kt
