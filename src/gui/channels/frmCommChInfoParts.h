// Pieces shared by the two halves of the channel window (grid and panels).
#pragma once

#include "gui/channels/frmCommChInfo.h"
#include "model/Workspace.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace kt {

inline constexpr Bi kLastChannel{"The last channel of the band cannot be removed.", "频段的最后一个信道不能删除。"};
inline constexpr Bi kNoRoom{"Every slot of this group is taken; the channel was not added.",
                            "本组的存储位置已满，信道未添加。"};
inline constexpr Bi kPushedOut{"%1 would be pushed out of the group; delete or move it first",
                               "%1 将被挤出本组；请先删除或移走它"};
inline constexpr Bi kClipboardEmpty{"Nothing to paste: copy or cut a channel first.",
                                    "没有可粘贴的内容：请先复制或剪切一个信道。"};

inline constexpr Bi kAllFields{"Show All Fields", "显示全部字段"};
inline constexpr Bi kFillDownWhere{"Fill Down fills a field column: choose View > Show All Fields and a cell of a field.",
                                   "向下填充作用于字段列：请选择“视图 > 显示全部字段”并选中一个字段单元格。"};

// Twips to pixels at 96 dpi.
constexpr int Px(int twips) { return twips / 15; }

// While alive, list events do not write to the model.
class Filling {
public:
    explicit Filling(bool& flag) : flag_(flag), old_(flag) { flag_ = false; }
    ~Filling() { flag_ = old_; }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;
private:
    bool& flag_;
    bool old_;
};

inline void SetItems(QComboBox* c, const QStringList& items)
{
    const QSignalBlocker block(c);
    c->clear();
    c->addItems(items);
}

// Selects the entry with this text, else the first.
inline void SelectText(QComboBox* c, const QString& text)
{
    const int i = c->findText(text, Qt::MatchExactly);
    c->setCurrentIndex(i >= 0 ? i : (c->count() > 0 ? 0 : -1));
}

inline void SelectIndex(QComboBox* c, int index)
{
    c->setCurrentIndex(index >= 0 && index < c->count() ? index : (c->count() > 0 ? 0 : -1));
}

template <class F>
void frmCommChInfo::Trap(const char* name, F&& body)
{
    try {
        body();
    } catch (...) {
        ws().Ask(QString::fromLatin1(name), Buttons::Ok, Icon::None);
    }
}

}  // namespace kt
