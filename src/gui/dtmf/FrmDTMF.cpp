#include "gui/dtmf/FrmDTMF.h"
#include "gui/FitWindow.h"

#include "base/ListHelpers.h"
#include "gui/MainHost.h"
#include "model/EditStep.h"
#include "rules/dtmf/DtmfRules.h"
#include "model/Workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kt {

static_assert(kDtmfTimings == 4, "the window has four timing lists");

namespace {

namespace t {
constexpr Bi Encode{"Encode", "编码"};
constexpr Bi Decode{"Decode", "解码"};
constexpr Bi IdCode{"ID Code", "ID 码"};
constexpr Bi GroupCode{"Group Code", "组呼码"};
constexpr Bi AutoReset{"Auto Reset Timer[s]", "自动复位定时器[秒]"};
constexpr Bi CallAlert{"Call Alert", "呼叫告警"};
constexpr Bi Transpond{"Transpond", "自动应答"};
constexpr Bi ClearTranspond{"Clear to Transpond", "清除自动应答"};
constexpr Bi Stun{"Stun", "Stun"};
constexpr Bi StunCode{"Stun Code", "遥毙码"};
constexpr Bi StunType{"Stun Type", "遥毙类型"};
constexpr Bi Off{"Off", "关"};
constexpr Bi Normal{"Normal", "常规"};
constexpr Bi Continuous{"Continuous", "连续"};
constexpr Bi Alert{"Alert", "告警"};
constexpr Bi TxInhibit{"TX Inhibit", "发射抑制"};
constexpr Bi TxRxInhibit{"TX/RX Inhibit", "发射/接收 抑制"};
}  // namespace t

QLabel* RightLabel(QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setContentsMargins(0, 0, 4, 0);
    return l;
}

}  // namespace

FrmDTMF::FrmDTMF(MainHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("FrmDTMF");
    setAttribute(Qt::WA_DeleteOnClose, false);
    BuildControls();
    // Opening: lists, captions, then the stored values.
    FillDtmfLists();
    ApplyDtmfLanguage();
    connect(&ws().Events(), &DocumentEvents::documentRestored, this, [this] { ShowDtmfSettings(false); });
}

FrmDTMF::~FrmDTMF() = default;

Workspace& FrmDTMF::ws() { return host_.ws(); }

