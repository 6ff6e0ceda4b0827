#include "editors/channels/frmCommChInfo.h"
#include "app/MainHost.h"
#include "model/Workspace.h"

namespace kt {

frmCommChInfo::frmCommChInfo(MainHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("frmCommChInfo");
    setWindowTitle(host_.ws().T({"Channel Information", "信道信息"}));
    resize(600, 500);
}

frmCommChInfo::~frmCommChInfo() = default;

void frmCommChInfo::reShowGrid(int) {}
void frmCommChInfo::ReShowChInfoByLanguage() {}
void frmCommChInfo::InitValidComboList() {}
void frmCommChInfo::ShowValidComboText() {}
void frmCommChInfo::ShowDTMF() {}
void frmCommChInfo::ShowRB() {}
void frmCommChInfo::SetGridData() {}
void frmCommChInfo::ShowChIfoData() {}
void frmCommChInfo::ShowChIfoDataOther() {}
void frmCommChInfo::EnterGridEdit() {}
void frmCommChInfo::SaveShowGridData() {}
void frmCommChInfo::InitComboWorkGroup() {}
void frmCommChInfo::StorePendingEdits() {}
void frmCommChInfo::LECopy() {}
void frmCommChInfo::LECut() {}
void frmCommChInfo::LEPaste() {}
void frmCommChInfo::LEInsertPaste() {}
void frmCommChInfo::LEDelete() {}
bool frmCommChInfo::ClipboardFilled() const { return false; }

}  // namespace kt
