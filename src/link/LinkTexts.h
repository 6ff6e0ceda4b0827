// Texts of the radio link: progress windows, the port dialog's extra entry and
// the reasons shown beside "Cannot Open Communication Port.".
#pragma once

#include "base/Texts.h"

namespace kt::link_txt {

inline constexpr Bi ReadCaption{"Read data from radio", "从对讲机读取数据"};
inline constexpr Bi WriteCaption{"Write data to radio", "向对讲机写入数据"};
inline constexpr Bi Completion{"Completion percentage:", "完成进度:"};
inline constexpr Bi BatchSet{"Batch Set", "批处理设置"};
inline constexpr Bi RadioCount{"Radio Count", "对讲机数量"};
inline constexpr Bi WritingRadio{"WritingRadio's ID is:", "当前在写的台数："};
inline constexpr Bi Simulated{"Simulated radio", "模拟对讲机"};

// %1 the device path, %2 the group owning it.
inline constexpr Bi NoPort{"No communication port is chosen.", "未选择通信端口。"};
inline constexpr Bi PortMissing{"%1 does not exist (is the cable plugged in?).", "%1 不存在（数据线是否已连接？）。"};
inline constexpr Bi PortDenied{
    "Permission denied for %1. It belongs to the group \"%2\": add your user to that group "
    "(usually dialout), then log out and in again.",
    "没有权限打开 %1。该设备属于组“%2”：请把当前用户加入该组（通常为 dialout），然后重新登录。"};
inline constexpr Bi PortBusy{
    "%1 is held by another process (a modem manager often grabs USB serial cables).",
    "%1 已被其他程序占用（调制解调器管理程序常会占用 USB 串口线）。"};
inline constexpr Bi NoAnswer{"The radio did not answer. Check the cable, the port and that the radio is on.",
                             "对讲机没有应答。请检查数据线、端口以及对讲机是否已开机。"};

}  // namespace kt::link_txt
