#include "gui/channels/ChannelFileCommands.h"
#include "model/EditStep.h"

#include "gui/MenuPolish.h"
#include "gui/channels/FrmCheckReport.h"
#include "model/ChannelRules.h"
#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelCsv.h"
#include "rules/channels/CsvTable.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kt {

namespace ftxt {
inline constexpr Bi ExportTitle{"Export Channels", "导出信道"};
inline constexpr Bi ImportTitle{"Import Channels", "导入信道"};
inline constexpr Bi Filter{"CSV files (*.csv);;All files (*)", "CSV 文件 (*.csv);;所有文件 (*)"};
inline constexpr Bi NotWritten{"The file could not be written:\n%1\n%2", "无法写入文件：\n%1\n%2"};
inline constexpr Bi NotRead{"The file could not be read:\n%1\n%2", "无法读取文件：\n%1\n%2"};
inline constexpr Bi Exported{"%1 channels were written to\n%2", "已将 %1 个信道写入\n%2"};
inline constexpr Bi Refused{"Nothing was imported; the file has %1 problem(s):", "未导入任何内容；文件有 %1 个问题："};
inline constexpr Bi More{"... and %1 more.", "……另有 %1 个。"};
inline constexpr Bi Imported{"%1 channels in %2 group(s) were imported.", "已导入 %2 个组的 %1 个信道。"};
inline constexpr Bi OfferRadioInfo{"Open Radio Information to identify the radio now?",
                                   "现在打开对讲机信息以识别机器吗？"};
}  // namespace ftxt

namespace {

QString Lines(const Workspace& ws, const CsvIssues& issues)
{
    constexpr int kShown = 15;
    QStringList l;
    for (int i = 0; i < issues.first.size() && i < kShown; ++i) l << DescribeIssue(ws, issues.first[i]);
    if (issues.total() > kShown) l << ws.T(ftxt::More).arg(issues.total() - kShown);
    return l.join('\n');
}

}  // namespace

void ExportChannelsCommand(MainHost& host)
{
    Workspace& ws = host.ws();
    if (!ws.asker) return;
    emit ws.Events().aboutToEncode();
    const QString preset = QFileInfo(ws.CurrentFile).completeBaseName() + ".csv";
    const QString path = ws.asker->saveFileName(ws.T(ftxt::ExportTitle), ws.T(ftxt::Filter), preset);
    if (path.isEmpty()) return;
    const CsvExport e = ExportChannelsCsv(ws);
    // Written beside the target and renamed, so a failure leaves no partial file.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(e.bytes) != e.bytes.size() || !f.commit()) {
        ws.Ask(ws.T(ftxt::NotWritten).arg(path, f.errorString()), Buttons::Ok, Icon::Warning);
        return;
    }
    ws.Ask(ws.T(ftxt::Exported).arg(e.channels).arg(path), Buttons::Ok, Icon::Information);
}

void ImportChannelsCommand(MainHost& host)
{
    Workspace& ws = host.ws();
    if (!ws.asker) return;
    const QString path = ws.asker->openFileName(ws.T(ftxt::ImportTitle), ws.T(ftxt::Filter));
    if (path.isEmpty()) return;
    QByteArray bytes;
    QString why;
    if (!ReadCsvFile(path, ws.CurrentLanguage, bytes, why)) {
        ws.Ask(ws.T(ftxt::NotRead).arg(path, why), Buttons::Ok, Icon::Warning);
        return;
    }
    emit ws.Events().aboutToEncode();
    // An interchange file fills the memory group of the band in use.
    CsvImportOptions opt;
    opt.place = {ws.WorkRecord.BandType == 1 ? 1 : 0, 0};
    EditStep step(ws, Named(steptxt::ImportChannels, Plain(QFileInfo(path).fileName())));
    const CsvImport r = ImportChannelsCsv(ws, bytes, opt);
    if (!r.ok()) {
        ws.Ask(ws.T(ftxt::Refused).arg(r.errors.total()) + "\n" + Lines(ws, r.errors), Buttons::Ok, Icon::Warning);
        return;
    }
    for (const auto& g : r.groups) emit ws.Events().channelsChanged(g.first, g.second);
    emit ws.Events().documentReplaced();
    QString text = ws.T(ftxt::Imported).arg(r.channels).arg(r.groups.size());
    if (const QString note = NotGridGroupsNote(ws, r); !note.isEmpty()) text += "\n" + note;
    if (!r.warnings.isEmpty()) text += "\n" + Lines(ws, r.warnings);
    ws.Ask(text, Buttons::Ok, Icon::Information);
}

void CheckAllChannelsCommand(MainHost& host)
{
    emit host.ws().Events().aboutToEncode();
    FrmCheckReport* open = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* r = qobject_cast<FrmCheckReport*>(w); r && &r->host() == &host) open = r;
    if (open) {
        open->Refresh();
    } else {
        open = new FrmCheckReport(host, host.MainWindow());
        PlaceOverMainWindow(open, host.MainWindow());
    }
    open->show();
    open->raise();
    open->activateWindow();
}

void CheckRadioBandCommand(MainHost& host)
{
    Workspace& ws = host.ws();
    const RadioBandCheck c = CheckRadioBand(ws);
    if (!c.radioIdentified) {
        if (ws.Ask(c.text + "\n\n" + ws.T(ftxt::OfferRadioInfo), Buttons::YesNo, Icon::Question) == Answer::Yes)
            host.RadioInformation();
        return;
    }
    ws.Ask(c.text, Buttons::Ok, c.radioKnown && !c.agrees ? Icon::Warning : Icon::Information);
}

}  // namespace kt
