#include "gui/channels/frmCommChInfo.h"
#include "base/ListHelpers.h"
#include "gui/MainHost.h"
#include "rules/channels/ChannelEdit.h"
#include "model/ChannelRules.h"
#include "model/FreqRules.h"
#include "model/Workspace.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace kt {

namespace {

constexpr Bi kLastChannel{"The last channel of the band cannot be removed.", "频段的最后一个信道不能删除。"};
constexpr Bi kNoRoom{"Every slot of this group is taken; the channel was not added.",
                     "本组的存储位置已满，信道未添加。"};
constexpr Bi kClipboardEmpty{"Nothing to paste: copy or cut a channel first.",
                             "没有可粘贴的内容：请先复制或剪切一个信道。"};

// Twips to pixels at 96 dpi.
constexpr int Px(int twips) { return twips / 15; }

// While alive, list events do not write to the model.
class Filling {
public:
    explicit Filling(bool& flag) : flag_(flag), old_(flag) { flag_ = false; }
    ~Filling() { flag_ = old_; }
private:
    bool& flag_;
    bool old_;
};

void SetItems(QComboBox* c, const QStringList& items)
{
    const QSignalBlocker block(c);
    c->clear();
    c->addItems(items);
}

// Selects the entry with this text, else the first.
void SelectText(QComboBox* c, const QString& text)
{
    const int i = c->findText(text, Qt::MatchExactly);
    c->setCurrentIndex(i >= 0 ? i : (c->count() > 0 ? 0 : -1));
}

void SelectIndex(QComboBox* c, int index)
{
    c->setCurrentIndex(index >= 0 && index < c->count() ? index : (c->count() > 0 ? 0 : -1));
}

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

template <class F>
void frmCommChInfo::Trap(const char* name, F&& body)
{
    try {
        body();
    } catch (...) {
        ws().Ask(QString::fromLatin1(name), Buttons::Ok, Icon::None);
    }
}

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
        grid_ = new QTableWidget(this);
        grid_->setObjectName("MSFlexGrid1");
        grid_->setColumnCount(2);
        grid_->verticalHeader()->hide();
        grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid_->setSelectionMode(QAbstractItemView::SingleSelection);
        grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
        grid_->setContextMenuPolicy(Qt::NoContextMenu);
        grid_->setTabKeyNavigation(false);
        txtEdit_ = new QLineEdit(grid_->viewport());
        txtEdit_->setObjectName("Text1");
        txtEdit_->setMaxLength(8);
        txtEdit_->setContextMenuPolicy(Qt::NoContextMenu);
        txtEdit_->setDragEnabled(false);
        txtEdit_->setAcceptDrops(false);
        txtEdit_->setAttribute(Qt::WA_InputMethodEnabled, false);
        txtEdit_->setAlignment(Qt::AlignCenter);
        txtEdit_->hide();

        // Detail panel.
        fraDetail_ = new QGroupBox(this);
        fraDetail_->setObjectName("fraDetail");
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
        cmdHelp_ = new QPushButton(this);
        cmdHelp_->setObjectName("cmdHelp");
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
        middle->addWidget(grid_);
        auto* right = new QVBoxLayout;
        right->addWidget(fraDetail_);
        right->addStretch();
        middle->addLayout(right);
        middle->addStretch();
        auto* main = new QVBoxLayout(this);
        main->addLayout(top);
        main->addLayout(middle);
        main->addLayout(buttons);

