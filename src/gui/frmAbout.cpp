#include "gui/frmAbout.h"
#include "shell/MainTexts.h"
#include "base/Messages.h"
#include "model/Workspace.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace kt {

namespace {

bool StartInstalledSystemInfo()
{
    // Desktop system information / monitor programs, in order of preference.
    for (const char* name : {"hardinfo2", "hardinfo", "gnome-system-monitor",
                             "plasma-systemmonitor", "xfce4-taskmanager"}) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty() && QProcess::startDetached(path, {})) return true;
    }
    return false;
}

}  // namespace

QString AboutBox::VersionLabel(int language)
{
    return mtxt::Version.in(language) + QStringLiteral(KT_VERSION_TEXT);
}

AboutBox::AboutBox(Workspace& ws, int language, const char* name, QWidget* parent)
    : QDialog(parent), startSystemInfo(&StartInstalledSystemInfo), ws_(ws), language_(language)
{
    setObjectName(name);
    setModal(true);
    const QString title = mtxt::AppTitle.in(language);
    setWindowTitle(mtxt::About.in(language) + title);

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    lblTitle = new QLabel(title, this);
    lblTitle->setObjectName("lblTitle");
    QFont f = lblTitle->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    lblTitle->setFont(f);
    lblVersion = new QLabel(VersionLabel(language), this);
    lblVersion->setObjectName("lblVersion");
    lblDescription = new QLabel(mtxt::Description.in(language), this);
    lblDescription->setObjectName("lblDescription");
    lblDescription->setWordWrap(true);

    cmdOK = new QPushButton(msg::CaptionOk.in(language), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(mtxt::SystemInfo.in(language), this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(8);
    text->addWidget(lblDescription);
    text->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addLayout(buttons);
    setMinimumWidth(380);
}

void AboutBox::cmdSysInfo_Click()
{
    if (startSystemInfo && startSystemInfo()) return;
    ws_.Ask(mtxt::SysInfoMissing.in(language_), Buttons::Ok, Icon::None);
}

frmAbout::frmAbout(Workspace& ws, QWidget* parent) : AboutBox(ws, Chinese, "frmAbout", parent) {}
FrmAbout2::FrmAbout2(Workspace& ws, QWidget* parent) : AboutBox(ws, English, "FrmAbout2", parent) {}

}  // namespace kt
