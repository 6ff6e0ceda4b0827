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

// The port dialog's lines, Find my cable and the link trace window.  %1 a port.
inline constexpr Bi DtrOn{"DTR on", "DTR 开启"};
inline constexpr Bi RtsOn{"RTS on", "RTS 开启"};
inline constexpr Bi LinesNote{"Leave both off unless your cable needs them: a raised RTS can key the transmitter.",
                              "除非数据线需要，否则请保持关闭：RTS 升高可能使电台发射。"};
inline constexpr Bi FindCable{"Find my cable", "查找我的数据线"};
inline constexpr Bi FindCableStop{"Stop looking", "停止查找"};
inline constexpr Bi FindCableUnplug{"Unplug the radio's cable from the computer, then plug it in again.",
                                    "请从电脑上拔下对讲机的数据线，然后重新插上。"};
inline constexpr Bi FindCableReplug{"%1 went away. Plug the cable in again.", "%1 已消失。请重新插上数据线。"};
inline constexpr Bi FindCableFound{"Found: the cable is on %1.", "已找到：数据线在 %1 上。"};
inline constexpr Bi FindCableNone{"No port went away and came back within a minute.",
                                  "一分钟内没有端口消失后又重新出现。"};
inline constexpr Bi TraceTitle{"Link Trace", "通信记录"};
inline constexpr Bi TraceNone{"No transfer has run since the program started.", "程序启动以来尚未进行过传输。"};
inline constexpr Bi TraceCopy{"&Copy", "复制(&C)"};
inline constexpr Bi TraceSaveAs{"&Save As…", "另存为(&S)…"};
inline constexpr Bi TraceClose{"Close", "关闭"};
inline constexpr Bi SaveTrace{"Save Trace…", "保存通信记录…"};

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
// %1 the port.
inline constexpr Bi PortLost{
    "The port %1 went away during the transfer: the cable was unplugged, or another program took the port. "
    "On Linux a braille-display service (brltty) or a modem manager (ModemManager) often claims new USB serial "
    "devices; check with \"systemctl status brltty\" and \"systemctl status ModemManager\".",
    "传输过程中端口 %1 消失了：数据线被拔出，或端口被其他程序占用。在 Linux 上，盲文显示服务（brltty）"
    "或调制解调器管理程序（ModemManager）常会占用新插入的 USB 串口设备；请用“systemctl status brltty”"
    "和“systemctl status ModemManager”检查。"};
inline constexpr Bi TransferFailedRead{"The radio was not read.", "未能读取对讲机。"};
inline constexpr Bi TransferFailedWrite{"The radio was not written.", "未能写入对讲机。"};
inline constexpr Bi TraceHint{"The link trace shows what went over the cable; save it to send it with a report of the problem.",
                              "通信记录显示了数据线上传输的内容；可保存后随问题报告一起发送。"};
// %1 the file, %2 the system's reason.
inline constexpr Bi TraceUnwritable{"The link trace cannot be written to %1: %2", "无法把通信记录写入 %1：%2"};
inline constexpr Bi TraceFilter{"Text files (*.txt);;All files (*)", "文本文件 (*.txt);;所有文件 (*)"};
inline constexpr Bi SaveTraceTitle{"Save Link Trace", "保存通信记录"};
inline constexpr Bi NotSerial{"%1 is not a serial port", "%1 不是串口"};
inline constexpr Bi NoAnswer{"The radio did not answer. Check the cable, the port and that the radio is on.",
                             "对讲机没有应答。请检查数据线、端口以及对讲机是否已开机。"};

// Several radios at once.  %1 an address in hexadecimal, a firmware version or a reason.
inline constexpr Bi NotAnswering{"The radio stopped answering.", "对讲机停止应答。"};
inline constexpr Bi BlockLost{"The block at 0x%1 was lost.", "地址 0x%1 的数据块丢失。"};
inline constexpr Bi SkippedByUser{"Skipped.", "已跳过。"};
inline constexpr Bi FirmwareUnsuited{"Firmware %1 does not suit this program.", "固件 %1 与本程序不匹配。"};
inline constexpr Bi Written{"Written.", "已写入。"};
inline constexpr Bi ReadOk{"Read.", "已读取。"};
inline constexpr Bi VerifyOk{"Verified.", "校验无误。"};
inline constexpr Bi VerifyDiffers{"Verify failed: the radio differs at 0x%1.", "校验失败：对讲机在 0x%1 处不同。"};
inline constexpr Bi VerifyFailed{"Verify failed: %1", "校验失败：%1"};
// %1 the percentage the radio had reached when the batch was stopped.
inline constexpr Bi StoppedWriting{
    "Stopped at %1 %: the radio holds part of the old and part of the new data; write it again",
    "在 %1 % 处停止：对讲机中一部分是旧数据、一部分是新数据，请重新写入"};
