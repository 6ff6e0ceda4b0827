// The message table of the shell and the link, and the queue of notices
// raised while a transfer runs (shown when it ends).
#pragma once

#include "base/Texts.h"
#include <QStringList>

namespace kt {

namespace msg {
inline constexpr Bi ClearAll{"All data will be cleared.", "所有数据将被清空。"};
inline constexpr Bi DataFileLabel{"Data File", "数据文件"};
inline constexpr Bi FileError{"file error.", "文件错误。"};
inline constexpr Bi PortError{"Cannot Open Communication Port.", "无法打开通信端口。"};
inline constexpr Bi ReadConfirm{"Read data from radio.\r\nDo you wish continue?",
                                "从对讲机读取数据。\r\n是否继续？"};
inline constexpr Bi WriteConfirm{"Write data to radio.\r\nDo you wish continue?",
                                 "向对讲机写入数据。\r\n是否继续？"};
inline constexpr Bi SaveModified{"File has been modify,save it now?", "当前文件已被修改，是否现在保存？"};
inline constexpr Bi Overwrite{"file will be Overwrite,Continue?", "文件将被覆盖，是否继续？"};
inline constexpr Bi Retry{"Check Connection. Retry or Cancel?", "检测连接。重试或取消？"};
inline constexpr Bi ReadDone{"Read Data Completed.", "读取数据完成。"};
inline constexpr Bi WriteDone{"Write Data Completed.", "写入数据完成。"};
inline constexpr Bi ModelWrong{"Model type is wrong.", "机型类型错误。"};
inline constexpr Bi FreqOut{"Frequency is out of range.", "频率超出范围。"};
// The second line of FreqOut: %1 the band's ranges in MHz.
inline constexpr Bi FreqValid{"Valid: %1 MHz.", "有效范围：%1 MHz。"};
inline constexpr Bi FreqRangeOr{" MHz or ", " MHz 或 "};
inline constexpr Bi ChannelFileMissing{"The channel file %1 is missing: %2 channels could not be read.\r\n"
                                      "Saving now would keep the job without them.",
                                      "信道文件 %1 不存在：有 %2 个信道无法读取。\r\n现在保存将不再包含这些信道。"};
inline constexpr Bi ChannelFileShort{"The channel file %1 is short: %2 of %3 channels could not be read.\r\n"
                                    "Saving now would keep the job without them.",
                                    "信道文件 %1 不完整：%3 个信道中有 %2 个无法读取。\r\n现在保存将不再包含这些信道。"};
// The desktop program's Write of a document whose channel file gave too few channels.
inline constexpr Bi ChannelsNotWritten{"The channel file was missing: %1 channels will not be written. Write anyway?",
                                       "信道文件缺失：%1 个信道将不会写入。仍要写入吗？"};
// The command line refuses such a pair, after the channel file's name: %1 the channels missing.
inline constexpr Bi ChannelsMissingRefused{
    "%1 channels are missing, so nothing was written (--allow-missing-channels goes on without them)",
    "缺少 %1 个信道，因此未写入任何内容（使用 --allow-missing-channels 可在缺少这些信道时继续）"};
// The second line of FileError for a data file of the wrong length: %1 the
// data file, %2 its length, %3 the length of a data file.
inline constexpr Bi DataFileLength{"%1: the file has %2 bytes; a data file has %3 bytes.",
                                   "%1：文件有 %2 字节；数据文件应有 %3 字节。"};
// The second line of FileError for a pair the radio cannot hold: %1 the data
// file, %2 the member, %3 its offset in the file.
inline constexpr Bi FieldOutOfRange{"%1: %2 at offset %3 holds a value out of range.",
                                    "%1：偏移 %3 处的 %2 超出范围。"};
inline constexpr Bi CaptionOk{"&OK", "确定(&O)"};
inline constexpr Bi CaptionCancel{"&Cancel", "取消(&C)"};
}  // namespace msg

// Notices raised during a transfer; at most 1001 are kept, later ones dropped.
class MessageQueue {
public:
    static constexpr int kCapacity = 1001;
    void QueueMessage(const QString& text) { if (texts_.size() < kCapacity) texts_ << text; }
    // Hands the queued texts over in order and empties the queue.
    QStringList TakeAll() { QStringList t = texts_; texts_.clear(); return t; }
    int count() const { return int(texts_.size()); }
    void clear() { texts_.clear(); }
private:
    QStringList texts_;
};

}  // namespace kt
