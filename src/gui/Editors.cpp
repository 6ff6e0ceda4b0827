// The one place that knows every editor window: their registrations, and the
// typed views of MainHost::Editor() that tests and tools use.
#include "gui/EditorRegistry.h"
#include "gui/channels/frmCommChInfo.h"
#include "gui/dtmf/FrmDTMF.h"
#include "gui/options/FrmOptFeatures.h"
#include "gui/rogerbeep/FrmToneTips.h"
#include "shell/MainTexts.h"

namespace kt {

const EditorRegistry& StandardEditors()
{
    static const EditorRegistry registry = [] {
        EditorRegistry r;
        const Bi fromMenu{nullptr, nullptr};
        r.Add({Child::ChannelInfo, "N1", "mnuChannelInfo", fromMenu, QStyle::SP_FileDialogDetailedView,
               [](MainHost& h) -> QWidget* { return new frmCommChInfo(h); }});
        r.Add({Child::OptFeatures, "N2", "mnuOptFeature", fromMenu, QStyle::SP_FileDialogInfoView,
               [](MainHost& h) -> QWidget* { return new FrmOptFeatures(h); }});
        r.Add({Child::ToneTips, "N12", "mnuToneTips", mtxt::RogerBeepNode, QStyle::SP_MediaVolume,
               [](MainHost& h) -> QWidget* { return new FrmToneTips(h); }});
        r.Add({Child::Dtmf, "N5", "mnuDTMF", fromMenu, QStyle::SP_DialogHelpButton,
               [](MainHost& h) -> QWidget* { return new FrmDTMF(h); }});
        return r;
    }();
    return registry;
}

frmCommChInfo* MainHost::ChannelWindow() { return qobject_cast<frmCommChInfo*>(Editor(Child::ChannelInfo)); }
FrmOptFeatures* MainHost::OptionsWindow() { return qobject_cast<FrmOptFeatures*>(Editor(Child::OptFeatures)); }
FrmDTMF* MainHost::DtmfWindow() { return qobject_cast<FrmDTMF*>(Editor(Child::Dtmf)); }
FrmToneTips* MainHost::ToneTipsWindow() { return qobject_cast<FrmToneTips*>(Editor(Child::ToneTips)); }

}  // namespace kt