        // Events.
        connect(cboBand_, &QComboBox::currentIndexChanged, this, &frmCommChInfo::OnBandChanged);
        connect(cboGroup_, &QComboBox::currentIndexChanged, this, &frmCommChInfo::OnGroupChanged);
        connect(cboWorkGroup_, &QComboBox::currentIndexChanged, this, [this](int) {
            if (!wandToSave_) return;
            const int g = GroupNumber(band_, cboWorkGroup_->currentText());
            if (g <= 0) return;
            (band_ == 0 ? ws().OptFeat().HfWorkGroup : ws().OptFeat().HamWorkGroup) = int16_t(g);
        });
        auto emgCh = [this](QComboBox* c, BandGroupI16& v) {
            connect(c, &QComboBox::currentIndexChanged, this, [this, c, &v](int) {
                if (wandToSave_ && c->currentIndex() >= 0)
                    v[band_][group_] = int16_t(GetCHID(c->currentText().toLatin1()));
            });
        };
        emgCh(cboEmgCh1_, ws().OptFeat().EmgCh1);
        emgCh(cboEmgCh2_, ws().OptFeat().EmgCh2);
        auto emgMode = [this](QComboBox* c, BandGroupI16& v) {
            connect(c, &QComboBox::currentIndexChanged, this, [this, &v](int i) {
                if (wandToSave_ && i >= 0) v[band_][group_] = int16_t(i);
            });
        };
        emgMode(cboEmgMode1_, ws().OptFeat().EmgMode1);
        emgMode(cboEmgMode2_, ws().OptFeat().EmgMode2);
        connect(cboGroupValid_, &QComboBox::currentIndexChanged, this, &frmCommChInfo::OnGroupValidChanged);
        connect(txtGroupName_, &QLineEdit::textEdited, this, [this](const QString& t) {
            if (wandToSave_) StoreGroupName(ws(), band_, group_, t);
        });
        for (auto& [f, c] : detail_) {
            const ChField field = f;
            connect(c, &QComboBox::currentIndexChanged, this, [this, field](int) { OnDetailChanged(field); });
        }
        connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
            if (row >= 0 && col == 0) {   // the header column is never current
                grid_->setCurrentCell(row, 1);
                return;
            }
            ShowChIfoDataOther();
        });
        connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) {
            Trap("frmCommChInfo_MSFlexGrid1_EnterCell", [&] {
                setWindowTitle(T(chtxt::Window));
                if (row >= 0 && col >= 1) {
                    grid_->setCurrentCell(row, col);
                    EnterGridEdit();
                }
            });
        });
        connect(cmdClose_, &QPushButton::clicked, this, [this] {
            SaveShowGridData();
            QTimer::singleShot(0, this, [this] { host_.CloseChild(Child::ChannelInfo); });
        });
        // The edit box sits over its cell: scrolling the grid stores and closes it.
        connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { SaveShowGridData(); });
        // Keys and clicks of the grid and the edit box, and the clicks and focus
        // changes elsewhere that must store an open edit first.
        qApp->installEventFilter(this);
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
        editorOpen_ = true;
        wandToSave_ = true;
    });
}

frmCommChInfo::~frmCommChInfo()
{
    Trap("frmCommChInfo_Form_Unload", [&] {
        editorOpen_ = false;
        qApp->removeEventFilter(this);
    });
}

void frmCommChInfo::InitShowGrid()
{
    Trap("frmCommChInfo_InitShowGridError", [&] {
        grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
        grid_->horizontalHeader()->setFixedHeight(Px(510));
        grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid_->setColumnWidth(0, Px(500) + 10);
        grid_->setColumnWidth(1, Px(1260) + 10);
        const int rowH = grid_->verticalHeader()->defaultSectionSize();
        grid_->setFixedHeight(rowH * 16 + Px(510) + 2 * grid_->frameWidth() + 2);
        grid_->setFixedWidth(Px(500) + Px(1520) + 20 + 2 * grid_->frameWidth() +
                             grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
        fraDetail_->hide();
        txtEdit_->hide();
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
        grid_->setHorizontalHeaderLabels({T(chtxt::ChNoHeader), T(chtxt::FreqHeader)});
        cmdEdit_->setText(T(chtxt::EditButton));
        cmdHelp_->setText(T(txt::Help));
        cmdClose_->setText(T(txt::Close));

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
    if (byUser) ChangeBand(ws(), index);   // the title follows through the document's events
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
    fraGroup_->setTitle(T(chtxt::Group) + " -- " + GroupLetter(band_, group_));
    InitValidComboList();
    fraDetail_->hide();
    SetGridData();
    SelectRow(1);
    ShowChIfoDataOther();
}

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

        FillGridCells();

        const int cur = ws().WorkRecord.CurRow[band_][group_];
        int row = 1;
        if (cur >= 1 && FindSlot(ws(), band_, group_, cur) > 0) row = cur;
        else if (cur >= 1 && cur < 40) row = cur;
        if (row > grid_->rowCount()) row = 1;
        SelectRow(row);
        editRow_ = row;
    });
}

