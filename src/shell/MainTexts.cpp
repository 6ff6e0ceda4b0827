#include "shell/MainTexts.h"

#include <QRegularExpression>

namespace kt {

const std::vector<MenuEntry>& MenuTable()
{
    static const std::vector<MenuEntry> table = {
        {"mnuFile", nullptr, {"&File", "文件(&F)"}, false, false},
        {"mnuFileNew", "mnuFile", {"&New", "新建(&N)"}, false, false},
        {"mnuFileOpen", "mnuFile", {"&Open", "打开(&O)"}, false, false},
        {"mnuFileSave", "mnuFile", {"&Save", "保存(&S)"}, false, false},
        {"mnuFileSaveAs", "mnuFile", {"Save &As", "另存为(&A)"}, false, false},
        {"mnuFileExportChannels", "mnuFile", {"&Export Channels…", "导出信道(&E)…"}, false, true},
        {"mnuFileImportChannels", "mnuFile", {"&Import Channels…", "导入信道(&I)…"}, false, false},
        {"mnuFileRestoreBackup", "mnuFile", {"&Restore Backup…", "恢复备份(&R)…"}, false, false},
        {"mnuFileCompare", "mnuFile", {"Co&mpare…", "比较(&M)…"}, false, false},
        {"mnuFilePrint", "mnuFile", {"&Print", "打印(&P)"}, false, true},
        {"mnuFileExportPdf", "mnuFile", {"Export P&DF…", "导出 PDF(&D)…"}, false, false},
        {"mnuFileExit", "mnuFile", {"E&xit", "退出(&X)"}, false, true},

        {"mnuModel", nullptr, {"&Model", "机型(&M)"}, false, false},
        {"mnuModelInfo", "mnuModel", {"&Model Information", "机型信息(&M)"}, false, false},

        {"MnuBand", nullptr, {"&Band", "频段(&B)"}, false, false},
        {"MnuCheckRadioBand", "MnuBand", {"Check Radio &Band", "检查机器频段(&B)"}, false, false},
        {"MnuFrequencyCheck", "MnuBand", {"Check All Channel &Frequency", "有效频率检测(&F)"}, false, false},

        {"mnuEdit", nullptr, {"&Edit", "编辑(&E)"}, false, false},
        {"mnuEditUndo", "mnuEdit", {"&Undo", "撤销(&U)"}, false, false},
        {"mnuEditRedo", "mnuEdit", {"Re&do", "重做(&D)"}, false, false},
        {"mnuEditHistory", "mnuEdit", {"&History…", "历史记录(&H)…"}, false, false},
        {"mnuChannelInfo", "mnuEdit", {"&Channel Information", "信道信息(&C)"}, false, true},
        {"mnuOptFeature", "mnuEdit", {"&Option Features", "可选功能(&O)"}, false, false},
        {"mnuToneTips", "mnuEdit", mtxt::RogerBeepMenu, false, false},
        {"mnuKeyAssignm", "mnuEdit", {"&Key Assignment", "键设置(&K)"}, false, false},
        {"mnuScanInfo", "mnuEdit", {"&Scan Information", "扫描信息(&S)"}, false, false},
        {"mnuDTMF", "mnuEdit", {"&DTMF", "DTMF(双音多频)(&D)"}, true, false},
        {"mnuFleetSync", "mnuEdit", {"&Fleet Sync", "Fleet Sync(队列同步)(&F)"}, true, false},
        {"mnuTestFre", "mnuEdit", {"&Test FreQuence", "测试频率(&T)"}, true, false},
        {"mnuEmbeddedMsg", "mnuEdit", {"Embedded &Message", "嵌入信息(&M)"}, true, false},
        {"mnuEMG", "mnuEdit", {"Local &Information", "本机信息(&I)"}, true, false},

        {"mnuChannel", nullptr, {"Cha&nnel", "信道(&N)"}, false, false},
        {"mnuChannelFill", "mnuChannel", {"&Fill Channels…", "填充信道(&F)…"}, false, false},
        {"mnuChannelSort", "mnuChannel", {"&Sort Channels by Frequency", "按频率排序信道(&S)"}, false, false},
        {"mnuChannelFind", "mnuChannel", {"F&ind…", "查找(&I)…"}, false, true},
        {"mnuChannelFindNext", "mnuChannel", {"Find &Next", "查找下一个(&N)"}, false, false},
        {"mnuChannelFindPrev", "mnuChannel", {"Find &Previous", "查找上一个(&P)"}, false, false},

        {"mnuProgram", nullptr, {"&Program", "编程(&P)"}, false, false},
        {"mnuReadFromRadio", "mnuProgram", {"&Read from Radio", "从对讲机读取数据(&R)"}, false, false},
        {"mnuWriteToRadio", "mnuProgram", {"&Write to Radio", "向对讲机写入数据(&W)"}, false, false},
        {"mnuVerifyAfterWrite", "mnuProgram", {"&Verify after Writing", "写入后校验(&V)"}, false, false},
        {"mnuWriteSeveral", "mnuProgram", {"Write to &Several Radios…", "同时写入多台对讲机(&S)…"}, false, false},
        {"mnuTest", "mnuProgram", {"&Test Mode", "测试模式(&T)"}, true, false},
        {"mnuMWriteToRadio", "mnuProgram", {"Write to &Group of Radios", "成批向对讲机写入数据(&G)"}, true, true},
        {"mnuRadioInfo", "mnuProgram", {"Radio &Information", "对讲机信息(&I)"}, false, true},
        {"mnuLinkTrace", "mnuProgram", {"Lin&k Trace…", "通信记录(&K)…"}, false, false},

        {"mnuTools", nullptr, {"&Tools", "工具(&T)"}, true, false},
        {"mnuSetRadioInfo", "mnuTools", {"&Set Radio Information", "设置对讲机信息(&S)"}, false, false},

        {"mnuSet", nullptr, {"&Setup", "设置(&S)"}, false, false},
        {"mnuComm", "mnuSet", {"&Communication Port", "通讯端口(&C)"}, false, false},
        {"mnuLanguage", "mnuSet", {"&Language Setup", "语言设置(&L)"}, false, false},
        {"MnuInitial", "mnuSet", {"&Initial Setting", "初始化设置(&I)"}, false, true},

        {"mnuView", nullptr, {"&View", "视图(&V)"}, false, false},
        {"mnuTreeView", "mnuView", {"Tree &View", "树视图(&V)"}, false, false},
        {"mnuViewToolbar", "mnuView", {"&Toolbar", "工具栏(&T)"}, false, false},
        {"mnuViewStatusBar", "mnuView", {"&Status Bar", "状态栏(&S)"}, false, false},
        {"mnuViewAllFields", "mnuView", {"Show &All Fields", "显示全部字段(&A)"}, false, true},

        {"mnuWindow", nullptr, {"&Window", "窗口(&W)"}, false, false},
        {"mnuWindowCascade", "mnuWindow", {"&Cascade", "层叠(&C)"}, false, false},
        {"mnuWindowTileHorizontal", "mnuWindow", {"Tile Windows &Horizontally", "横向平铺窗口(&H)"}, true, false},
        {"mnuWindowTileVertical", "mnuWindow", {"Tile Windows &Vertically", "纵向平铺窗口(&V)"}, true, false},
        {"mnuWindowArrangeIcons", "mnuWindow", {"&Arrange Icons", "排列图标(&A)"}, true, false},
        {"mnuCloseAll", "mnuWindow", {"Close All &Windows", "关闭所有窗口(&W)"}, false, false},

        {"mnuHelp", nullptr, {"&Help", "帮助(&H)"}, false, false},
        {"mnuHelpTopic", "mnuHelp", {"&Help topics", "帮助主题(&H)"}, false, false},
        {"mnuHelpAbout", "mnuHelp", {"&About KT-6383 Pro", "关于 KT-6383 Pro(&A)"}, false, true},

        // The channel grid's pop-up; its captions are the same in both languages.
        {"MnuListEdit", nullptr, {"Tools", "Tools"}, true, false},
        {"MnuLECopy", "MnuListEdit", {"Copy", "Copy"}, false, false},
        {"MnuLECut", "MnuListEdit", {"Cut", "Cut"}, false, false},
        {"MnuLEPaste", "MnuListEdit", {"Paste", "Paste"}, false, false},
        {"MnuLEInsert", "MnuListEdit", {"Insert&Paste", "Insert&Paste"}, false, false},
        {"MnuLEDelete", "MnuListEdit", {"Delete", "Delete"}, false, false},
        // The keys are the grid's own, shown beside the captions.
        {"MnuLESelectAll", "MnuListEdit", {"Select All\tCtrl+A", "全选\tCtrl+A"}, false, true},
        {"MnuLEFillDown", "MnuListEdit", {"Fill Down\tCtrl+D", "向下填充\tCtrl+D"}, false, false},
    };
    return table;
}

const MenuEntry* FindMenu(const QString& name)
{
    for (const MenuEntry& e : MenuTable())
        if (name == QLatin1String(e.name)) return &e;
    return nullptr;
}

QString MenuCaption(const QString& name, int language)
{
    const MenuEntry* e = FindMenu(name);
    return e ? e->caption.in(language) : QString();
}

const std::vector<ToolButtonEntry>& ToolBarTable()
{
    static const std::vector<ToolButtonEntry> table = {
        {1, "新建", "mnuFileNew"},        {2, "打开", "mnuFileOpen"},
        {3, "保存", "mnuFileSave"},       {5, "打印", "mnuFilePrint"},
        {7, "ReadRadio", "mnuReadFromRadio"}, {8, "CommSet", "mnuComm"},
        {9, "WriteRadio", "mnuWriteToRadio"}, {11, "MWriteRadio", "mnuMWriteToRadio"},
        {13, "About", "mnuHelpAbout"},
        {15, "Undo", "mnuEditUndo"},       {16, "Redo", "mnuEditRedo"},
        {18, "Find", "mnuChannelFind"},
    };
    return table;
}

QString PlainCaption(const QString& caption)
{
    QString t = caption;
    // Chinese captions carry the key as a "(&C)" suffix; the letter alone
    // means nothing beside Chinese text, so the suffix goes with the "&".
    static const QRegularExpression suffix(QStringLiteral("\\(&[^)&]\\)"));
    t.remove(suffix);
    // "&&" is a shown "&"; a single "&" marks the access key.
    static const QRegularExpression marker(QStringLiteral("&(.)"));
    return t.replace(marker, QStringLiteral("\\1"));
}

}  // namespace kt
