#include "BenchMain.h"

#ifdef KT_WITH_GUI
#include <QApplication>
#else
#include <QGuiApplication>
#endif

void kt::bench::EnsureApp()
{
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kt6383_bench";
    static char* argv[] = {name, nullptr};
#ifdef KT_WITH_GUI
    static QApplication app(argc, argv);
#else
    static QGuiApplication app(argc, argv);
#endif
}

#ifdef KT_WITH_GUI
#include "model/ChannelRules.h"
#include "model/FreqRules.h"
#include "rules/channels/ChannelEdit.h"
#include "shell/Shell.h"

namespace kt::bench {

void FillGroups(Workspace& ws, int bands)
{
    auto& o = ws.OptFeat();
    o.FmEnabled = o.AmEnabled = o.UsbEnabled = o.LsbEnabled = o.PaEnabled = o.CwEnabled = 1;
    for (int band = 0; band < bands; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            o.GroupEnable[band][g] = 1;
            for (int ch = 1; ch <= GroupSize(band, g); ++ch)
                if (FindSlot(ws, band, g, ch) == 0)
                    InsertChannel(ws, ch, band, g, QString("28.%1").arg(ch * 100 + g, 5, 10, QChar('0')));
        }
}

FullMain::FullMain(int bands)
{
    EnsureApp();
    StartOptions opt;
    opt.programDir = inst.bin();
    opt.root = inst.root();
    StartUp(ws, opt);
    ws.asker = &asker;
    store = std::make_unique<QSettings>(inst.path("user.ini"), QSettings::IniFormat);
    main = std::make_unique<frmMain>(ws, store.get());
    main->show();
    ChangeBand(ws, 0);
    FillGroups(ws, bands);
    for (Child c : {Child::OptFeatures, Child::Dtmf, Child::ToneTips}) main->ShowChild(c);
    main->CloseChild(Child::ChannelInfo);
    main->ShowChild(Child::ChannelInfo);
    main->History().Reset();
    QCoreApplication::processEvents();
}

void RunUndoRedo(benchmark::State& state, FullMain& f)
{
    bool undone = false;
    for (auto _ : state) {
        if (undone) f.History().Redo();
        else f.History().Undo();
        undone = !undone;
        QCoreApplication::processEvents();
    }
}

}  // namespace kt::bench
#endif
