#include "gui/channels/frmCommChInfo.h"
#include "gui/AccessibleNames.h"
#include "gui/FitWindow.h"
#include "base/ListHelpers.h"
#include "gui/MainHost.h"
#include "gui/channels/ChannelFileCommands.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/ChannelTools.h"
#include "gui/channels/frmCommChInfoParts.h"
#include "rules/channels/ChannelEdit.h"
#include "rules/channels/ChannelGridModel.h"
#include "model/ChannelRules.h"
#include "model/EditStep.h"
#include "model/FreqRules.h"
#include "model/Workspace.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QCloseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace kt {

namespace {

QComboBox* NewCombo(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    c->setMinimumWidth(80);
    return c;
}

const char* DetailName(ChField f)
{
    switch (f) {
    case ChField::Busy: return "cboBusy";
    case ChField::Rep: return "cboRep";
    case ChField::RxType: return "cboRxType";
    case ChField::RxCtcss: return "cboRxCtcss";
    case ChField::RxDcs: return "cboRxDcs";
    case ChField::TxType: return "cboTxType";
    case ChField::TxCtcss: return "cboTxCtcss";
    case ChField::TxDcs: return "cboTxDcs";
    case ChField::Scan: return "cboScan";
    case ChField::Public: return "cboPublic";
    case ChField::Bot: return "cboBot";
    case ChField::Eot: return "cboEot";
    case ChField::Call: return "cboCall";
    case ChField::HiCut: return "cboHiCut";
    case ChField::NbAnl: return "cboNbAnl";
    case ChField::Echo: return "cboEcho";
    case ChField::Add10K: return "cboAdd10K";
    case ChField::Roger: return "cboRoger";
    case ChField::Mode: return "cboMode";
    }
    return "";
}

}  // namespace

Workspace& frmCommChInfo::ws() const { return host_.ws(); }
QString frmCommChInfo::T(const Bi& b) const { return ws().T(b); }