void frmCommChInfo::FillGridCells()
{
    const int rows = GroupSize(band_, group_);
    grid_->setUpdatesEnabled(false);
    grid_->setRowCount(rows);
    grid_->setColumnWidth(1, IsMemoryGroup(band_, group_) || IsVfoGroup(band_, group_) ? Px(1520) + 10
                                                                                       : Px(1260) + 10);
    for (int r = 0; r < rows; ++r) {
        QTableWidgetItem* h = grid_->item(r, 0);
        if (!h) {
            h = new QTableWidgetItem;
            h->setFlags(Qt::ItemIsEnabled);
            h->setTextAlignment(Qt::AlignCenter);
            h->setBackground(palette().button());
            grid_->setItem(r, 0, h);
        }
        h->setText(RowHeaderText(band_, group_, r + 1));
        QTableWidgetItem* c = grid_->item(r, 1);
        if (!c) {
            c = new QTableWidgetItem;
            c->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            c->setTextAlignment(Qt::AlignCenter);
            grid_->setItem(r, 1, c);
        }
        c->setText(QString());
    }
    for (int s = 1; s <= std::min<int>(ws().ChannelCount(band_, group_), kMaxSlots); ++s) {
        const ChannelRec& rec = ws().Channels(band_, s, group_);
        if (rec.Used == 1 && rec.ChNo >= 1 && rec.ChNo <= rows)
            grid_->item(rec.ChNo - 1, 1)->setText(DigitsToFreqText(ws(), rec.Freq.bytes().trimmed()));
    }
    grid_->setUpdatesEnabled(true);
}

void frmCommChInfo::SelectRow(int row)
{
    if (row < 1 || row > grid_->rowCount()) return;
    grid_->setCurrentCell(row - 1, 1);
}

int frmCommChInfo::CurrentRow() const { return grid_->currentRow() + 1; }

bool frmCommChInfo::GroupIsEditable() const { return GroupEditable(band_, group_); }

void frmCommChInfo::ShowRowFromModel(int row)
{
    if (row < 1 || row > grid_->rowCount()) return;
    const int slot = FindSlot(ws(), band_, group_, row);
    QString text;
    if (slot > 0 && ws().Channels(band_, slot, group_).Used == 1)
        text = DigitsToFreqText(ws(), ws().Channels(band_, slot, group_).Freq.bytes().trimmed());
    grid_->item(row - 1, 1)->setText(text);
}

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

