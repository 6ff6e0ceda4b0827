#include "gui/link/FrmComSet.h"
#include "gui/MenuPolish.h"

#include "base/Messages.h"
#include "shell/Settings.h"
#include "link/LinkTexts.h"
#include "link/Transfer.h"
#include "model/Workspace.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTimer>
#include <QVBoxLayout>

namespace kt {

QStringList FrmComSet::SystemPorts()
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names << info.portName();
    names << kSimulatedPortKey;
    return names;
}

FrmComSet::FrmComSet(Workspace& ws, PortLister lister, QWidget* parent)
    : QDialog(parent), ws_(ws), lister_(lister ? std::move(lister) : PortLister(&FrmComSet::SystemPorts))
{
    FixedDialogFrame(*this);
    setWindowTitle(ws_.T(txt::PortDialogTitle));
    Label1 = new QLabel(ws_.T(txt::PortLabel), this);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = new QComboBox(this);
    Combo1->setMinimumWidth(180);
    CommandOK = new QPushButton(ws_.T(msg::CaptionOk), this);
    CommandCancel = new QPushButton(ws_.T(msg::CaptionCancel), this);
    CommandOK->setDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(Combo1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandOK);
    buttons->addWidget(CommandCancel);
    auto* box = new QVBoxLayout(this);
    box->addLayout(row);
    box->addLayout(buttons);

    connect(CommandOK, &QPushButton::clicked, this, &FrmComSet::OnOk);
    connect(CommandCancel, &QPushButton::clicked, this, &FrmComSet::OnCancel);
    connect(Combo1, &QComboBox::activated, this, [this](int i) { PortID = i >= 0 ? Combo1->itemData(i).toString() : QString(); });

    const QString first = EnumerateComPorts();
    if (first.isEmpty()) PortID.clear();
    else SelectOrFirst(PortNameOfKey(ws_.comPort));

    ReShowComPortTimer = new QTimer(this);
    ReShowComPortTimer->setInterval(1000);
    connect(ReShowComPortTimer, &QTimer::timeout, this, &FrmComSet::ReShowComPort);
    ReShowComPortTimer->start();
}

FrmComSet::~FrmComSet() = default;

QString FrmComSet::EnumerateComPorts()
{
    const QStringList names = lister_();
    Combo1->clear();
    for (const QString& n : names) {
        // The simulated radio is listed in the user's language; its key stays the same.
        Combo1->addItem(n == kSimulatedPortKey ? ws_.T(link_txt::Simulated) : n, n);
    }
    return names.isEmpty() ? QString() : names.first();
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

void FrmComSet::OnOk()
{
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
    QDialog::done(r);
}

}  // namespace kt
