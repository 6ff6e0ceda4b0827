// The channel window's group panel and detail panel: filling them from the
// model and writing their changes back.
#include "base/ListHelpers.h"
#include "gui/channels/frmCommChInfoParts.h"
#include "model/ChannelRules.h"
#include "model/EditStep.h"
#include "rules/channels/ChannelRows.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace kt {

void frmCommChInfo::ShowGroupPanelRows()
{
    const bool mem = IsMemoryGroup(band_, group_);
    const bool vfo = IsVfoGroup(band_, group_);
    const bool lettered = !mem && !vfo;
    // Rows: EMG CH 1, EMG CH 2, EMG Mode 1, EMG Mode 2, DW AFM, MEM CH, Group Valid, Group Name.
    for (int i = 0; i < 7; ++i) groupForm_->setRowVisible(i, lettered && i != 5);
    groupForm_->setRowVisible(7, true);
    lblWorkGroup_->setVisible(!vfo);
    cboWorkGroup_->setVisible(!vfo);
}

void frmCommChInfo::FillModeCombo()
{
    SetItems(detail_[ChField::Mode], FillModeList(ws(), IsMemoryGroup(band_, group_)));
}

void frmCommChInfo::ShowChIfoDataOther()
{
    Trap("ShowChIfoDataOther", [&] {
        const int row = CurrentRow();
        if (const QList<int> held = HeldRows(ws(), band_, group_, SelectedRows()); held.size() > 1) {
            FillDetailMany(held);
            fraDetail_->show();
            return;
        }
        const int slot = row > 0 ? FindSlot(ws(), band_, group_, row) : 0;
        if (slot == 0 || ws().Channels(band_, slot, group_).Used != 1
            || !SlotShowsChannel(ws().Channels(band_, slot, group_), band_, group_)) {
            fraDetail_->hide();
            return;
        }
        FillDetail(ws().Channels(band_, slot, group_), row);
        fraDetail_->show();
    });
}

void frmCommChInfo::FillDetail(const ChannelRec& rec, int row)
{
    Filling f(wandToSave_);
    const bool isMem = IsMemoryGroup(band_, group_);
    fraDetail_->setTitle(T(chtxt::MoreInfo) + RowHeaderText(band_, group_, row));
    for (ChField fld : kAllChFields) SelectText(detail_[fld], ChFieldText(ws(), rec, fld, isMem));
    ShowToneRows(rec);
    ApplyPublicLock(rec);
}

void frmCommChInfo::ShowToneRows(const ChannelRec& rec)
{
    auto rowOf = [](ChField f) {
        int i = 0;
        for (ChField x : kAllChFields) {
            if (x == f) return i;
            ++i;
        }
        return -1;
    };
    detailForm_->setRowVisible(rowOf(ChField::RxCtcss), rec.RxToneType == 1);
    detailForm_->setRowVisible(rowOf(ChField::RxDcs), rec.RxToneType == 2);
    detailForm_->setRowVisible(rowOf(ChField::TxCtcss), rec.TxToneType == 1);
    detailForm_->setRowVisible(rowOf(ChField::TxDcs), rec.TxToneType == 2);
}

void frmCommChInfo::ApplyPublicLock(const ChannelRec& rec)
{
    for (auto& [f, c] : detail_)
        if (LockedByPublic(f)) c->setEnabled(rec.PublicCh != 1);
}

void frmCommChInfo::OnDetailChanged(ChField f)
{
    if (!wandToSave_) return;
    Trap("ShowChIfoDataOther", [&] {
        if (HeldRows(ws(), band_, group_, SelectedRows()).size() > 1) return SetFieldOnSelection(f);
        const int slot = FindSlot(ws(), band_, group_, CurrentRow());
        if (slot == 0) return;
        QComboBox* c = detail_[f];
        if (c->currentIndex() < 0) return;
        EditStep step(ws(), Joined({ChFieldLabel(f, English), ChFieldLabel(f, Chinese)},
                                   ChannelStepDetail(band_, group_, CurrentRow())));
        ChannelRec& rec = ws().Channels(band_, slot, group_);
        StoreChField(rec, f, c->currentText(), c->currentIndex());
        if (f == ChField::RxType || f == ChField::TxType) {
            Filling fill(wandToSave_);
            ShowToneRows(rec);
        }
        if (f == ChField::Public) ApplyPublicLock(rec);
    });
}