frmCommChInfo::frmCommChInfo(MainHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("frmCommChInfo");
    Trap("frmCommChInfo_Form_Load", [&] {
        wandToSave_ = false;

        // Band selector and check button.
        lblBand_ = new QLabel(this);
        cboBand_ = NewCombo(this, "cboBand");
        cboBand_->addItems(BandSelectorTexts());
        cmdCheckBand_ = new QPushButton(this);
        cmdCheckBand_->setObjectName("cmdCheckBand");
        auto* top = new QHBoxLayout;
        top->addWidget(lblBand_);
        top->addWidget(cboBand_);
        top->addWidget(cmdCheckBand_);
        top->addStretch();

        // Band frame: group selector, work group and the group panel.
        fraBand_ = new QGroupBox(this);
        fraBand_->setObjectName("fraBand");
        auto* bandForm = new QFormLayout;
        bandForm->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
        bandForm->setHorizontalSpacing(Px(100));
        lblGroup_ = new QLabel(fraBand_);
        cboGroup_ = NewCombo(fraBand_, "cboGroup");
        cboGroupAll_ = NewCombo(fraBand_, "cboGroupAll");
        cboGroupAll_->hide();
        lblWorkGroup_ = new QLabel(fraBand_);
        cboWorkGroup_ = NewCombo(fraBand_, "cboWorkGroup");
        bandForm->addRow(lblGroup_, cboGroup_);
        bandForm->addRow(lblWorkGroup_, cboWorkGroup_);

        fraGroup_ = new QGroupBox(fraBand_);
        fraGroup_->setObjectName("fraGroup");
        groupForm_ = new QFormLayout(fraGroup_);
        groupForm_->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
        groupForm_->setHorizontalSpacing(Px(100));
        cboEmgCh1_ = NewCombo(fraGroup_, "cboEmgCh1");
        cboEmgCh2_ = NewCombo(fraGroup_, "cboEmgCh2");
        cboEmgMode1_ = NewCombo(fraGroup_, "cboEmgMode1");
        cboEmgMode2_ = NewCombo(fraGroup_, "cboEmgMode2");
        cboDwAfm_ = NewCombo(fraGroup_, "cboDwAfm");
        cboMemCh_ = NewCombo(fraGroup_, "cboMemCh");
        cboGroupValid_ = NewCombo(fraGroup_, "cboGroupValid");
        txtGroupName_ = new QLineEdit(fraGroup_);
        txtGroupName_->setObjectName("txtGroupName");
        txtGroupName_->setMaxLength(4);
        for (QWidget* w : {static_cast<QWidget*>(cboEmgCh1_), static_cast<QWidget*>(cboEmgCh2_),
                           static_cast<QWidget*>(cboEmgMode1_), static_cast<QWidget*>(cboEmgMode2_),
                           static_cast<QWidget*>(cboDwAfm_), static_cast<QWidget*>(cboMemCh_),
                           static_cast<QWidget*>(cboGroupValid_), static_cast<QWidget*>(txtGroupName_)})
            groupForm_->addRow(new QLabel(fraGroup_), w);
        bandForm->addRow(fraGroup_);
        fraBand_->setLayout(bandForm);

        // The grid and its edit box.
        model_ = new ChannelGridModel(ws(), this);
        grid_ = new ChannelGridView(this);
        grid_->setObjectName("MSFlexGrid1");
        grid_->setModel(model_);
        grid_->verticalHeader()->hide();
        BuildWideView(top);

        // Detail panel.
        fraDetail_ = new QGroupBox(this);
        fraDetail_->setObjectName("fraDetail");
        {   // hidden for an empty row, its room kept so the window does not change width
            QSizePolicy sp = fraDetail_->sizePolicy();
            sp.setRetainSizeWhenHidden(true);
            fraDetail_->setSizePolicy(sp);
        }
        detailForm_ = new QFormLayout(fraDetail_);
        detailForm_->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
        detailForm_->setHorizontalSpacing(Px(100));
        for (ChField f : kAllChFields) {
            QComboBox* c = NewCombo(fraDetail_, DetailName(f));
            detail_[f] = c;
            detailForm_->addRow(new QLabel(fraDetail_), c);
        }

        // Buttons.
        cmdEdit_ = new QPushButton(this);
        cmdEdit_->setObjectName("cmdEdit");
        cmdEdit_->setEnabled(false);   // no action yet
        cmdHelp_ = new QPushButton(this);
        cmdHelp_->setObjectName("cmdHelp");
        cmdHelp_->setEnabled(false);
        cmdClose_ = new QPushButton(this);
        cmdClose_->setObjectName("cmdClose");
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(cmdEdit_);
        buttons->addWidget(cmdHelp_);
        buttons->addWidget(cmdClose_);

        auto* left = new QVBoxLayout;
        left->addWidget(fraBand_);
        left->addStretch();
        auto* middle = new QHBoxLayout;
        middle->addLayout(left);
        // The filter box stands above the grid.
        auto* gridColumn = new QVBoxLayout;
        gridColumn->addWidget(new ChannelFilterBar(ws(), grid_, model_, this));
        gridColumn->addWidget(grid_);
        middle->addLayout(gridColumn);
        auto* right = new QVBoxLayout;
        right->addWidget(fraDetail_);
        right->addStretch();
        middle->addLayout(right);
        middle->addStretch();
        // On a small or scaled screen the controls scroll; the buttons stay in view.
        auto* body = new QWidget(this);
        auto* bodyLayout = new QVBoxLayout(body);
        bodyLayout->setContentsMargins(0, 0, 0, 0);
        bodyLayout->addLayout(top);
        bodyLayout->addLayout(middle);
        auto* main = new QVBoxLayout(this);
        main->addWidget(ScrollingBody(body));
        main->addLayout(buttons);

        // Tab reads the window as the eye does: the top line, the group
        // panel, the filter and the grid, the channel's panel, the buttons.
        QList<QWidget*> order = {cboBand_, cmdCheckBand_, cmdAllFields_, cboGroup_, cboWorkGroup_};
        for (int i = 0; i < groupForm_->rowCount(); ++i)
            if (QLayoutItem* item = groupForm_->itemAt(i, QFormLayout::FieldRole)) order << item->widget();
        order << findChild<QLineEdit*>("txtFilter") << grid_;
        for (int i = 0; i < detailForm_->rowCount(); ++i)
            if (QLayoutItem* item = detailForm_->itemAt(i, QFormLayout::FieldRole)) order << item->widget();
        order << cmdEdit_ << cmdHelp_ << cmdClose_;
        order.removeAll(nullptr);
        TabInOrder(order);

        // Events.
        connect(cboBand_, &QComboBox::currentIndexChanged, this, &frmCommChInfo::OnBandChanged);
        connect(cboGroup_, &QComboBox::currentIndexChanged, this, &frmCommChInfo::OnGroupChanged);
        connect(cboWorkGroup_, &QComboBox::currentIndexChanged, this, [this](int) {
            if (!wandToSave_) return;
            const int g = GroupNumber(band_, cboWorkGroup_->currentText());
            if (g <= 0) return;
            EditStep step(ws(), Named(steptxt::WorkGroup, Plain(cboWorkGroup_->currentText())));
            (band_ == 0 ? ws().OptFeat().HfWorkGroup : ws().OptFeat().HamWorkGroup) = int16_t(g);
        });
        auto emgCh = [this](QComboBox* c, BandGroupI16& v, const QString& n) {
            connect(c, &QComboBox::currentIndexChanged, this, [this, c, &v, n](int) {
                if (!wandToSave_ || c->currentIndex() < 0) return;
                const StepName label = Named(chtxt::EmgCh);
                EditStep step(ws(), Joined({label.en + n, label.zh + n}, GroupStepDetail(band_, group_)));
                v[band_][group_] = int16_t(GetCHID(c->currentText().toLatin1()));
            });
        };
        emgCh(cboEmgCh1_, ws().OptFeat().EmgCh1, QStringLiteral("1"));
        emgCh(cboEmgCh2_, ws().OptFeat().EmgCh2, QStringLiteral("2"));
        auto emgMode = [this](QComboBox* c, BandGroupI16& v, const Bi& label) {
            connect(c, &QComboBox::currentIndexChanged, this, [this, &v, label](int i) {
                if (!wandToSave_ || i < 0) return;
                EditStep step(ws(), Named(label, GroupStepDetail(band_, group_)));
                v[band_][group_] = int16_t(i);
            });
        };
        emgMode(cboEmgMode1_, ws().OptFeat().EmgMode1, chtxt::EmgMode1);
        emgMode(cboEmgMode2_, ws().OptFeat().EmgMode2, chtxt::EmgMode2);
        connect(cboGroupValid_, &QComboBox::currentIndexChanged, this, &frmCommChInfo::OnGroupValidChanged);
        connect(txtGroupName_, &QLineEdit::textEdited, this, [this](const QString& t) {
            if (!wandToSave_) return;
            // The letters typed into one group's name are one step.
            EditStep step(ws(), Named(steptxt::GroupName, GroupStepDetail(band_, group_)),
                          stepkey::GroupName(band_, group_));
            StoreGroupName(ws(), band_, group_, t);
        });
        for (auto& [f, c] : detail_) {
            const ChField field = f;
            connect(c, &QComboBox::currentIndexChanged, this, [this, field](int) { OnDetailChanged(field); });
        }
        connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& cur, const QModelIndex&) {
                    if (cur.isValid() && cur.column() == 0) {   // the header column is never current
                        grid_->setCurrentIndex(model_->index(cur.row(), 1));
                        return;
                    }
                    ShowChIfoDataOther();
                });
        connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ShowChIfoDataOther(); });
        connect(grid_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            Trap("frmCommChInfo_MSFlexGrid1_EnterCell", [&] {
                setWindowTitle(T(chtxt::Window));
                if (index.isValid() && index.column() >= 1) {
                    grid_->setCurrentIndex(index);
                    EnterGridEdit();
                }
            });
        });
        // Every way out of the edit box stores it through SaveShowGridData.
        connect(grid_, &ChannelGridView::storeRequested, this, &frmCommChInfo::SaveShowGridData);
        connect(grid_->Delegate(), &FreqEditDelegate::enterPressed, this, &frmCommChInfo::OnEditEnter);
        connect(grid_->Delegate(), &FreqEditDelegate::escapePressed, this, &frmCommChInfo::CancelGridEdit);
        connect(grid_, &ChannelGridView::rightClicked, this, &frmCommChInfo::GridRightClick);
        grid_->keyHandler = [this](QKeyEvent* e) { return GridKey(e); };
        connect(model_, &ChannelGridModel::cellStored, this, &frmCommChInfo::OnCellStored);
        connect(cmdCheckBand_, &QPushButton::clicked, this, [this] { CheckRadioBandCommand(host_); });
        connect(cmdClose_, &QPushButton::clicked, this, [this] {
            SaveShowGridData();
            QTimer::singleShot(0, this, [this] { host_.CloseChild(Child::ChannelInfo); });
        });
        SubscribeToDocument();

        InitShowGrid();
        ChangShowByLanguage();
        {
            Filling f(wandToSave_);
            const int band = ws().WorkRecord.BandType == 1 ? 1 : 0;
            const QSignalBlocker block(cboBand_);
            cboBand_->setCurrentIndex(band);
            OnBandChanged(band);
        }
        if (wide_) ApplyWideView();
        editorOpen_ = true;
        wandToSave_ = true;
    });
}

