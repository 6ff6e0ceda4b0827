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

FrmDifferences* CompareWithRadio(MainHost& host, const CompareSources& sources)
{
    Workspace& ws = host.ws();
    // The read goes into a copy of the workspace: the document stays as it is.
    Workspace scratch(ws);
    scratch.asker = ws.asker;
    Transfer read(scratch);
    read.SetSimulator(sources.simulator);
    if (!sources.backupFolder.isEmpty())
        read.onImageDone = [&](int kind, const std::vector<uint8_t>& image) {
            const QString warning = BackUpTransfer(sources.backupFolder, sources.backupKeep, kind, image, scratch,
                                                   read.PortLabel());
            if (!warning.isEmpty()) ws.Ask(warning, Buttons::Ok, Icon::Warning);
        };
    if (!read.Read()) return nullptr;
    ws.LastRadio = scratch.LastRadio;
    return Show(host, cmp::FromImage(ws, scratch.MemImage, ws.T(t::Radio).arg(read.PortName())));
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
