#include "gui/link/FrmComSet.h"
#include "gui/MenuPolish.h"

#include "base/Messages.h"
#include "shell/Settings.h"
#include "link/LinkTexts.h"
#include "link/Transfer.h"
#include "model/Workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kt {

namespace {
constexpr int kFindPollMs = 250;
constexpr int kFindTicks = 60 * 1000 / kFindPollMs;   // a minute
}  // namespace

QStringList FrmComSet::SystemPorts() { return NamesOf(AvailablePorts()); }

FrmComSet::FrmComSet(Workspace& ws, PortLister lister, QWidget* parent)
    : QDialog(parent), ws_(ws), lister_(std::move(lister))
{
    FixedDialogFrame(*this);
    setWindowTitle(ws_.T(txt::PortDialogTitle));
    Label1 = new QLabel(ws_.T(txt::PortLabel), this);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = new QComboBox(this);
    Combo1->setMinimumWidth(360);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Label1->setBuddy(Combo1);
    CheckDtr = new QCheckBox(ws_.T(link_txt::DtrOn), this);
    CheckRts = new QCheckBox(ws_.T(link_txt::RtsOn), this);
    CheckDtr->setChecked(ws_.portDtr);
    CheckRts->setChecked(ws_.portRts);
    CheckDtr->setToolTip(ws_.T(link_txt::LinesNote));
    CheckRts->setToolTip(ws_.T(link_txt::LinesNote));
    CommandFind = new QPushButton(ws_.T(link_txt::FindCable), this);
    CommandFind->setAutoDefault(false);
    LabelFind = new QLabel(this);
    LabelFind->setWordWrap(true);
    // Room for two lines from the start: the dialog keeps its size.
    LabelFind->setMinimumHeight(2 * LabelFind->fontMetrics().lineSpacing() + 4);
    LabelFind->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CommandOK = new QPushButton(ws_.T(msg::CaptionOk), this);
    CommandCancel = new QPushButton(ws_.T(msg::CaptionCancel), this);
    CommandOK->setDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(Combo1, 1);
    auto* lines = new QHBoxLayout;
    lines->addWidget(CheckDtr);
    lines->addWidget(CheckRts);
    lines->addStretch();
    lines->addWidget(CommandFind);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandOK);
    buttons->addWidget(CommandCancel);
    auto* box = new QVBoxLayout(this);
    box->addLayout(row);
    box->addLayout(lines);
    box->addWidget(LabelFind);
    box->addLayout(buttons);

    connect(CommandOK, &QPushButton::clicked, this, &FrmComSet::OnOk);
    connect(CommandCancel, &QPushButton::clicked, this, &FrmComSet::OnCancel);
    connect(CommandFind, &QPushButton::clicked, this, &FrmComSet::OnFind);
    connect(Combo1, &QComboBox::activated, this, [this](int i) { PortID = i >= 0 ? Combo1->itemData(i).toString() : QString(); });

    const QString first = EnumerateComPorts();
    if (first.isEmpty()) PortID.clear();
    else SelectOrFirst(PortNameOfKey(ws_.comPort));

    ReShowComPortTimer = new QTimer(this);
    ReShowComPortTimer->setInterval(1000);
    connect(ReShowComPortTimer, &QTimer::timeout, this, &FrmComSet::ReShowComPort);
    ReShowComPortTimer->start();
    FindTimer = new QTimer(this);
    FindTimer->setInterval(kFindPollMs);
    connect(FindTimer, &QTimer::timeout, this, &FrmComSet::FindTick);
}

FrmComSet::~FrmComSet() = default;

QList<PortEntry> FrmComSet::Ports() const
{
    if (!lister_) return AvailablePorts();
    QList<PortEntry> list;
    for (const QString& n : lister_()) {
        PortEntry e;
        e.name = n;
        e.simulated = n == kSimulatedPortKey;
        list << e;
    }
    return list;
}

QString FrmComSet::EnumerateComPorts()
{
    const QList<PortEntry> ports = Ports();
    QStringList texts, keys;
    for (const PortEntry& e : ports) {
        // The simulated radio is listed in the user's language; its key stays the same.
        QString text = e.simulated ? ws_.T(link_txt::Simulated) : e.name;
        const QString details = e.Details();
        if (!details.isEmpty()) text += QStringLiteral(" — ") + details;
        texts << text;
        keys << e.name;
    }
    // Rebuilt only when something changed, so that an open list stays put.
    bool same = Combo1->count() == texts.size();
    for (int i = 0; same && i < texts.size(); ++i)
        same = Combo1->itemText(i) == texts[i] && Combo1->itemData(i).toString() == keys[i];
    if (!same) {
        Combo1->clear();
        for (int i = 0; i < texts.size(); ++i) Combo1->addItem(texts[i], keys[i]);
    }
    return keys.isEmpty() ? QString() : keys.first();
}

void FrmComSet::SelectOrFirst(const QString& name)
{
    int i = Combo1->findData(name);
    if (i < 0) i = 0;
    Combo1->setCurrentIndex(i);
    PortID = Combo1->itemData(i).toString();
}

void FrmComSet::ReShowComPort()
{
    const QString keep = PortID;
    if (EnumerateComPorts().isEmpty()) {
        PortID.clear();
        return;
    }
    SelectOrFirst(keep);
}

void FrmComSet::OnFind()
{
    if (FindTimer->isActive()) {
        StopFinding(QString());
        return;
    }
    finder_.Start(NamesOf(Ports()));
    findTicks_ = 0;
    LabelFind->setText(ws_.T(link_txt::FindCableUnplug));
    CommandFind->setText(ws_.T(link_txt::FindCableStop));
    FindTimer->start();
}

void FrmComSet::FindTick()
{
    const CableFinder::State state = finder_.Feed(NamesOf(Ports()));
    if (state == CableFinder::State::Found) {
        ReShowComPort();
        SelectOrFirst(finder_.Found());
        StopFinding(ws_.T(link_txt::FindCableFound).arg(finder_.Found()));
        return;
    }
    if (state == CableFinder::State::AwaitReplug)
        LabelFind->setText(ws_.T(link_txt::FindCableReplug).arg(finder_.Gone().join(QStringLiteral(", "))));
    if (++findTicks_ >= kFindTicks) StopFinding(ws_.T(link_txt::FindCableNone));
}

void FrmComSet::StopFinding(const QString& status)
{
    FindTimer->stop();
    finder_.Reset();
    CommandFind->setText(ws_.T(link_txt::FindCable));
    LabelFind->setText(status);
}

void FrmComSet::OnOk()
{
    ws_.portDtr = CheckDtr->isChecked();
    ws_.portRts = CheckRts->isChecked();
    const int i = Combo1->currentIndex();
    if (i < 0) {
        ws_.comPort.clear();
    } else {
        ws_.comPort = Combo1->itemData(i).toString();
        StorePortSetting(ws_);
    }
    accept();
}

void FrmComSet::OnCancel() { reject(); }

void FrmComSet::done(int r)
{
    ReShowComPortTimer->stop();
    FindTimer->stop();
    QDialog::done(r);
}

}  // namespace kt
