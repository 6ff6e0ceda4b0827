#include "gui/options/FrmOptFeatures.h"
#include "gui/FitWindow.h"

#include "base/ListHelpers.h"
#include "gui/MainHost.h"
#include "model/EditStep.h"
#include "rules/options/OptionTables.h"
#include "model/Workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <algorithm>

namespace kt {

using namespace opt;

namespace {

// Positions are kept in twips; 15 twips make one pixel at 96 dpi.
int Px(int twips) { return (twips + 7) / 15; }

constexpr int kRow = 360;          // one row every 360 twips
constexpr int kTop = 240;
constexpr int kGap = 120;          // the gaps between blocks of a column
constexpr int kListHeight = 330;

constexpr int kLeftX = 2280, kLeftW = 2655;
constexpr int kMidX = 6600, kMidW = 1575;
constexpr int kCheckX = 5040;
constexpr int kRightX = 10680, kRightW = 1935;
constexpr int kPublicX = 9240, kPublicY = 5040;
constexpr int kPublicListX = kRightX - kPublicX;   // lists in the frame line up with the right column
constexpr int kNumberW = 1000;
constexpr int kLabelGap = 100;     // a label ends 100 twips left of its control

// A row of a column: a list (or a number box) by id, or a gap.
constexpr int kGapMark = -1;
const int kLeftColumn[] = {id::Tot, id::Indic, id::Mic, id::Asq, kGapMark, id::Nog, id::Scm,
                           kGapMark, id::Fin, id::TxOffset, id::Vox, id::VoxLevel, id::VoxDelay,
                           id::VoxSpk, id::MicType, id::RxNr, id::TxNr, id::Emg, id::VolPath,
                           id::EchoVol, id::EchoTime, id::AmNpc, id::CwFreq, id::CwBeep, id::CwRx,
                           id::CwBkin, id::CwOffset};
const int kMiddleColumn[] = {id::Beep, id::FmDeviation, id::SsbTone, id::PfKey, id::FinRange,
                             id::Agc, kGapMark, id::TxColor, id::Color};
const int kRightColumn[] = {id::HfDwBand, id::HfDwChan, id::HfDwMode, id::HamDwBand,
                            id::HamDwChan, id::HamDwMode, id::HfPublic, id::HamPublic, id::Vfo,
                            id::VfoStep, id::Dim};
const int kPublicColumn[] = {id::PubBot, id::PubEot, id::PubCall, id::PubHiCut, id::PubNbAnl,
                             id::PubEcho, id::Pub10K, id::Roger, id::Mode};
// Check boxes and number boxes under the middle column; in the frame the
// modes stand FM, AM, LSB, USB, PA, CW from the top.
const int kUnderMiddle[] = {id::VolDisplay, id::SqlDisplay, id::PowDisplay, id::RfgDisplay,
                            id::SwrProtect, id::SwrMax, id::BattProtect, id::BattMin,
                            id::BattMax};
const int kModeFrame[] = {id::FmEnable, id::AmEnable, id::LsbEnable, id::UsbEnable,
                          id::PaEnable, id::CwEnable};

const Bi kCaption{"Optional Features", "可选功能"};
const Bi kModeEnable{"Mode Enable", "Mode Enable"};
const Bi kPublic{"Public", "公共信道设置"};

QString ObjectNameOf(int id)
{
    if (id >= 300) return QStringLiteral("Text1_%1").arg(id - 300);
    if (id >= 200) return QStringLiteral("Combo2_%1").arg(id - 200);
    if (id >= 100) return QStringLiteral("Check1_%1").arg(id - 100);
    return QStringLiteral("Combo1_%1").arg(id);
}

}  // namespace

FrmOptFeatures::FrmOptFeatures(MainHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setObjectName("FrmOptFeatures");
    BuildPage();
    // Loading: fill, caption, show, and only then accept changes.
    loaded_ = false;
    FillOptionLists();
    ApplyOptionLanguage();
    ShowOptions();
    loaded_ = true;
    // Clicks elsewhere (a tool bar button takes no focus) store a typed number first.
    qApp->installEventFilter(this);

    DocumentEvents& ev = host_.ws().Events();
    connect(&ev, &DocumentEvents::dtmfCodesChanged, this, &FrmOptFeatures::ShowDTMF);
    connect(&ev, &DocumentEvents::rogerBeepsChanged, this, &FrmOptFeatures::ShowRB);
    // A number still being typed reaches the model before it is used whole:
    // taking the focus away ends the edit as a click elsewhere would.
    connect(&ev, &DocumentEvents::documentRestored, this, &FrmOptFeatures::ShowRestoredDocument);
    connect(&ev, &DocumentEvents::aboutToEncode, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        if (focus && isAncestorOf(focus)) focus->clearFocus();
    });
}