frmCommChInfo::~frmCommChInfo()
{
    Trap("frmCommChInfo_Form_Unload", [&] {
        // What was typed and not yet left is still the user's entry.
        SaveShowGridData();
        editorOpen_ = false;
    });
}

int frmCommChInfo::NarrowGridWidth() const
{
    return Px(500) + Px(1520) + 20 + 2 * grid_->frameWidth() + grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
}

void frmCommChInfo::InitShowGrid()
{
    Trap("frmCommChInfo_InitShowGridError", [&] {
        grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
        grid_->horizontalHeader()->setFixedHeight(Px(510));
        grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);   // the frequency fills the grid
        grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid_->setColumnWidth(0, Px(500) + 10);
        const int rowH = grid_->verticalHeader()->defaultSectionSize();
        grid_->setFixedHeight(rowH * 16 + Px(510) + 2 * grid_->frameWidth() + 2);
        grid_->setFixedWidth(NarrowGridWidth());
        fraDetail_->hide();
    });
}

void frmCommChInfo::ChangShowByLanguage()
{
    Trap("frmCommChInfo_ChangShowByLanguage", [&] {
        Filling f(wandToSave_);
        const int lang = ws().CurrentLanguage;
        setWindowTitle(T(chtxt::Window));
        lblBand_->setText(T(chtxt::SelectBand));
        cmdCheckBand_->setText(T(chtxt::CheckBand));
        lblGroup_->setText(T(chtxt::Group));
        lblWorkGroup_->setText(T(chtxt::WorkGroup));
        model_->Retranslate();
        cmdEdit_->setText(T(chtxt::EditButton));
        cmdHelp_->setText(T(txt::Help));
        cmdClose_->setText(T(txt::Close));
        cmdAllFields_->setText(T(kAllFields));

        const QString emg = T(chtxt::EmgCh);
        const QString labels[] = {emg + "1", emg + "2", T(chtxt::EmgMode1), T(chtxt::EmgMode2),
                                  T(chtxt::DwAfm), T(chtxt::MemCh), T(chtxt::GroupValid),
                                  T(chtxt::GroupName)};
        for (int i = 0; i < groupForm_->rowCount(); ++i)
            if (auto* l = qobject_cast<QLabel*>(groupForm_->itemAt(i, QFormLayout::LabelRole)->widget()))
                l->setText(labels[i]);
        SetItems(cboEmgMode1_, EmgModeList());
        SetItems(cboEmgMode2_, EmgModeList());
        SetItems(cboDwAfm_, EmgModeList());
        QStringList mem;
        for (int i = 1; i <= 6; ++i) mem << QStringLiteral("M%1").arg(i);
        SetItems(cboMemCh_, mem);
        SetItems(cboGroupValid_, {T(chtxt::Off), T(chtxt::On)});

        const bool isMem = IsMemoryGroup(band_, group_);
        for (int i = 0; i < detailForm_->rowCount(); ++i) {
            const ChField fld = kAllChFields[i];
            if (auto* l = qobject_cast<QLabel*>(detailForm_->itemAt(i, QFormLayout::LabelRole)->widget()))
                l->setText(ChFieldLabel(fld, lang));
            SetItems(detail_[fld], ChFieldList(ws(), fld, isMem));
        }
        FitDetailWidth();
        if (fraDetail_->isVisibleTo(this)) ShowChIfoDataOther();
        ShowValidComboText();
    });
}

