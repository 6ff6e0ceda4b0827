// Texts of the main window: the menu table (both captions), the tool bar and
// the tree, in the order the menus show them.
#pragma once

#include "base/Texts.h"

#include <QString>
#include <vector>

namespace kt {

struct MenuEntry {
    const char* name;   // object name, e.g. "mnuFileNew"
    const char* parent; // top-level menu of an item; nullptr for a top-level menu
    Bi caption;         // English / Chinese
    bool hidden;        // hidden when the main window loads
    bool separatorBefore;
};

// Every menu and item of the main window, top-level menus first in their
// group.  The pop-up MnuListEdit is listed last; it is not on the menu bar.
const std::vector<MenuEntry>& MenuTable();
const MenuEntry* FindMenu(const QString& name);
// Caption of a menu item in a language (1 or 2); empty for an unknown name.
QString MenuCaption(const QString& name, int language);
// A menu caption without its access key, as the tree shows it: "&Channel
// Information" and "信道信息(&C)" give "Channel Information" and "信道信息".
QString PlainCaption(const QString& caption);

struct ToolButtonEntry {
    int index;          // 1-18; separators are 4, 6, 10, 12, 14 and 17
    const char* key;    // dispatch key
    const char* menu;   // menu item whose caption is the tool tip and whose action it runs
};
const std::vector<ToolButtonEntry>& ToolBarTable();

namespace mtxt {
inline constexpr Bi AppTitle{"KT-6383 Pro", "KT-6383 Pro"};
inline constexpr Bi TreeClose{"Close", "关闭"};
inline constexpr Bi RogerBeepNode{"Roger Beep", "RB音"};      // tree node N12
inline constexpr Bi RogerBeepMenu{"&Roger Beep", "RB音(&R)"};  // mnuToneTips
inline constexpr Bi Version{"Version ", "版本 "};
inline constexpr Bi About{"About ", "关于 "};
inline constexpr Bi SystemInfo{"&System Info...", "系统信息(&S)..."};
inline constexpr Bi SysInfoMissing{"System information is not available at this time.",
                                   "此时系统信息不可用"};
// Undo and Redo with the name of the step they would take.
inline constexpr Bi UndoStep{"&Undo %1", "撤销 %1(&U)"};
inline constexpr Bi RedoStep{"Re&do %1", "重做 %1(&D)"};
inline constexpr Bi HistoryTitle{"History", "历史记录"};
inline constexpr Bi HistoryStart{"<Start>", "<开始>"};
inline constexpr Bi RecentMissing{"\"%1\" is no longer there; it was taken off the list of recent files.",
                                  "“%1”已不存在，已从最近的文件列表中删除。"};
inline constexpr Bi Description{"Programming software of the KT-6383 Pro HF transceiver.",
                                "KT-6383 Pro 短波电台写频软件。"};
}  // namespace mtxt

}  // namespace kt