void frmCommChInfo::ShowChIfoDataOther()
{
    Trap("ShowChIfoDataOther", [&] {
        const int row = CurrentRow();
        const int slot = row > 0 ? FindSlot(ws(), band_, group_, row) : 0;
        if (slot == 0 || ws().Channels(band_, slot, group_).Used != 1) {
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
        const int slot = FindSlot(ws(), band_, group_, CurrentRow());
        if (slot == 0) return;
        QComboBox* c = detail_[f];
        if (c->currentIndex() < 0) return;
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

void frmCommChInfo::EnterGridEdit()
{
    Trap("frmCommChInfo_EnterGridEdit", [&] {
        const int row = grid_->currentRow();
        const int col = grid_->currentColumn();
        if (row < 0 || col != 1 || !GroupIsEditable()) return;
        topRow_ = grid_->rowAt(0) + 1;
        editRow_ = row + 1;
        editCol_ = col;
        QTableWidgetItem* item = grid_->item(row, col);
        grid_->scrollToItem(item);
        txtEdit_->setGeometry(grid_->visualItemRect(item));
        txtEdit_->setText(item->text());
        txtEdit_->show();
        txtEdit_->raise();
        txtEdit_->setFocus();
        if (!txtEdit_->text().isEmpty()) txtEdit_->selectAll();
    });
}

void frmCommChInfo::SaveShowGridData()
{
    if (saving_ || !txtEdit_ || !txtEdit_->isVisible()) return;
    saving_ = true;
    Trap("frmCommChInfo_SaveShowGridData", [&] {
        txtEdit_->hide();
        if (editRow_ <= 0 || editCol_ != 1 || !GroupIsEditable() || editRow_ > grid_->rowCount()) return;
        const QString text = txtEdit_->text().trimmed();
        grid_->item(editRow_ - 1, 1)->setText(IsNumericText(text) ? FormatFreq(NumberOr(text, 0)) : text);
        const FreqCellResult r = SaveFreqCell(ws(), band_, group_, editRow_, editCol_, text);
        if (r == FreqCellResult::Refused) ws().Ask(T(kLastChannel), Buttons::Ok, Icon::Warning);
        if (r == FreqCellResult::NoRoom) {
            ws().Ask(T(kNoRoom), Buttons::Ok, Icon::Warning);
            ShowRowFromModel(editRow_);
        }
        if (r == FreqCellResult::Inserted || r == FreqCellResult::Deleted) {
            InitValidComboList();
            ShowValidComboText();
        }
        if (r == FreqCellResult::Deleted && ws().OptFeat().GroupEnable[band_][group_] == 0) {
            Filling f(wandToSave_);
            SelectIndex(cboGroupValid_, 0);
        }
        if (editorOpen_) reShowGrid(editRow_);
    });
    saving_ = false;
}

void frmCommChInfo::StorePendingEdits() { SaveShowGridData(); }

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
}

void frmCommChInfo::GridNextLine()
{
    Trap("frmCommChInfo_GridNextLine", [&] {
        const int next = grid_->currentRow() + 1;
        grid_->setCurrentCell(next < grid_->rowCount() ? next : 0, 1);
        grid_->setFocus();
    });
}

void frmCommChInfo::GridNextCol()
{
    Trap("rmCommChInfo_GridNextCol", [&] {
        const int col = grid_->currentColumn() + 1;
        if (col < grid_->columnCount()) {
            grid_->setCurrentCell(grid_->currentRow(), col);
            grid_->setFocus();
        } else {
            GridNextLine();
        }
    });
}

// ---- line-edit commands -------------------------------------------------

bool frmCommChInfo::ClipboardFilled() const { return LineClipboardFilled(ws()); }

void frmCommChInfo::LECopy()
{
    SaveShowGridData();
    if (CurrentRow() > 0) LineCopy(ws(), band_, group_, CurrentRow());
}

void frmCommChInfo::AfterRemove(int row, int result)
{
    if (static_cast<RemoveResult>(result) == RemoveResult::LastChannel)
        ws().Ask(T(kLastChannel), Buttons::Ok, Icon::Warning);
    if (static_cast<RemoveResult>(result) != RemoveResult::Removed) return;
    reShowGrid(row);
    InitValidComboList();
    ShowValidComboText();
    Filling f(wandToSave_);
    SelectIndex(cboGroupValid_, ws().OptFeat().GroupEnable[band_][group_]);
    ShowChIfoDataOther();
}

void frmCommChInfo::LECut()
{
    SaveShowGridData();
    const int row = CurrentRow();
    if (row <= 0 || !GroupIsEditable()) return;
    AfterRemove(row, int(LineCut(ws(), band_, group_, row)));
}

void frmCommChInfo::LEDelete()
{
    SaveShowGridData();
    const int row = CurrentRow();
    if (row <= 0 || !GroupIsEditable()) return;
    AfterRemove(row, int(LineDelete(ws(), band_, group_, row)));
}

bool frmCommChInfo::PasteDone(PasteResult result)
{
    if (result == PasteResult::ClipboardEmpty) ws().Ask(T(kClipboardEmpty), Buttons::Ok, Icon::Information);
    if (result == PasteResult::NoRoom) ws().Ask(T(kNoRoom), Buttons::Ok, Icon::Warning);
    return result == PasteResult::Pasted;
}

void frmCommChInfo::LEPaste()
{
    SaveShowGridData();
    const int row = CurrentRow();
    if (row <= 0 || !GroupIsEditable()) return;
    if (!PasteDone(LinePaste(ws(), band_, group_, row))) return;
    reShowGrid(row);
    InitValidComboList();
    ShowValidComboText();
    ShowChIfoDataOther();
}

void frmCommChInfo::LEInsertPaste()
{
    SaveShowGridData();
    const int row = CurrentRow();
    if (row <= 0 || !GroupIsEditable()) return;
    if (!PasteDone(LineInsertPaste(ws(), band_, group_, row))) return;
    Filling f(wandToSave_);
    for (int r = row; r <= grid_->rowCount(); ++r) ShowRowFromModel(r);
    InitComboWorkGroup();
    InitValidComboList();
    ShowValidComboText();
    ShowChIfoDataOther();
}

// ---- keys and mouse -----------------------------------------------------

void frmCommChInfo::GridRightClick(const QPoint& pos, const QPoint& globalPos)
{
    if (!GroupIsEditable()) return;
    const int row = grid_->rowAt(pos.y());
    if (row < 0) return;
    SaveShowGridData();
    grid_->setFocus();
    grid_->setCurrentCell(row, 1);
    host_.PopupListEditMenu(globalPos);
}

bool frmCommChInfo::GridKey(QKeyEvent* e)
{
    const bool editable = GroupIsEditable() && CurrentRow() > 0;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_F2) {
        EnterGridEdit();
        return true;
    }
    if (e->matches(QKeySequence::Copy)) {
        LECopy();
        return true;
    }
    if (e->matches(QKeySequence::Cut)) {
        if (editable) LECut();
        return true;
    }
    if (e->matches(QKeySequence::Paste)) {
        if (editable) LEPaste();
        return true;
    }
    if (e->modifiers() == Qt::NoModifier && e->key() == Qt::Key_Insert) {
        if (editable) LEInsertPaste();
        return true;
    }
    if (e->modifiers() == Qt::NoModifier && e->key() == Qt::Key_Delete) {
        if (editable) LEDelete();
        return true;
    }
    // Typing a digit starts an edit with that digit, as in a spreadsheet.
    const QString t = e->text();
    if (editable && t.size() == 1 && (t[0].isDigit() || t[0] == '.') && t[0].unicode() < 128 &&
        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        EnterGridEdit();
        if (txtEdit_->isVisible()) txtEdit_->setText(t);
        return true;
    }
    return false;
}

bool frmCommChInfo::EditKey(QKeyEvent* e)
{
    bool eaten = false;
    Trap("FrmCommChInfo_Text1_KeyPress_Error", [&] {
        if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)) {
            eaten = true;
            return;
        }
        if ((e->modifiers() & Qt::ControlModifier) &&
            (e->key() == Qt::Key_C || e->key() == Qt::Key_V || e->key() == Qt::Key_X)) {
            eaten = true;
            return;
        }
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            eaten = true;
            const bool empty = txtEdit_->text().isEmpty();
            const int col = editCol_;
            SaveShowGridData();
            if (col == 1 && empty) GridNextLine();
            else if (col > 0 && col < grid_->columnCount()) GridNextCol();
            return;
        }
        if (e->key() == Qt::Key_Escape) {
            eaten = true;
            txtEdit_->hide();
            grid_->setFocus();
            return;
        }
        const QString t = e->text();
        if (t.isEmpty()) return;
        for (QChar ch : t) {
            const ushort code = ch.unicode();
            if (code > 127) { eaten = true; return; }
            if (code > 31 && code != 127 && !(ch.isDigit() || ch == '.')) { eaten = true; return; }
        }
    });
    return eaten;
}