FrmOptFeatures::~FrmOptFeatures()
{
    qApp->removeEventFilter(this);
    // A number typed and not yet left is still the user's choice.
    StorePendingEdits();
    loaded_ = false;
    for (QLineEdit* e : numbers_) e->removeEventFilter(this);
}

// ---- building the page ---------------------------------------------------

void FrmOptFeatures::BuildPage()
{
    auto makeList = [this](int id, QWidget* parent, int x, int y, int w) {
        auto* c = new QComboBox(parent);
        c->setObjectName(ObjectNameOf(id));
        c->setEditable(false);
        c->setGeometry(Px(x), Px(y), Px(w), Px(kListHeight));
        c->setMaxVisibleItems(16);
        connect(c, &QComboBox::activated, this, [this, id](int) {
            if (loaded_) SaveOptFeat(id);
        });
        lists_[id] = c;
        auto* l = new QLabel(parent);
        l->setObjectName(QStringLiteral("Label_%1").arg(ObjectNameOf(id)));
        labels_[id] = l;
    };
    auto makeNumber = [this](int id, QWidget* parent, int x, int y, int w) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(ObjectNameOf(id));
        e->setGeometry(Px(x), Px(y), Px(w), Px(kListHeight));
        e->setContextMenuPolicy(Qt::NoContextMenu);   // no paste through the back door
        e->setAttribute(Qt::WA_InputMethodEnabled, false);
        e->setDragEnabled(false);
        e->setAcceptDrops(false);
        e->installEventFilter(this);
        connect(e, &QLineEdit::returnPressed, this, [this, id] {
            if (loaded_) SaveOptFeat(id);
        });
        numbers_[id] = e;
        auto* l = new QLabel(parent);
        l->setObjectName(QStringLiteral("Label_%1").arg(ObjectNameOf(id)));
        labels_[id] = l;
    };
    auto makeCheck = [this](int id, QWidget* parent, int x, int y) {
        auto* b = new QCheckBox(parent);
        b->setObjectName(ObjectNameOf(id));
        b->move(Px(x), Px(y));
        connect(b, &QCheckBox::clicked, this, [this, id](bool) {
            if (loaded_) SaveOptFeat(id);
        });
        checks_[id] = b;
    };

    // The controls stand where they always have on a page of their own,
    // which scrolls on a small or scaled screen while Close stays in view.
    auto* page = new QWidget(this);

    // Left column.
    int y = kTop;
    for (int id : kLeftColumn) {
        if (id == kGapMark) { y += kGap; continue; }
        if (id == id::TxOffset) {
            makeNumber(id, page, kLeftX, y, 1300);
            mhz_ = new QLabel(page);
            mhz_->setObjectName("LabelMHz");
            mhz_->move(Px(kLeftX + 1300 + kLabelGap), Px(y + 40));
        } else {
            makeList(id, page, kLeftX, y, kLeftW);
        }
        y += kRow;
    }
    const int leftBottom = y;

    // Middle column, then the boxes under it.
    y = kTop;
    for (int id : kMiddleColumn) {
        if (id == kGapMark) { y += kGap; continue; }
        makeList(id, page, kMidX, y, kMidW);
        y += kRow;
    }
    y += kGap;
    for (int id : kUnderMiddle) {
        if (FindNumber(id)) makeNumber(id, page, kMidX, y, kNumberW);
        else makeCheck(id, page, kCheckX, y);
        y += kRow;
    }
    modeFrame_ = new QGroupBox(page);
    modeFrame_->setObjectName("FrameModeEnable");
    const int frameRows = static_cast<int>(std::size(kModeFrame));
    modeFrame_->setGeometry(Px(kCheckX), Px(y), Px(kMidX + kMidW - kCheckX),
                            Px(300 + frameRows * 300 + 120));
    int fy = 300;
    for (int id : kModeFrame) {
        makeCheck(id, modeFrame_, 240, fy);
        fy += 300;
    }
    const int middleBottom = y + modeFrame_->height() * 15;

    // Right column and the public channel frame.
    y = kTop;
    for (int id : kRightColumn) {
        makeList(id, page, kRightX, y, kRightW);
        y += kRow;
    }
    publicFrame_ = new QGroupBox(page);
    publicFrame_->setObjectName("FramePublic");
    const int publicRows = static_cast<int>(std::size(kPublicColumn));
    const int publicH = 300 + publicRows * kRow + 120;
    publicFrame_->setGeometry(Px(kPublicX), Px(kPublicY), Px(kPublicListX + kRightW + 120),
                              Px(publicH));
    fy = 300;
    for (int id : kPublicColumn) {
        makeList(id, publicFrame_, kPublicListX, fy, kRightW);
        fy += kRow;
    }

    close_ = new QPushButton(this);
    close_->setObjectName("cmdClose");
    close_->setFixedSize(Px(1300), Px(400));
    const int closeY = std::max(kPublicY + publicH + 240, middleBottom + 120);
    connect(close_, &QPushButton::clicked, this, [this] {
        // Unload after the click has been handled.
        QMetaObject::invokeMethod(
            this, [this] { host_.CloseChild(Child::OptFeatures); }, Qt::QueuedConnection);
    });

    const int height = std::max(leftBottom, closeY);
    const int width = kPublicX + kPublicListX + kRightW + 120 + 240;
    page->setFixedSize(Px(width), Px(height));
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(close_);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, Px(240), Px(240));
    window->addWidget(ScrollingBody(page, false));
    window->addLayout(closeRow);
}

