#include "editors/dtmf/FrmDTMF.h"
#include "app/MainHost.h"
#include "model/Workspace.h"

namespace kt {

FrmDTMF::FrmDTMF(MainHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("FrmDTMF");
    setWindowTitle(host_.ws().T({"DTMF", "DTMF(双音多频)"}));
    resize(600, 500);
}

FrmDTMF::~FrmDTMF() = default;

void FrmDTMF::StorePendingEdits() {}

}  // namespace kt
