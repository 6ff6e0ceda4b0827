// Bilingual texts.  Every visible text is a pair {English, Chinese}; the
// language in use (1 English, 2 Chinese) picks one.  Each window keeps its own
// table of pairs beside its code; texts shared by several windows are here.
#pragma once

#include <QString>

namespace kt {

enum Language { English = 1, Chinese = 2 };

struct Bi {
    const char* en;
    const char* zh;
    QString in(int language) const { return QString::fromUtf8(language == Chinese ? zh : en); }
};

// Shared texts of the shell.
namespace txt {
inline constexpr Bi ModelType{"Model Type", "机型类型"};
inline constexpr Bi Frequency{"Frequency", "频率"};
inline constexpr Bi ModelInformation{"Model Information", "机型信息"};
inline constexpr Bi PortDialogTitle{"Communication Port", "通信端口"};
inline constexpr Bi PortLabel{"COM", "通信口"};
inline constexpr Bi LanguageMode{"Language Mode", "语言模式"};
inline constexpr Bi LanguageEnglish{"English", "英语"};
inline constexpr Bi LanguageChinese{"Chinese", "中文"};
inline constexpr Bi LanguageSetup{"Language Setup", "语言设置"};
inline constexpr Bi DataFile{"Data File", "数据文件"};
inline constexpr Bi FileName{"File Name", "文件名"};
inline constexpr Bi Close{"&Close", "关闭(&C)"};
inline constexpr Bi Help{"&Help", "帮助(&H)"};
inline constexpr Bi Print{"&Print", "打印(&P)"};
}  // namespace txt

}  // namespace kt
