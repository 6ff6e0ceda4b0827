#include "shell/ModelInfo.h"

namespace kt {

namespace {
namespace t {
constexpr Bi Radio{"Last radio identified", "最近识别的对讲机"};
constexpr Bi Program{"This program", "本程序"};
constexpr Bi ModelCode{"Model Code", "机型代码"};
constexpr Bi Firmware{"Firmware Version", "固件版本"};
constexpr Bi ExtendedHf{"Extended HF", "扩展HF"};
constexpr Bi Band{"Band", "频段"};
constexpr Bi Version{"Version", "版本"};
constexpr Bi Yes{"Yes", "是"};
constexpr Bi No{"No", "否"};
constexpr Bi NotRead{"(known after a read)", "(读取后可知)"};
constexpr Bi NoRadio{"No radio identified yet.", "尚未识别对讲机。"};
}  // namespace t
}  // namespace

ModelInfo ModelInfoOf(const Workspace& ws)
{
    ModelInfo info;
    info.title = ws.T(txt::ModelInformation);
    info.radioHeading = ws.T(t::Radio);
    info.programHeading = ws.T(t::Program);
    const auto& r = ws.LastRadio;
    if (r.known) {
        info.radio = {{ws.T(t::ModelCode), QString::fromLatin1(r.model)},
                      {ws.T(t::Firmware), QString::fromLatin1(r.firmware).trimmed()},
                      {ws.T(t::ExtendedHf), ws.T(r.extendedHf ? t::Yes : t::No)},
                      {ws.T(t::Band), r.bandRange.isEmpty() ? ws.T(t::NotRead) : r.bandRange}};
    }
    info.noRadio = ws.T(t::NoRadio);
    info.program = {{ws.T(t::ModelCode), QString::fromLatin1(kModelCode)},
                    {ws.T(t::Version), QStringLiteral("KT-6383 Pro " KT_VERSION_TEXT)}};
    return info;
}

}  // namespace kt