void frmCommChInfo::ReShowChInfoByLanguage()
{
    ChangShowByLanguage();
    SetGridData();
}

void frmCommChInfo::OnBandChanged(int index)
{
    if (index < 0) return;
    const bool byUser = wandToSave_;
    if (byUser) {
        EditStep step(ws(), Named(steptxt::Band, Plain(index == 1 ? QStringLiteral("HAM") : QStringLiteral("HF"))));
        ChangeBand(ws(), index);   // the title follows through the document's events
    }
    band_ = index;
    Filling f(wandToSave_);
    fraBand_->setTitle(cboBand_->itemText(index));
    SetItems(cboGroup_, GroupSelectorTexts(band_, ws().ExtendedHf));
    SetItems(cboGroupAll_, FullGroupTexts(band_));
    int cur = ws().WorkRecord.CurGroup[band_];
    if (cur <= 0) cur = 1;
    {
        const QSignalBlocker block(cboGroup_);
        SelectText(cboGroup_, GroupLetter(band_, cur));
    }
    ShowGroup(GroupNumber(band_, cboGroup_->currentText()));
    InitComboWorkGroup();
    if (byUser && editRow_ > 0) ws().WorkRecord.CurRow[band_][group_] = int16_t(editRow_);
}

void frmCommChInfo::OnGroupChanged(int)
{
    const int g = GroupNumber(band_, cboGroup_->currentText());
    if (g <= 0) return;
    if (wandToSave_) ws().WorkRecord.CurGroup[band_] = int16_t(g);
    Filling f(wandToSave_);
    ShowGroup(g);
}