// ---- filling and showing --------------------------------------------------

QStringList FrmOptFeatures::Items(int id) const
{
    QStringList l;
    const QComboBox* c = lists_.value(id);
    if (!c) return l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
}

namespace {
void Refill(QComboBox* c, const QStringList& entries)
{
    c->clear();
    c->addItems(entries);
    c->setCurrentIndex(-1);   // nothing shown until the model is
}
}  // namespace

void FrmOptFeatures::FillOptionLists()
{
    const Workspace& ws = host_.ws();
    for (const ListSetting& s : ListSettings()) {
        if (s.id == id::Roger || s.id == id::Mode || s.id == id::PubBot || s.id == id::PubEot ||
            s.id == id::PubCall)
            continue;
        Refill(lists_[s.id], EntriesOf(s.id, ws.CurrentLanguage, ws));
    }
    FillRbLists();
    FillDtmfLists();
    FillModeList();
}

void FrmOptFeatures::FillRbLists()
{
    const Workspace& ws = host_.ws();
    Refill(lists_[id::Roger], EntriesOf(id::Roger, ws.CurrentLanguage, ws));
}

void FrmOptFeatures::FillDtmfLists()
{
    const Workspace& ws = host_.ws();
    for (int id : {id::PubBot, id::PubEot, id::PubCall})
        Refill(lists_[id], EntriesOf(id, ws.CurrentLanguage, ws));
}

void FrmOptFeatures::FillModeList()
{
    const Workspace& ws = host_.ws();
    Refill(lists_[id::Mode], EntriesOf(id::Mode, ws.CurrentLanguage, ws));
}

void FrmOptFeatures::AlignLabel(QLabel* label, QWidget* control)
{
    label->adjustSize();
    const int x = control->x() - label->width() - Px(kLabelGap);
    const int y = control->y() + (control->height() - label->height()) / 2;
    label->move(x, y);
}

void FrmOptFeatures::ApplyOptionLanguage()
{
    const Workspace& ws = host_.ws();
    setWindowTitle(ws.T(kCaption));
    for (const ListSetting& s : ListSettings()) {
        labels_[s.id]->setText(ws.T(s.label));
        AlignLabel(labels_[s.id], lists_[s.id]);
    }
    for (const NumberSetting& s : NumberSettings()) {
        labels_[s.id]->setText(QString::fromLatin1(s.label));
        AlignLabel(labels_[s.id], numbers_[s.id]);
    }
    for (const CheckSetting& s : CheckSettings()) {
        checks_[s.id]->setText(ws.T(s.caption));
        checks_[s.id]->adjustSize();
    }
    mhz_->setText(QStringLiteral("MHz"));
    mhz_->adjustSize();
    modeFrame_->setTitle(ws.T(kModeEnable));
    publicFrame_->setTitle(ws.T(kPublic));
    close_->setText(ws.T(txt::Close));
}

void FrmOptFeatures::ShowListText(int id, const QString& text)
{
    QComboBox* c = lists_.value(id);
    if (!c) return;
    const int old = c->currentIndex();
    const int idx = text.isEmpty() ? -1 : c->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    c->setCurrentIndex(idx);
    // Once the page is loaded a list that changes what it shows stores it,
    // as if the user had chosen the entry.
    if (loaded_ && idx >= 0 && idx != old) SaveOptFeat(id);
}