void frmCommChInfo::OnGroupValidChanged(int index)
{
    if (!wandToSave_ || index < 0) return;
    EditStep step(ws(), Named(steptxt::GroupValid, GroupStepDetail(band_, group_)));
    const GroupValidResult r = SetGroupValid(ws(), band_, group_, index == 1);
    Filling f(wandToSave_);
    if (r == GroupValidResult::Refused) {
        SelectIndex(cboGroupValid_, ws().OptFeat().GroupEnable[band_][group_]);
        return;
    }
    if (r == GroupValidResult::AcceptedWithDefaultChannel) {
        ShowRowFromModel(1);
        InitValidComboList();
        ShowValidComboText();
        ShowChIfoDataOther();
    }
    InitComboWorkGroup();
}

void frmCommChInfo::InitValidComboList()
{
    Filling f(wandToSave_);
    if (IsMemoryGroup(band_, group_)) return;
    const QStringList l = EmgChannelList(ws(), band_, group_);
    SetItems(cboEmgCh1_, l);
    SetItems(cboEmgCh2_, l);
}

void frmCommChInfo::ShowValidComboText()
{
    Filling f(wandToSave_);
    if (IsMemoryGroup(band_, group_) || IsVfoGroup(band_, group_)) return;
    const OptFeatRec& o = ws().OptFeat();
    SelectText(cboEmgCh1_, GetCHName(o.EmgCh1[band_][group_], group_));
    SelectText(cboEmgCh2_, GetCHName(o.EmgCh2[band_][group_], group_));
    SelectIndex(cboEmgMode1_, o.EmgMode1[band_][group_]);
    SelectIndex(cboEmgMode2_, o.EmgMode2[band_][group_]);
}

void frmCommChInfo::InitComboWorkGroup()
{
    Filling f(wandToSave_);
    SetItems(cboWorkGroup_, WorkGroupTexts(band_, ws().ExtendedHf));
    const int wg = band_ == 0 ? ws().OptFeat().HfWorkGroup : ws().OptFeat().HamWorkGroup;
    SelectText(cboWorkGroup_, GroupLetter(band_, wg));
}

void frmCommChInfo::RefillRefCombo(QComboBox* combo, const QStringList& items)
{
    const QString shown = combo->currentText();
    SetItems(combo, items);
    if (fraDetail_->isVisibleTo(this)) SelectText(combo, shown);
}

void frmCommChInfo::ShowDTMF()
{
    Filling f(wandToSave_);
    const QStringList l = DtmfRefList(ws());
    for (ChField fld : {ChField::Bot, ChField::Eot, ChField::Call}) RefillRefCombo(detail_[fld], l);
    if (fraDetail_->isVisibleTo(this)) ShowChIfoDataOther();
}

void frmCommChInfo::ShowRB()
{
    Filling f(wandToSave_);
    RefillRefCombo(detail_[ChField::Roger], RogerRefList(ws()));
    if (fraDetail_->isVisibleTo(this)) ShowChIfoDataOther();
}

// The detail lists (and their labels) share one width, that of the widest entry of any of them,
// so the window keeps its width whichever rows are shown.
void frmCommChInfo::FitDetailWidth()
{
    int w = 80;
    for (auto& [f, c] : detail_) {
        c->setMinimumWidth(0);
        w = std::max(w, c->sizeHint().width());
    }
    for (auto& [f, c] : detail_) c->setMinimumWidth(w);
    // The labels too: "CTC/DCS" comes and goes with the tone type.
    QList<QLabel*> labels;
    int lw = 0;
    for (int i = 0; i < detailForm_->rowCount(); ++i)
        if (auto* l = qobject_cast<QLabel*>(detailForm_->itemAt(i, QFormLayout::LabelRole)->widget())) {
            l->setMinimumWidth(0);
            lw = std::max(lw, l->sizeHint().width());
            labels << l;
        }
    for (QLabel* l : labels) l->setMinimumWidth(lw);
}

}  // namespace kt