void frmCommChInfo::ShowGroup(int group)
{
    SaveShowGridData();
    group_ = group > 0 ? group : 1;
    NewGroupVisit();
    fraGroup_->setTitle(T(chtxt::Group) + " -- " + GroupLetter(band_, group_));
    InitValidComboList();
    fraDetail_->hide();
    SetGridData();
    SelectRow(1);
    ShowChIfoDataOther();
}

void frmCommChInfo::SetGridData()
{
    Trap("frmCommChInfo_SetGridData", [&] {
        Filling f(wandToSave_);
        ShowGroupPanelRows();
        SetItems(cboGroupAll_, FullGroupTexts(band_));
        SelectText(cboGroupAll_, GroupLetter(band_, group_));
        txtGroupName_->setText(GroupNameText(ws(), band_, group_));
        if (!IsMemoryGroup(band_, group_)) {
            SelectIndex(cboGroupValid_, ws().OptFeat().GroupEnable[band_][group_]);
            ShowValidComboText();
        }
        FillModeCombo();

        model_->ShowGroup(band_, group_);

        const int cur = ws().WorkRecord.CurRow[band_][group_];
        int row = 1;
        if (cur >= 1 && FindSlot(ws(), band_, group_, cur) > 0) row = cur;
        else if (cur >= 1 && cur < 40) row = cur;
        if (row > model_->rowCount()) row = 1;
        SelectRow(row);
        editRow_ = row;
    });
}