void FrmDTMF::BuildControls()
{
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("SSTab1");

    // Encoder settings.
    auto* encode = new QWidget;
    auto* eg = new QGridLayout(encode);
    eg->setHorizontalSpacing(0);
    const char* timingNames[kDtmfTimings] = {"cboSendTime", "cboFirstDigitTime", "cboFirstDigitDelay", "cboStarHashTime"};
    for (int i = 0; i < kDtmfTimings; ++i) {
        timingLabel_[i] = RightLabel(encode);
        timing_[i] = new QComboBox(encode);
        timing_[i]->setObjectName(timingNames[i]);
        timing_[i]->setMinimumWidth(110);
        eg->addWidget(timingLabel_[i], i, 0);
        eg->addWidget(timing_[i], i, 1);
        captions_.push_back({timingLabel_[i], DtmfTiming(i).caption});
        connect(timing_[i], &QComboBox::currentIndexChanged, this, [this, i] { StoreTiming(i); });
    }
    dcodeLabel_ = RightLabel(encode);
    dcode_ = new QComboBox(encode);
    dcode_->setObjectName("cboDCodeAssign");
    eg->addWidget(dcodeLabel_, 4, 0);
    eg->addWidget(dcode_, 4, 1);
    captions_.push_back({dcodeLabel_, dtmftxt::DCode});
    connect(dcode_, &QComboBox::currentIndexChanged, this, [this] { StoreDCode(); });
    display_ = new QCheckBox(encode);
    display_->setObjectName("chkDtmfDisplay");
    eg->addWidget(display_, 5, 1);
    captions_.push_back({display_, dtmftxt::Display});
    connect(display_, &QCheckBox::toggled, this, [this] { StoreDisplay(); });
    eg->setColumnStretch(2, 1);
    eg->setRowStretch(6, 1);

    // Decoder settings: shown for completeness, the radio takes none of them
    // from this program, so the page stays unavailable.
    decode_ = new QWidget;
    auto* dg = new QGridLayout(decode_);
    dg->setHorizontalSpacing(0);
    int row = 0;
    auto addRow = [&](const Bi& caption, QWidget* control) {
        QLabel* l = RightLabel(decode_);
        captions_.push_back({l, caption});
        l->setBuddy(control);
        dg->addWidget(l, row, 0);
        dg->addWidget(control, row, 1);
        ++row;
    };
    addRow(t::IdCode, new QLineEdit(decode_));
    addRow(t::GroupCode, new QLineEdit(decode_));
    auto* reset = new QComboBox(decode_);
    reset->setObjectName("cboAutoReset");
    addRow(t::AutoReset, reset);
    auto* alert = new QComboBox(decode_);
    alert->setObjectName("cboCallAlert");
    addRow(t::CallAlert, alert);
    auto* transpond = new QComboBox(decode_);
    transpond->setObjectName("cboTranspond");
    addRow(t::Transpond, transpond);
    auto* clearTr = new QCheckBox(decode_);
    captions_.push_back({clearTr, t::ClearTranspond});
    dg->addWidget(clearTr, row++, 1);
    auto* stun = new QGroupBox(decode_);
    captions_.push_back({stun, t::Stun});
    auto* sg = new QGridLayout(stun);
    sg->setHorizontalSpacing(0);
    QLabel* stunCode = RightLabel(stun);
    QLabel* stunType = RightLabel(stun);
    captions_.push_back({stunCode, t::StunCode});
    captions_.push_back({stunType, t::StunType});
    auto* stunTypeList = new QComboBox(stun);
    stunTypeList->setObjectName("cboStunType");
    auto* stunCodeEdit = new QLineEdit(stun);
    stunCode->setBuddy(stunCodeEdit);
    stunType->setBuddy(stunTypeList);
    sg->addWidget(stunCode, 0, 0);
    sg->addWidget(stunCodeEdit, 0, 1);
    sg->addWidget(stunType, 1, 0);
    sg->addWidget(stunTypeList, 1, 1);
    dg->addWidget(stun, row++, 0, 1, 2);
    dg->setColumnStretch(2, 1);
    dg->setRowStretch(row, 1);

    // Autodial code memories.
    auto* memory = new QWidget;
    auto* mv = new QVBoxLayout(memory);
    grid_ = new QTableWidget(kDtmfCodes, 2, memory);
    grid_->setObjectName("MSFlexGrid1");
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid_->setColumnWidth(0, 60);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setContextMenuPolicy(Qt::NoContextMenu);
    for (int r = 0; r < kDtmfCodes; ++r) {
        for (int c = 0; c < 2; ++c) {
            auto* item = new QTableWidgetItem(c == 0 ? QString::number(r + 1) : QString());
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid_->setItem(r, c, item);
        }
    }
    mv->addWidget(grid_);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (row >= 0) BeginCodeEdit(row + 1);
    });
    // A click on the row already current (row 1 right after opening) does not
    // change the current cell, but still opens the edit box.
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row + 1 != currentCodeRow_ || !edit_->isVisible()) BeginCodeEdit(row + 1);
    });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceEditBox(); });

    edit_ = new QLineEdit(grid_->viewport());
    edit_->setObjectName("Text1");
    edit_->setMaxLength(kDtmfCodeLength);
    edit_->setAlignment(Qt::AlignCenter);
    edit_->setContextMenuPolicy(Qt::NoContextMenu);
    edit_->setDragEnabled(false);
    edit_->setAcceptDrops(false);
    edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    // Second line of defence behind the key filter: nothing but the code
    // alphabet can end up in the box, whatever way the text arrives.
    edit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-D*#]{0,16}")), edit_));
    edit_->installEventFilter(this);
    edit_->hide();
    connect(edit_, &QLineEdit::textChanged, this, [this] {
        if (!showing_) CommitDtmfCell();
    });

    tabs_->addTab(encode, QString());
    tabs_->addTab(decode_, QString());
    tabs_->addTab(memory, QString());
    tabs_->setTabEnabled(1, false);
    decode_->setEnabled(false);

    close_ = new QPushButton(this);
    close_->setObjectName("cmdClose");
    connect(close_, &QPushButton::clicked, this, [this] {
        StorePendingEdits();
        // Unloaded after the click has been handled, not from inside it.
        QMetaObject::invokeMethod(this, [this] { host_.CloseChild(Child::Dtmf); }, Qt::QueuedConnection);
    });

    // On a small or scaled screen the pages scroll; Close stays in view.
    auto* v = new QVBoxLayout(this);
    v->addWidget(ScrollingBody(tabs_));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    v->addLayout(buttons);
    resize(420, 520);
}