void FrmOptFeatures::ShowOptions()
{
    const DataRecord& rec = host_.ws().WorkRecord;
    for (const ListSetting& s : ListSettings())
        ShowListText(s.id, ShownText(s, Items(s.id), GetField(rec, s.field)));
    for (const NumberSetting& s : NumberSettings())
        numbers_[s.id]->setText(NumberText(s, GetField(rec, s.field)));
    for (const CheckSetting& s : CheckSettings()) {
        QCheckBox* b = checks_[s.id];
        const bool on = GetField(rec, s.field) != 0;
        if (b->isChecked() == on) continue;
        b->setChecked(on);
        if (loaded_) SaveOptFeat(s.id);
    }
    SetVoxDependents(lists_[id::Vox]->currentIndex() > 0);
}

void FrmOptFeatures::SetVoxDependents(bool on)
{
    lists_[id::VoxLevel]->setEnabled(on);
    lists_[id::VoxDelay]->setEnabled(on);
}

// ---- public operations ------------------------------------------------------

void FrmOptFeatures::ReShowData()
{
    FillOptionLists();
    ShowOptions();
}

void FrmOptFeatures::ShowRestoredDocument()
{
    // Shown as when the window opens: what the lists show is not stored back.
    loaded_ = false;
    FillOptionLists();
    ShowOptions();
    loaded_ = true;
}

void FrmOptFeatures::ShowRB()
{
    FillRbLists();
    const ListSetting* s = FindList(id::Roger);
    ShowListText(id::Roger, ShownText(*s, Items(id::Roger), host_.ws().WorkRecord.ComChanRb));
}

void FrmOptFeatures::ShowDTMF()
{
    const Workspace& ws = host_.ws();
    for (int id : {id::PubBot, id::PubEot, id::PubCall}) {
        QComboBox* c = lists_[id];
        const QString shown = c->currentText();
        Refill(c, EntriesOf(id, ws.CurrentLanguage, ws));
        ShowListText(id, ListTextMatching(Items(id), shown));
    }
}

namespace {
// "Beep Level", "Public BOT": what the step of a control is called.
StepName SettingStepName(int id)
{
    StepName name;
    if (const ListSetting* s = FindList(id)) name = Named(s->label);
    else if (const CheckSetting* c = FindCheck(id)) name = Named(c->caption);
    else if (const NumberSetting* n = FindNumber(id)) name = Plain(QString::fromLatin1(n->label));
    name.en.remove('&');
    name.zh.remove('&');
    return id >= 200 && id < 300 ? Joined(Named(kPublic), name) : name;
}
}  // namespace

void FrmOptFeatures::SaveOptFeat(int id)
{
    EditStep step(host_.ws(), SettingStepName(id));
    if (FindList(id)) SaveList(id);
    else if (FindCheck(id)) SaveCheck(id);
    else if (FindNumber(id)) SaveNumber(id);
}

void FrmOptFeatures::StorePendingEdits()
{
    if (!loaded_) return;
    for (auto it = numbers_.begin(); it != numbers_.end(); ++it)
        if (it.value()->isModified()) SaveOptFeat(it.key());
}

// ---- storing ------------------------------------------------------------------

void FrmOptFeatures::SaveList(int id)
{
    const ListSetting& s = *FindList(id);
    QComboBox* c = lists_[id];
    if (c->currentIndex() < 0) return;   // an empty list has nothing to store
    const int value = StoredValueOf(s, Items(id), c->currentText());
    if (value < 0) return;
    Workspace& ws = host_.ws();

    if (id == id::Vox) SetVoxDependents(c->currentIndex() > 0);

    if (id == id::HfPublic || id == id::HamPublic) {
        if (value == GetField(ws.WorkRecord, s.field)) return;
        SetPublicAcrossBand(ws, id == id::HfPublic ? 0 : 1, value);
        // The channel editor shows PublicCh: open it afresh on the new values.
        host_.CloseChild(Child::ChannelInfo);
        host_.ShowChild(Child::ChannelInfo);
    }
    SetField(ws.WorkRecord, s.field, value);
}

void FrmOptFeatures::SaveCheck(int id)
{
    if (IsModeEnableBox(id)) {
        ModeEnableChanged(id);
        return;
    }
    const CheckSetting& s = *FindCheck(id);
    SetField(host_.ws().WorkRecord, s.field, checks_[id]->isChecked() ? 1 : 0);
}