void frmCommChInfo::SelectRow(int row)
{
    if (row < 1 || row > model_->rowCount()) return;
    grid_->setCurrentIndex(model_->index(row - 1, 1));
}

int frmCommChInfo::CurrentRow() const { return grid_->currentIndex().row() + 1; }

bool frmCommChInfo::GroupIsEditable() const { return GroupEditable(band_, group_); }

void frmCommChInfo::ShowRowFromModel(int row) { model_->ReloadRow(row); }

void frmCommChInfo::reShowGrid(int row)
{
    Trap("frmCommChInfo_reShowGrid", [&] {
        Filling f(wandToSave_);
        ShowRowFromModel(row);
        InitComboWorkGroup();
        if (row == CurrentRow()) ShowChIfoDataOther();
    });
}

void frmCommChInfo::ShowChIfoData()
{
    Trap("ShowChIfoData", [&] {
        const int row = CurrentRow();
        ShowRowFromModel(row);
        ShowChIfoDataOther();
    });
}

void frmCommChInfo::EnterGridEdit()
{
    Trap("frmCommChInfo_EnterGridEdit", [&] {
        const QModelIndex index = grid_->currentIndex();
        if (index.isValid() && index.column() >= 2 && !RefuseReadOnly(false)) {   // a field of the wide view
            if (index.flags() & Qt::ItemIsEditable) grid_->edit(index);
            return;
        }
        if (!index.isValid() || index.column() != 1 || RefuseReadOnly(false)) return;
        grid_->scrollTo(index);
        topRow_ = grid_->rowAt(0) + 1;
        editRow_ = index.row() + 1;
        editCol_ = index.column();
        grid_->edit(index);   // the box opens over the cell with its text, selected
    });
}

void frmCommChInfo::SaveShowGridData()
{
    if (saving_ || !grid_ || !grid_->Editing()) return;
    saving_ = true;
    Trap("frmCommChInfo_SaveShowGridData", [&] {
        const QModelIndex index = grid_->Delegate()->EditedIndex();
        const QString text = grid_->Delegate()->Editor()->text().trimmed();
        grid_->CloseEdit();
        if (!index.isValid() || index.row() + 1 != editRow_ || editCol_ != 1 || !GroupIsEditable()) return;
        model_->setData(index, text);   // stored by SaveFreqCell; OnCellStored shows the outcome
    });
    saving_ = false;
}

void frmCommChInfo::OnCellStored(int row, FreqCellResult r)
{
    if (r == FreqCellResult::Refused) ws().Ask(T(kLastChannel), Buttons::Ok, Icon::Warning);
    if (r == FreqCellResult::NoRoom) ws().Ask(T(kNoRoom), Buttons::Ok, Icon::Warning);
    if (r == FreqCellResult::Inserted || r == FreqCellResult::Deleted) {
        InitValidComboList();
        ShowValidComboText();
    }
    if (r == FreqCellResult::Deleted && ws().OptFeat().GroupEnable[band_][group_] == 0) {
        Filling f(wandToSave_);
        SelectIndex(cboGroupValid_, 0);
    }
    if (editorOpen_) reShowGrid(row);
}

// Enter stores the cell and moves on: an empty one to the next line, else to
// the next column (the next line, as the frequency is the last column).
void frmCommChInfo::OnEditEnter()
{
    Trap("FrmCommChInfo_Text1_KeyPress_Error", [&] {
        const bool empty = grid_->Delegate()->Editor() && grid_->Delegate()->Editor()->text().isEmpty();
        const int col = editCol_;
        SaveShowGridData();
        if (col == 1 && empty) GridNextLine();
        else if (col > 0 && col < model_->columnCount()) GridNextCol();
    });
}