void FrmDTMF::FillDtmfLists()
{
    for (int i = 0; i < kDtmfTimings; ++i) {
        const QSignalBlocker block(timing_[i]);
        timing_[i]->clear();
        timing_[i]->addItems(DtmfTiming(i).list().entries);
    }
}

void FrmDTMF::ApplyDtmfLanguage()
{
    const int lang = ws().CurrentLanguage;
    setWindowTitle(ws().T(dtmftxt::Caption));
    tabs_->setTabText(0, ws().T(t::Encode));
    tabs_->setTabText(1, ws().T(t::Decode));
    tabs_->setTabText(2, ws().T(dtmftxt::Autodial));
    grid_->setHorizontalHeaderLabels({ws().T(dtmftxt::No), ws().T(dtmftxt::Autodial)});
    for (auto& [w, text] : captions_) {
        const QString s = ws().T(text);
        if (auto* l = qobject_cast<QLabel*>(w)) l->setText(s);
        else if (auto* c = qobject_cast<QCheckBox*>(w)) c->setText(s);
        else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(s);
    }
    close_->setText(ws().T(txt::Close));

    // Lists whose entries are texts of the language.
    {
        const QSignalBlocker block(dcode_);
        dcode_->clear();
        dcode_->addItems(DtmfDCodeAssignList(lang));
    }
    auto refill = [&](const char* name, const QStringList& entries) {
        if (auto* c = decode_->findChild<QComboBox*>(name)) {
            c->clear();
            c->addItems(entries);
        }
    };
    QStringList reset{ws().T(t::Off)};
    for (int i = 1; i <= 15; ++i) reset << QString::number(i);
    refill("cboAutoReset", reset);
    refill("cboCallAlert", {ws().T(t::Off), ws().T(t::Normal), ws().T(t::Continuous)});
    refill("cboTranspond", {ws().T(t::Off), ws().T(t::Alert), ws().T(t::IdCode)});
    refill("cboStunType", {ws().T(t::TxInhibit), ws().T(t::TxRxInhibit)});

    ShowDtmfSettings();
}

void FrmDTMF::ShowDtmfSettings(bool writeBack)
{
    // What showing writes back (a timing no entry matched) is no step.
    const EditStep shown = EditStep::Absorbing(ws());
    OptFeatRec& o = ws().OptFeat();
    for (int i = 0; i < kDtmfTimings; ++i) {
        {
            const QSignalBlocker block(timing_[i]);
            const DtmfTimingSetting& s = DtmfTiming(i);
            timing_[i]->setCurrentIndex(DtmfTimingIndex(s.list(), o.*s.field));
        }
        // The value shown is the value kept: one that no entry matched
        // becomes the first entry's.
        if (writeBack) StoreTiming(i);
    }
    {
        const QSignalBlocker block(dcode_);
        const int index = o.DtmfDCodeAssign;
        dcode_->setCurrentIndex(index >= 0 && index < dcode_->count() ? index : 0);
    }
    if (writeBack) StoreDCode();
    {
        const QSignalBlocker block(display_);
        display_->setChecked(o.DtmfDisplay != 0);
    }
    if (writeBack) StoreDisplay();

    showing_ = true;
    for (int k = 1; k <= kDtmfCodes; ++k) {
        const QByteArray code = DtmfCodeText(ws(), k);
        grid_->item(k - 1, 1)->setText(QString::fromLatin1(code));
        // Written back cut and padded, as the grid shows it.
        if (writeBack) o.DtmfCode[k].set(code);
        if (k == currentCodeRow_ && edit_->isVisible()) edit_->setText(QString::fromLatin1(code));
    }
    showing_ = false;
}