bool frmCommChInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (!grid_) return QWidget::eventFilter(watched, event);
    // A click anywhere else (a tool bar button too, which takes no focus) stores the edit first.
    if (event->type() == QEvent::MouseButtonPress && watched != txtEdit_ && txtEdit_->isVisible() &&
        watched->isWidgetType())
        SaveShowGridData();
    if (watched == txtEdit_) {
        switch (event->type()) {
        case QEvent::KeyPress: return EditKey(static_cast<QKeyEvent*>(event));
        case QEvent::ShortcutOverride: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Escape) {
                event->accept();
                return true;
            }
            // A main-window shortcut (Save, Write, ...) first stores what was typed.
            const bool ctrl = k->modifiers() & Qt::ControlModifier;
            const bool alt = k->modifiers() & Qt::AltModifier;
            static const int editingKeys[] = {Qt::Key_A, Qt::Key_Z, Qt::Key_Y, Qt::Key_C, Qt::Key_V,
                                              Qt::Key_X, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                                              Qt::Key_End, Qt::Key_Backspace, Qt::Key_Delete,
                                              Qt::Key_Insert, Qt::Key_Control, Qt::Key_Shift};
            if (alt || (ctrl && std::find(std::begin(editingKeys), std::end(editingKeys), k->key()) ==
                                    std::end(editingKeys)))
                SaveShowGridData();
            return false;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(event);
            return m->button() == Qt::RightButton || m->button() == Qt::MiddleButton;
        }
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::DragEnter:
        case QEvent::InputMethod: return true;
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) SaveShowGridData();
            return false;
        default: return false;
        }
    }
    if (watched == grid_ && event->type() == QEvent::KeyPress) return GridKey(static_cast<QKeyEvent*>(event));
    if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* m = static_cast<QMouseEvent*>(event);
        if (m->button() == Qt::RightButton) {
            GridRightClick(m->position().toPoint(), m->globalPosition().toPoint());
            return true;
        }
    }
    // Another control of the program getting the focus stores the edit.
    if (event->type() == QEvent::FocusIn && watched != txtEdit_ && watched->isWidgetType() &&
        txtEdit_->isVisible())
        SaveShowGridData();
    return QWidget::eventFilter(watched, event);
}

}  // namespace kt
