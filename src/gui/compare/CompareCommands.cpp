#include "gui/compare/CompareCommands.h"

#include "gui/MainHost.h"
#include "gui/compare/FrmDifferences.h"
#include "gui/link/FrmRestoreBackup.h"
#include "link/Backups.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "model/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace kt {

namespace {
namespace t {
constexpr Bi Question{"Compare the document with:", "将当前文档与以下内容比较："};
constexpr Bi AFile{"A &File…", "文件(&F)…"};
constexpr Bi ABackup{"A &Backup…", "备份(&B)…"};
constexpr Bi TheRadio{"The &Radio", "对讲机(&R)"};
constexpr Bi Cancel{"Cancel", "取消"};
constexpr Bi OpenTitle{"Compare with", "比较对象"};
constexpr Bi Filter{"Data files and images (*.dat *.img);;All files (*)", "数据文件和映像 (*.dat *.img);;所有文件 (*)"};
constexpr Bi Document{"This document (%1)", "当前文档（%1）"};
constexpr Bi Untitled{"untitled", "未命名"};
constexpr Bi Backup{"backup of %1 (%2)", "%1 的备份（%2）"};
constexpr Bi Radio{"the radio on %1", "%1 上的对讲机"};
constexpr Bi Written{"the image written", "写入的映像"};
constexpr Bi Verified{"Verify after writing: the radio holds what was written.", "写入后校验：对讲机中的数据与写入的相同。"};
constexpr Bi VerifyFailed{"Verify after writing failed: the radio holds %1 value(s) other than written (%2).",
                          "写入后校验失败：对讲机中有 %1 处与写入的不同（%2）。"};
constexpr Bi VerifyNotRead{"Verify after writing: the radio could not be read back.", "写入后校验：无法读回对讲机。"};
}  // namespace t

cmp::Document ThisDocument(MainHost& host)
{
    Workspace& ws = host.ws();
    emit ws.Events().aboutToEncode();   // edits still open count
    const QString name = ws.IsUntitled ? ws.T(t::Untitled) : QFileInfo(ws.CurrentFile).fileName();
    return cmp::FromWorkspace(ws, ws.T(t::Document).arg(name));
}

FrmDifferences* Show(MainHost& host, const cmp::Document& other)
{
    const cmp::Document mine = ThisDocument(host);
    return ShowDifferences(host, cmp::Compare(mine, other), mine.name, other.name);
}

int AskChoice(MainHost& host)
{
    if (CompareChoiceQuestion()) return CompareChoiceQuestion()(host);
    const Workspace& ws = host.ws();
    QMessageBox box(QMessageBox::Question, QStringLiteral("KT-6383 Pro"), ws.T(t::Question), QMessageBox::NoButton,
                    host.MainWindow());
    QPushButton* file = box.addButton(ws.T(t::AFile), QMessageBox::AcceptRole);
    QPushButton* backup = box.addButton(ws.T(t::ABackup), QMessageBox::AcceptRole);
    QPushButton* radio = box.addButton(ws.T(t::TheRadio), QMessageBox::AcceptRole);
    box.addButton(ws.T(t::Cancel), QMessageBox::RejectRole);
    box.exec();
    if (box.clickedButton() == file) return 0;
    if (box.clickedButton() == backup) return 1;
    if (box.clickedButton() == radio) return 2;
    return -1;
}

}  // namespace

FrmDifferences* CompareWithFile(MainHost& host, const QString& path)
{
    Workspace& ws = host.ws();
    cmp::Document other;
    QString error;
    if (!cmp::LoadDocument(ws, path, other, error)) {
        ws.Ask(QDir::toNativeSeparators(path) + "\n" + error, Buttons::Ok, Icon::Warning);
        return nullptr;
    }
    return Show(host, other);
}

FrmDifferences* CompareWithBackup(MainHost& host, const QString& path)
{
    Workspace& ws = host.ws();
    const BackupInfo info = BackupStore::Inspect(path, ws.CurrentLanguage);
    std::vector<uint8_t> image;
    QString why = info.problem;
    if (!info.readable || !BackupStore::Load(path, image, &why, ws.CurrentLanguage)) {
        ws.Ask(QDir::toNativeSeparators(path) + "\n" + why, Buttons::Ok, Icon::Warning);
        return nullptr;
    }
    const QString name = ws.T(t::Backup).arg(BackupKindText(info.kind, ws.CurrentLanguage),
                                             info.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    return Show(host, cmp::FromImage(ws, image, name));
}

bool ReadRadioAside(MainHost& host, const CompareSources& sources, bool confirm, std::vector<uint8_t>& image,
                    QString& radioName)
{
    Workspace& ws = host.ws();
    // The read goes into a copy of the workspace: the document stays as it is.
    Workspace scratch(ws);
    scratch.asker = ws.asker;
    Transfer read(scratch);
    read.SetSimulator(sources.simulator);
    read.SetConfirm(confirm);
    if (!sources.backupFolder.isEmpty())
        read.onImageDone = [&](int kind, const std::vector<uint8_t>& got) {
            const QString warning = BackUpTransfer(sources.backupFolder, sources.backupKeep, kind, got, scratch,
                                                   read.PortLabel());
            if (!warning.isEmpty()) ws.Ask(warning, Buttons::Ok, Icon::Warning);
        };
    if (!read.Read()) return false;
    ws.LastRadio = scratch.LastRadio;
    image = scratch.MemImage;
    const QString port = scratch.comPort == kSimulatedPortKey ? kSimulatedPortKey : read.PortName();
    radioName = ws.T(t::Radio).arg(port);
    return true;
}

FrmDifferences* CompareWithRadio(MainHost& host, const CompareSources& sources)
{
    std::vector<uint8_t> image;
    QString name;
    if (!ReadRadioAside(host, sources, true, image, name)) return nullptr;
    return Show(host, cmp::FromImage(host.ws(), image, name));
}

bool VerifyWrite(MainHost& host, const CompareSources& sources, const std::vector<uint8_t>& written)
{
    Workspace& ws = host.ws();
    std::vector<uint8_t> back;
    QString name;
    if (!ReadRadioAside(host, sources, false, back, name)) {
        ws.Ask(ws.T(t::VerifyNotRead), Buttons::Ok, Icon::Warning);
        return false;
    }
    const cmp::Document a = cmp::FromImage(ws, written, ws.T(t::Written));
    const cmp::Document b = cmp::FromImage(ws, back, name);
    cmp::Result r = cmp::Compare(a, b);
    if (r.equal()) {
        host.ShowStatus(ws.T(t::Verified));
        return true;
    }
    ws.Ask(ws.T(t::VerifyFailed).arg(r.items.size()).arg(cmp::SummaryText(r, ws.CurrentLanguage)), Buttons::Ok,
           Icon::Warning);
    ShowDifferences(host, std::move(r), a.name, b.name);
    return false;
}

void CompareCommand(MainHost& host, const CompareSources& sources)
{
    Workspace& ws = host.ws();
    switch (AskChoice(host)) {
    case 0: {
        const QString path = ws.asker ? ws.asker->openFileName(ws.T(t::OpenTitle), ws.T(t::Filter)) : QString();
        if (!path.isEmpty()) CompareWithFile(host, path);
        break;
    }
    case 1: {
        FrmRestoreBackup dlg(ws, sources.backupFolder, host.MainWindow());
        if (dlg.exec() == QDialog::Accepted && !dlg.SelectedPath().isEmpty()) CompareWithBackup(host, dlg.SelectedPath());
        break;
    }
    case 2: CompareWithRadio(host, sources); break;
    default: break;
    }
}

}  // namespace kt
