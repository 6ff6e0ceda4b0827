// The printed report of a job: header, the channels of every group as
// tables, the group settings, the option features, the DTMF codes and the
// roger-beep patterns with their bar drawings.  It is laid out as a text
// document in the workspace's current language and painted page by page onto
// a printer or a PDF writer, with the page number at the foot of each page.
// Uses QtGui only, so the command-line tool prints without a window.
#pragma once

#include <QString>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace kt {

struct Workspace;

enum class Paper { A4, Letter };

// The report of ws as a document laid out for device (its page size and
// resolution).  fileName is the name printed in the header.
std::unique_ptr<QTextDocument> BuildReport(Workspace& ws, const QString& fileName, QPagedPaintDevice& device);

// Paints every page of doc onto device, each with "Page n of N" at its foot.
// The device is given its first page already; false when painting cannot start.
bool PaintReport(QTextDocument& doc, QPagedPaintDevice& device, int language);

// Writes the report as a PDF through a temporary file renamed at the end, so
// a failed export leaves no partial file.  On failure returns false with what
// went wrong in error.
bool ExportReportPdf(Workspace& ws, const QString& fileName, const QString& pdfPath, Paper paper, QString& error);

// Sets up the page of a printer or PDF writer: paper, landscape, margins.
void SetUpReportPage(QPagedPaintDevice& device, Paper paper);

}  // namespace kt