// Escape leaves the box without storing.
void frmCommChInfo::CancelGridEdit()
{
    grid_->CloseEdit();
    grid_->setFocus();
}

void frmCommChInfo::StorePendingEdits() { SaveShowGridData(); }

void frmCommChInfo::closeEvent(QCloseEvent* e)
{
    SaveShowGridData();
    QWidget::closeEvent(e);
}

// Another window asks to see a channel: the band and group as if picked here.
void frmCommChInfo::ShowChannel(int band, int group, int channel)
{
    Trap("ShowChIfoData", [&] {
        if (band < 0 || band > 1) return;
        const QString letter = GroupLetter(band, group);
        if (GroupNumber(band, letter) != group) return;
        SaveShowGridData();
        if (band != band_) cboBand_->setCurrentIndex(band);
        if (cboGroup_->findText(letter) < 0) return;   // not offered in this layout
        if (group != group_) cboGroup_->setCurrentText(letter);
        SelectRow(channel);
        host_.ShowChild(Child::ChannelInfo);
        grid_->setFocus();
    });
}

// What other windows and the core change that this window shows.
void frmCommChInfo::SubscribeToDocument()
{
    DocumentEvents& ev = ws().Events();
    connect(&ev, &DocumentEvents::aboutToEncode, this, &frmCommChInfo::StorePendingEdits);
    connect(&ev, &DocumentEvents::dtmfCodesChanged, this, &frmCommChInfo::ShowDTMF);
    connect(&ev, &DocumentEvents::rogerBeepsChanged, this, &frmCommChInfo::ShowRB);
    // The enabled modes (options) fill this window's lists.
    connect(&ev, &DocumentEvents::optionsChanged, this, &frmCommChInfo::ReShowChInfoByLanguage);
    connect(&ev, &DocumentEvents::channelsChanged, this, [this](int, int) { SetGridData(); });
    connect(&ev, &DocumentEvents::channelRefsChanged, this, [this](int, int) {
        InitValidComboList();
        ShowValidComboText();
    });
    connect(&ev, &DocumentEvents::channelSelected, this, &frmCommChInfo::ShowChannel);
    connect(&ev, &DocumentEvents::documentRestored, this, &frmCommChInfo::ShowRestoredDocument);
}

// Undo or redo: the band in use, the lists that follow the options and the
// references, the group panel, the grid and the detail panel, all from the
// model; the row shown stays where it was.
void frmCommChInfo::ShowRestoredDocument()
{
    Trap("frmCommChInfo_ShowRestoredDocument", [&] {
        const int row = CurrentRow();
        const int band = ws().WorkRecord.BandType == 1 ? 1 : 0;
        const bool sameBand = band == band_;
        if (!sameBand) {
            Filling f(wandToSave_);
            const QSignalBlocker block(cboBand_);
            cboBand_->setCurrentIndex(band);
            OnBandChanged(band);
        }
        ChangShowByLanguage();
        InitValidComboList();
        ShowValidComboText();
        SetGridData();
        InitComboWorkGroup();
        if (sameBand) SelectRow(row);
        ShowChIfoDataOther();
    });
}

void frmCommChInfo::GridNextLine()
{
    Trap("frmCommChInfo_GridNextLine", [&] {
        const int next = grid_->currentIndex().row() + 1;
        grid_->setCurrentIndex(model_->index(next < model_->rowCount() ? next : 0, 1));
        grid_->setFocus();
    });
}

void frmCommChInfo::GridNextCol()
{
    Trap("rmCommChInfo_GridNextCol", [&] {
        const int col = grid_->currentIndex().column() + 1;
        if (col < model_->columnCount()) {
            grid_->setCurrentIndex(model_->index(grid_->currentIndex().row(), col));
            grid_->setFocus();
        } else {
            GridNextLine();
        }
    });
}

}  // namespace kt
