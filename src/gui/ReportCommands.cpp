#include "gui/ReportCommands.h"

#include "gui/MainHost.h"
#include "model/Workspace.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace kt {

namespace ptxt {
inline constexpr Bi PreviewTitle{"Print Preview", "打印预览"};
inline constexpr Bi ExportTitle{"Export PDF", "导出 PDF"};
inline constexpr Bi Filter{"PDF files (*.pdf);;All files (*)", "PDF 文件 (*.pdf);;所有文件 (*)"};
inline constexpr Bi NotWritten{"The report could not be written:\n%1\n%2", "无法写入报告：\n%1\n%2"};
inline constexpr Bi Written{"The report was written to\n%1", "报告已写入\n%1"};
inline constexpr Bi Zoom{"Zoom", "缩放"};
inline constexpr Bi Page{"Page", "页码"};
}  // namespace ptxt

namespace {

// The name the report's header gives the job; empty for an untitled one.
QString JobName(const Workspace& ws) { return ws.IsUntitled ? QString() : ws.CurrentFile; }

}  // namespace

Paper DefaultPaper()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
}

QWidget* PrintReportCommand(MainHost& host)
{
    Workspace& ws = host.ws();
    auto* preview = new QPrintPreviewDialog(host.MainWindow());
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setObjectName("ReportPreview");
    preview->setWindowTitle(ws.T(ptxt::PreviewTitle));
    QPrinter* printer = preview->printer();
    printer->setDocName(QFileInfo(ws.CurrentFile).completeBaseName());
    SetUpReportPage(*printer, DefaultPaper());
    // Drawn again whenever the user changes the paper or the orientation.
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview, [&ws](QPrinter* p) {
        PaintReport(BuildReport(ws, JobName(ws)), *p, ws.CurrentLanguage);
    });
    // The preview's zoom list and page box stand without labels; a screen
    // reader still says what they are.
    for (QComboBox* c : preview->findChildren<QComboBox*>()) c->setAccessibleName(ws.T(ptxt::Zoom));
    for (QLineEdit* e : preview->findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(e->parentWidget())) e->setAccessibleName(ws.T(ptxt::Page));
    preview->resize(1000, 720);
    preview->open();
    return preview;
}

void ExportPdfCommand(MainHost& host)
{
    Workspace& ws = host.ws();
    if (!ws.asker) return;
    const QString preset = QFileInfo(ws.CurrentFile).completeBaseName() + ".pdf";
    QString path = ws.asker->saveFileName(ws.T(ptxt::ExportTitle), ws.T(ptxt::Filter), preset);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".pdf";
    QString error;
    if (!ExportReportPdf(ws, JobName(ws), path, DefaultPaper(), error)) {
        ws.Ask(ws.T(ptxt::NotWritten).arg(path, error), Buttons::Ok, Icon::Warning);
        return;
    }
    ws.Ask(ws.T(ptxt::Written).arg(path), Buttons::Ok, Icon::Information);
}

}  // namespace kt
