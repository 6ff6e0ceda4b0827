#include "editors/rogerbeep/FrmToneTips.h"
#include "app/MainHost.h"
#include "model/Workspace.h"

namespace kt {

FrmToneTips::FrmToneTips(MainHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("FrmToneTips");
    setWindowTitle(host_.ws().T({"Roger Beep", "RB音"}));
    resize(600, 500);
}

FrmToneTips::~FrmToneTips() = default;

void FrmToneTips::StopPlayback() {}

}  // namespace kt
