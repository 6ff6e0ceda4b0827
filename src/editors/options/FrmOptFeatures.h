// The option-features window.
#pragma once

#include <QWidget>

namespace kt {

class MainHost;

class FrmOptFeatures : public QWidget {
    Q_OBJECT
public:
    explicit FrmOptFeatures(MainHost& host, QWidget* parent = nullptr);
    ~FrmOptFeatures() override;

    void ReShowData();
    void ShowRB();
    void ShowDTMF();

private:
    MainHost& host_;
};

}  // namespace kt
