// Channel > Fill Channels...: a start frequency and a step, or the 40-channel
// CB plan, over the selected rows or the whole group.
#pragma once

#include "base/Texts.h"
#include "rules/channels/ChannelFill.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kt {

struct Workspace;

namespace filldlg {
inline constexpr Bi Title{"Fill Channels", "填充信道"};
inline constexpr Bi Where{"Band %1, group %2", "频段 %1，组 %2"};
inline constexpr Bi Selected{"The %1 &selected channels", "选中的 %1 个信道(&S)"};
inline constexpr Bi WholeGroup{"The &whole group", "整个组(&W)"};
inline constexpr Bi StartStep{"Start &and step", "起始频率和步进(&A)"};
inline constexpr Bi Start{"S&tart (MHz)", "起始频率 (MHz)(&T)"};
inline constexpr Bi Step{"St&ep (kHz)", "步进 (kHz)(&E)"};
inline constexpr Bi Cb40{"&40-channel CB plan", "40 信道 CB 频率表(&4)"};
inline constexpr Bi Segment{"&Channel 1 (MHz)", "信道 1 (MHz)(&C)"};
inline constexpr Bi Grid{"&Grid", "栅格(&G)"};
inline constexpr Bi Rows{"Channels", "信道"};
inline constexpr Bi Plan{"Frequencies", "频率"};
inline constexpr Bi Ok{"OK", "确定"};
inline constexpr Bi Cancel{"Cancel", "取消"};
}  // namespace filldlg

class FrmFillChannels : public QDialog {
    Q_OBJECT
public:
    // selected: the rows chosen in the grid (empty or one: the whole group).
    FrmFillChannels(Workspace& ws, int band, int group, std::vector<int> selected, QWidget* parent = nullptr);

    // Reads the fields and fills; false (after saying why) when nothing changed.
    bool Apply();
    const FillOutcome& Outcome() const { return outcome_; }

    void accept() override;

private:
    bool Read(FillRequest& r);
    void Enable();

    Workspace& ws_;
    int band_, group_;
    std::vector<int> selected_;
    FillOutcome outcome_;
    QRadioButton* optSelected_ = nullptr;
    QRadioButton* optGroup_ = nullptr;
    QRadioButton* optStartStep_ = nullptr;
    QRadioButton* optCb40_ = nullptr;
    QLineEdit* txtStart_ = nullptr;
    QLineEdit* txtStep_ = nullptr;
    QLineEdit* txtSegment_ = nullptr;
    QComboBox* cboGrid_ = nullptr;
};

}  // namespace kt
