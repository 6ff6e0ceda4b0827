// The one place that knows every command wing of the main window: the radio
// link, the channel files and checks, the report and the manual.
#include "gui/CommandRegistry.h"
#include "gui/ReportCommands.h"
#include "gui/KeyboardMenus.h"
#include "gui/ThemeMenu.h"
#include "gui/channels/ChannelFileCommands.h"
#include "gui/channels/ChannelTools.h"
#include "gui/compare/CompareCommands.h"
#include "gui/compare/FrmDifferences.h"
#include "gui/link/FrmRestoreBackup.h"
#include "gui/frmMain.h"
#include "gui/help/FrmHelp.h"
#include "gui/link/GuiTransfers.h"
#include "link/Backups.h"
#include "link/LinkMachine.h"

#include <QAction>
#include <QSettings>
#include <QTimer>

namespace kt {

namespace {

// Commands that keep nothing between calls: each is a function of the host.
class PlainWing : public CommandWing {
public:
    using Table = std::vector<std::pair<const char*, void (*)(MainHost&)>>;
    PlainWing(MainHost& host, Table table, QObject* parent)
        : CommandWing(parent), host_(host), table_(std::move(table)) {}

    std::vector<Command> Commands() override
    {
        std::vector<Command> out;
        for (const auto& [name, run] : table_) out.push_back({name, [this, f = run] { f(host_); }});
        return out;
    }

private:
    MainHost& host_;
    Table table_;
};

// Where File > Compare finds the radio and the backups: the link wing's.
CompareSources CompareSourcesOf(MainHost& host)
{
    CompareSources s;
    s.backupFolder = BackupStore::DefaultFolder();
    if (auto* main = dynamic_cast<frmMain*>(host.MainWindow()))
        if (Transfers* t = main->transfers()) {
            t->ClosePort();   // the comparison's read opens the port itself
            s.simulator = &t->Simulator();
            s.backupFolder = t->backupFolder;
            s.backupKeep = t->backupKeep;
        }
    return s;
}

// Program > Verify after Writing: a setting; after each write that succeeded
// the radio is read back and compared with what was written.
class VerifyWing : public CommandWing {
public:
    VerifyWing(MainHost& host, QSettings& store, QObject* parent) : CommandWing(parent), host_(host), store_(store)
    {
        // The menu and the link wing are there once every wing is made.
        QTimer::singleShot(0, this, [this] {
            ShowSetting();
            auto* main = dynamic_cast<frmMain*>(host_.MainWindow());
            Transfers* link = main ? main->transfers() : nullptr;
            if (!link) return;
            connect(link, &Transfers::TransferEnded, this, [this](int kind, bool success) {
                if (kind != kWrite || !success || !On()) return;
                const std::vector<uint8_t> written = host_.ws().MemImage;   // the image the write sent
                QTimer::singleShot(0, this, [this, written] { VerifyWrite(host_, CompareSourcesOf(host_), written); });
            });
        });
    }

    std::vector<Command> Commands() override
    {
        return {{"mnuVerifyAfterWrite", [this] {
                     store_.setValue(kKey, !On());
                     ShowSetting();
                 }}};
    }

private:
    static constexpr const char* kKey = "Settings/VerifyAfterWrite";
    bool On() const { return store_.value(kKey, false).toBool(); }
    void ShowSetting()
    {
        if (QWidget* main = host_.MainWindow())
            if (auto* a = main->findChild<QAction*>("mnuVerifyAfterWrite")) {
                a->setCheckable(true);
                a->setChecked(On());
            }
    }
    MainHost& host_;
    QSettings& store_;
};

}  // namespace

const std::vector<WingFactory>& StandardCommandWings()
{
    static const std::vector<WingFactory> wings = {
        [](MainHost& host, QSettings& store, QObject* parent) -> CommandWing* {
            auto* t = new Transfers(host, parent);
            t->backupKeep = BackupLimit(store);
            t->showDifferences = [&host](const std::vector<uint8_t>& radio, const QString& name) {
                Workspace& ws = host.ws();
                const cmp::Document a = cmp::FromImage(ws, radio, name);
                const cmp::Document b = cmp::FromWorkspace(ws, ws.IsUntitled ? QStringLiteral("new.dat") : ws.CurrentFile);
                ShowDifferencesAndWait(host, cmp::Compare(a, b), a.name, b.name);
            };
            return t;
        },
        [](MainHost& host, QSettings& store, QObject* parent) -> CommandWing* {
            return new VerifyWing(host, store, parent);
        },
        [](MainHost& host, QSettings&, QObject* parent) -> CommandWing* {
            BackupCompareHandler() = [](MainHost& h, const QString& path) { CompareWithBackup(h, path); };
            return new PlainWing(host,
                                 {{"mnuFileCompare", [](MainHost& h) { CompareCommand(h, CompareSourcesOf(h)); }}},
                                 parent);
        },
        [](MainHost& host, QSettings&, QObject* parent) -> CommandWing* {
            return new PlainWing(host,
                                 {{"mnuFileExportChannels", &ExportChannelsCommand},
                                  {"mnuFileImportChannels", &ImportChannelsCommand},
                                  {"MnuFrequencyCheck", &CheckAllChannelsCommand},
                                  {"MnuCheckRadioBand", &CheckRadioBandCommand},
                                  {"mnuFilePrint", [](MainHost& h) { PrintReportCommand(h); }},
                                  {"mnuFileExportPdf", &ExportPdfCommand},
                                  {"mnuHelpTopic", [](MainHost& h) { FrmHelp::ShowFor(h); }}},
                                 parent);
        },
        &MakeThemeWing,
        &MakeKeyboardWing,
        [](MainHost& host, QSettings&, QObject* parent) -> CommandWing* { return new ChannelTools(host, parent); },
    };
    return wings;
}

// The link wing, typed, for the program's owners and tests.
Transfers* frmMain::transfers() const
{
    for (CommandWing* w : wings_)
        if (auto* t = qobject_cast<Transfers*>(w)) return t;
    return nullptr;
}

}  // namespace kt