void FrmOptFeatures::ModeEnableChanged(int id)
{
    QCheckBox* box = checks_[id];
    if (!box->isChecked()) {
        bool another = false;
        for (int other = id::FmEnable; other <= id::CwEnable; ++other)
            if (other != id && checks_[other]->isChecked()) another = true;
        if (!another) box->setChecked(true);   // one mode always stays enabled
    }
    Workspace& ws = host_.ws();
    SetField(ws.WorkRecord, FindCheck(id)->field, box->isChecked() ? 1 : 0);
    if (id == id::CwEnable) return;   // the public channel and the rule below know no CW

    const QString shownMode = lists_[id::Mode]->currentText();
    FillModeList();
    ShowListText(id::Mode, ListTextMatching(Items(id::Mode), shownMode));

    AlignChannelModes(ws);
    // The channel editor offers the enabled modes in its lists.
    emit ws.Events().optionsChanged();
}

void FrmOptFeatures::SaveNumber(int id)
{
    if (!loaded_) return;
    Workspace& ws = host_.ws();
    const NumberSetting& s = *FindNumber(id);
    QLineEdit* box = numbers_[id];
    box->setText(CheckedNumberText(s, box->text()));
    if (id == id::BattMin || id == id::BattMax) {
        const NumberSetting& mn = *FindNumber(id::BattMin);
        const NumberSetting& mx = *FindNumber(id::BattMax);
        QString minText = CheckedNumberText(mn, numbers_[id::BattMin]->text());
        QString maxText = CheckedNumberText(mx, numbers_[id::BattMax]->text());
        OrderBatteryTexts(minText, maxText);
        numbers_[id::BattMin]->setText(minText);
        numbers_[id::BattMax]->setText(maxText);
        SetField(ws.WorkRecord, mn.field, StoredNumberOf(mn, minText));
        SetField(ws.WorkRecord, mx.field, StoredNumberOf(mx, maxText));
        return;
    }
    SetField(ws.WorkRecord, s.field, StoredNumberOf(s, box->text()));
}

// ---- number boxes: keys and focus ------------------------------------------------

namespace {
// Ctrl with one of these keys edits the box; any other Ctrl or Alt key is a
// command of the program (Save, Write, a menu) that must see the typed number.
bool IsEditingShortcut(const QKeyEvent* k)
{
    if (k->modifiers() & Qt::AltModifier) return false;
    if (!(k->modifiers() & Qt::ControlModifier)) return true;
    static const int editing[] = {Qt::Key_A, Qt::Key_Z, Qt::Key_Y, Qt::Key_C, Qt::Key_V, Qt::Key_X,
                                  Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End,
                                  Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert,
                                  Qt::Key_Control, Qt::Key_Shift};
    return std::find(std::begin(editing), std::end(editing), k->key()) != std::end(editing);
}
}  // namespace

bool FrmOptFeatures::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::FocusIn:
    case QEvent::FocusOut: break;
    default: return false;   // every event of the program passes here: leave the rest alone
    }
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        const int focusedId = focused ? numbers_.key(focused, -1) : -1;
        auto* target = static_cast<QWidget*>(watched);
        if (focusedId >= 0 && loaded_ && focused->isModified() && target != focused &&
            !focused->isAncestorOf(target))
            SaveOptFeat(focusedId);
        return false;
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    const int id = box ? numbers_.key(box, -1) : -1;
    if (id < 0) return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
            key->matches(QKeySequence::Cut))
            return true;
        const QString text = key->text();
        if (text.isEmpty()) return false;   // movement and editing keys
        const uint code = text.at(0).unicode();
        if (code == 3 || code == 22 || code == 24) return true;   // Ctrl+C, Ctrl+V, Ctrl+X
        if (code < 32 || code == 127) return false;
        if ((code >= '0' && code <= '9') || code == '.') return false;
        return true;   // letters, signs, and everything above 127
    }
    case QEvent::ShortcutOverride:
        if (loaded_ && box->isModified() && !IsEditingShortcut(static_cast<QKeyEvent*>(event)))
            SaveOptFeat(id);
        break;
    case QEvent::FocusIn:
        // Select the whole text once the click that gave the focus is through.
        QTimer::singleShot(0, box, [box] { if (box->hasFocus()) box->selectAll(); });
        break;
    case QEvent::FocusOut:
        if (loaded_) SaveOptFeat(id);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kt
