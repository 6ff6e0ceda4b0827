#include "shell/Shell.h"
#include "shell/MainTexts.h"
#include "shell/Settings.h"
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "model/Workspace.h"
#include "link/LinkTexts.h"
#include "link/Transfer.h"

#include <QSerialPortInfo>
#include <QSettings>

namespace kt {

namespace {
int LastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
}
}  // namespace

QString ParentFolder(const QString& path)
{
    const int i = LastSeparator(path);
    return i > 0 ? path.left(i) : path;
}

QString FileNameOf(const QString& path)
{
    return path.mid(LastSeparator(path) + 1);
}

QString BandPanelText(const Workspace& ws)
{
    return ws.T(mtxt::AppTitle) + "[" + ws.BandRange + "]";
}

QString MainTitle(const Workspace& ws)
{
    return BandPanelText(ws) + "[" + ws.T(txt::FileName) + ":" + FileNameOf(ws.CurrentFile) + "]";
}

namespace {
constexpr Bi kNoPort{"no port", "无端口"};
constexpr Bi kNotPresent{"(not present)", "(不存在)"};
}  // namespace

QString PortPanelText(const Workspace& ws, const QStringList& presentPorts)
{
    const QString key = ws.comPort.trimmed();
    const QString label = ws.T(txt::PortLabel);
    if (PortNameOfKey(key).isEmpty()) return label + " " + ws.T(kNoPort);
    if (key == kSimulatedPortKey) return label + " " + ws.T(link_txt::Simulated);
    bool numeric = false;
    key.toInt(&numeric);
    QString text = label + (numeric ? key : " " + key);
    if (!presentPorts.contains(PortNameOfKey(key))) text += " " + ws.T(kNotPresent);
    return text;
}

QString PortPanelText(const Workspace& ws)
{
    return PortPanelText(ws, PresentPorts());
}

QStringList PresentPorts()
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names << info.portName();
    names << kSimulatedPortKey;
    return names;
}

QString PreselectedPort(const QString& key, const QStringList& presentPorts)
{
    const QString name = PortNameOfKey(key);
    if (!name.isEmpty() && presentPorts.contains(name)) return name;
    return presentPorts.isEmpty() ? QString() : presentPorts.first();
}

QString DataFileFilter(const Workspace& ws)
{
    return ws.T(msg::DataFileLabel) + " (*.dat)";
}

void StartUp(Workspace& ws, const StartOptions& opt)
{
    ws.ProgramDir = opt.programDir;
    ws.InstallRoot = opt.root.isEmpty() ? ParentFolder(opt.programDir) : opt.root;

    ws.Versions = LoadVersionTable(ws.InstallRoot);
    ws.WorkRecord.Version.set(kDataVersion);
    ws.GroupWriteEnabled = opt.groupWrite;
    // Numbers are formatted and parsed with "." by the program itself
    // (QLocale::c()), so the user's locale is neither read nor changed here.
    const bool portStored = LoadSettings(ws, opt.systemLanguage);
    // Shown in the status bar and used by a transfer, stored only when the
    // user confirms it in the port dialog.
    if (!portStored && opt.resolvePort) ws.comPort = PreselectedPort(QString(), PresentPorts());
    InitDefaults(ws);
}

Geometry LoadGeometry(QSettings& store)
{
    Geometry g;
    store.beginGroup("Settings");
    auto read = [&](const char* key, int& v) {
        bool ok = false;
        const int n = store.value(key).toString().trimmed().toInt(&ok);
        if (ok) v = n;
    };
    read("MainLeft", g.left);
    read("MainTop", g.top);
    read("MainWidth", g.width);
    read("MainHeight", g.height);
    store.endGroup();
    return g;
}

bool HasStoredGeometry(QSettings& store)
{
    store.beginGroup("Settings");
    bool any = false;
    for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) any = any || store.contains(key);
    store.endGroup();
    return any;
}

void StoreGeometry(QSettings& store, const Geometry& g)
{
    store.beginGroup("Settings");
    store.setValue("MainLeft", QString::number(g.left));
    store.setValue("MainTop", QString::number(g.top));
    store.setValue("MainWidth", QString::number(g.width));
    store.setValue("MainHeight", QString::number(g.height));
    store.endGroup();
    store.sync();
}

void ShowQueuedMessages(Workspace& ws)
{
    for (const QString& text : ws.Messages.TakeAll()) ws.Ask(text, Buttons::Ok, Icon::None);
}

}  // namespace kt