void FrmDTMF::StoreTiming(int which)
{
    const DtmfTimingSetting& s = DtmfTiming(which);
    EditStep step(ws(), Named(s.caption));
    ws().OptFeat().*s.field = int16_t(DtmfTimingValue(s.list(), timing_[which]->currentIndex()));
}

void FrmDTMF::StoreDCode()
{
    EditStep step(ws(), Named(dtmftxt::DCode));
    ws().OptFeat().DtmfDCodeAssign = int16_t(std::max(dcode_->currentIndex(), 0));
}

void FrmDTMF::StoreDisplay()
{
    EditStep step(ws(), Named(dtmftxt::Display));
    ws().OptFeat().DtmfDisplay = display_->isChecked() ? 1 : 0;
}

void FrmDTMF::BeginCodeEdit(int row)
{
    if (row < 1 || row > kDtmfCodes) return;
    if (currentCodeRow_ != 0 && currentCodeRow_ != row && edit_->isVisible()) CommitDtmfCell();
    currentCodeRow_ = row;
    showing_ = true;
    edit_->setText(grid_->item(row - 1, 1)->text());
    showing_ = false;
    {
        const QSignalBlocker block(grid_);
        grid_->setCurrentCell(row - 1, 1);
    }
    PlaceEditBox();
    edit_->show();
    edit_->setFocus();
    edit_->end(false);
}

void FrmDTMF::PlaceEditBox()
{
    if (currentCodeRow_ < 1) return;
    // The box always edits the code, whichever cell of the row was entered.
    QRect r = grid_->visualItemRect(grid_->item(currentCodeRow_ - 1, 1));
    r.setWidth(std::max(r.width() - 3, 10));
    edit_->setGeometry(r);
}

void FrmDTMF::CommitDtmfCell()
{
    if (currentCodeRow_ < 1) return;
    const QString text = edit_->text();
    // The characters typed into one code are one step.
    EditStep step(ws(), Named(steptxt::DtmfCode, Plain(QString::number(currentCodeRow_))),
                  stepkey::DtmfCode(currentCodeRow_));
    grid_->item(currentCodeRow_ - 1, 1)->setText(text);
    StoreDtmfCode(ws(), currentCodeRow_, text.toLatin1());
    SetDTMFList();
}

void FrmDTMF::StorePendingEdits()
{
    if (currentCodeRow_ >= 1 && edit_->isVisible()) CommitDtmfCell();
}

void FrmDTMF::SetDTMFList()
{
    ClearEmptyDtmfReferences(ws());
    emit ws().Events().dtmfCodesChanged();
}

bool FrmDTMF::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            // Enter moves on to the next code.
            if (currentCodeRow_ < kDtmfCodes) BeginCodeEdit(currentCodeRow_ + 1);
            else focusNextChild();
            return true;
        }
        if (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) || k->matches(QKeySequence::Cut))
            return true;
        const QString text = k->text();
        if (text.isEmpty()) return false;        // arrows, Home, End and the like
        if (text.size() != 1) return true;
        const int ch = FilterDtmfKey(text.at(0).unicode());
        if (ch == 0) return true;
        if (ch < 32 || ch == 127) return false;  // Backspace, Delete, Tab
        if (ch != text.at(0).unicode()) {
            // a-d are typed as A-D.
            QKeyEvent upper(QEvent::KeyPress, k->key(), k->modifiers(), QString(QChar(ch)));
            QCoreApplication::sendEvent(edit_, &upper);
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // No middle-button paste and no right-button menu.
        return static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
    default:
        return false;
    }
}

}  // namespace kt