inline constexpr Bi StoppedReading{"Stopped at %1 %: the radio was not read.", "在 %1 % 处停止：未读取对讲机。"};
// One radio stopped by Ctrl+C on the command line; FullStop ends StoppedWriting there.
inline constexpr Bi FullStop{".", "。"};
inline constexpr Bi StoppedUnchanged{"Stopped before anything was written: the radio is unchanged.",
                                     "在写入之前停止：对讲机未被改动。"};
inline constexpr Bi StoppedReadNothingSaved{"Stopped at %1 %: the radio was not read and nothing was written.",
                                            "在 %1 % 处停止：未读取对讲机，也未写入任何文件。"};
inline constexpr Bi VerifyStopped{"Verify stopped at %1 %.", "校验在 %1 % 处停止。"};
inline constexpr Bi SimNotSwapped{"A simulated radio is not swapped, so this port writes no further radio.",
                                  "模拟对讲机不会被更换，此端口不再写入其他对讲机。"};
inline constexpr Bi LogUnwritable{"The job log %1 cannot be written: %2", "无法写入作业日志 %1：%2"};
inline constexpr Bi StateWaiting{"Waiting", "等待"};
inline constexpr Bi StateWriting{"Writing", "正在写入"};
inline constexpr Bi StateVerifying{"Verifying", "正在校验"};
inline constexpr Bi StateReading{"Reading", "正在读取"};
inline constexpr Bi StateNextRadio{"Waiting for the next radio", "等待下一台对讲机"};
inline constexpr Bi StateQuestion{"Not answering: Retry or Skip?", "无应答：重试还是跳过？"};
inline constexpr Bi StateDone{"Done", "完成"};
inline constexpr Bi StateFailed{"Failed", "失败"};
inline constexpr Bi StateSkipped{"Skipped", "已跳过"};
inline constexpr Bi StateStopped{"Stopped", "已停止"};

// The window "Write to Several Radios".
inline constexpr Bi SeveralTitle{"Write to Several Radios", "同时写入多台对讲机"};
inline constexpr Bi SeveralPorts{"Write into the radios on these ports:", "写入以下端口上的对讲机："};
inline constexpr Bi SeveralSimulated{"Simulated &radios to add:", "添加模拟对讲机数量(&R)："};
inline constexpr Bi SeveralVerify{"&Verify after writing", "写入后校验(&V)"};
inline constexpr Bi SeveralKeep{"&Keep writing radios plugged into these ports",
                                "持续写入插入这些端口的对讲机(&K)"};
inline constexpr Bi SeveralLog{"&Job log (CSV):", "作业日志（CSV）(&J)："};
inline constexpr Bi SeveralBrowse{"&Browse…", "浏览(&B)…"};
inline constexpr Bi SeveralStart{"&Start", "开始(&S)"};
inline constexpr Bi SeveralStop{"S&top", "停止(&T)"};
inline constexpr Bi SeveralClose{"&Close", "关闭(&C)"};
inline constexpr Bi SeveralRetry{"Retry", "重试"};
inline constexpr Bi SeveralSkip{"Skip", "跳过"};
inline constexpr Bi SeveralNothing{"Tick a port or add a simulated radio first.", "请先勾选端口或添加模拟对讲机。"};
inline constexpr Bi SeveralStopAsk{"Radios are still being written. Stop them and close?",
                                   "仍有对讲机正在写入。是否停止并关闭？"};
inline constexpr Bi SeveralSummary{"%1 written, %2 verified, %3 failed, %4 skipped, %5 stopped.",
                                   "已写入 %1 台，已校验 %2 台，失败 %3 台，跳过 %4 台，停止 %5 台。"};
// Column heads: port, model, firmware, progress, state, result.
inline constexpr Bi ColPort{"Port", "端口"};
inline constexpr Bi ColModel{"Model", "机型"};
inline constexpr Bi ColFirmware{"Firmware", "固件"};
inline constexpr Bi ColProgress{"Progress", "进度"};
inline constexpr Bi ColState{"State", "状态"};
inline constexpr Bi ColResult{"Result", "结果"};

}  // namespace kt::link_txt
