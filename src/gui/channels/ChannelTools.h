// The Channel menu: Fill Channels, Sort Channels by Frequency, Find, Find
// Next and Find Previous, acting on the channel window's group and selected
// rows; and the filter box above the channel grid.
#pragma once

#include "base/Texts.h"
#include "gui/CommandRegistry.h"

#include <QPointer>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QTableView;

namespace kt {

class ChannelGridModel;
class FrmFillChannels;
class FrmFindChannel;
class MainHost;
struct Workspace;

namespace tooltxt {
inline constexpr Bi FilterLabel{"Filter:", "筛选："};
inline constexpr Bi FilterHint{"frequency, tone or mode", "频率、亚音或模式"};
inline constexpr Bi FindTitle{"Find Channel", "查找信道"};
inline constexpr Bi FindLabel{"Frequency (27.185, 27185, 27.1), tone (67.0, D023) or mode (USB):",
                              "频率（27.185、27185、27.1）、亚音（67.0、D023）或模式（USB）："};
inline constexpr Bi FindNext{"Find &Next", "查找下一个(&N)"};
inline constexpr Bi FindPrevious{"Find &Previous", "查找上一个(&P)"};
inline constexpr Bi Close{"Close", "关闭"};
inline constexpr Bi Filled{"Filled %1 channels of group %2 (%3 new, %4 changed).",
                           "已填充组 %2 的 %1 个信道（新建 %3 个，更改 %4 个）。"};
inline constexpr Bi Sorted{"%1 channels of group %2 took other numbers.", "组 %2 的 %1 个信道已换到新的编号。"};
inline constexpr Bi AlreadySorted{"The channels are in frequency order already.", "信道已按频率排序。"};
}  // namespace tooltxt

// The rows the channel grid has selected (visible ones only), as channel
// numbers ascending; empty when at most one is.
std::vector<int> SelectedGridRows(QTableView* grid);

class ChannelTools : public CommandWing {
public:
    ChannelTools(MainHost& host, QObject* parent);
    std::vector<Command> Commands() override;

    void Fill();
    void Sort();
    void Find();
    // To the next (or previous) channel matching the last query; the find
    // window when there is none yet.  False when nothing matches.
    bool FindStep(bool forward);
    void SetQuery(const QString& text) { query_ = text; }
    QString Query() const { return query_; }

private:
    MainHost& host_;
    QString query_;
    QPointer<FrmFindChannel> find_;
};

// The filter box above the grid: only the rows whose channels match stay
// visible.  A click on a column header sorts the rows as shown (a second
// click the other way round); the channel numbers stay the radio's.
class ChannelFilterBar : public QWidget {
public:
    ChannelFilterBar(Workspace& ws, QTableView* grid, ChannelGridModel* model, QWidget* parent);
    void Apply();
    void Retranslate();
    void SortView(int column, Qt::SortOrder order);

private:
    void HeaderClicked(int column);
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    Workspace& ws_;
    QTableView* grid_;
    ChannelGridModel* model_;
    QLabel* label_;
    QLineEdit* text_;
};

}  // namespace kt
