#include "editors/options/FrmOptFeatures.h"
#include "app/MainHost.h"
#include "model/Workspace.h"

namespace kt {

FrmOptFeatures::FrmOptFeatures(MainHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("FrmOptFeatures");
    setWindowTitle(host_.ws().T({"Option Features", "可选功能"}));
    resize(600, 500);
}

FrmOptFeatures::~FrmOptFeatures() = default;

void FrmOptFeatures::ReShowData() {}
void FrmOptFeatures::ShowRB() {}
void FrmOptFeatures::ShowDTMF() {}

}  // namespace kt
