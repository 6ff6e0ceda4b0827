// The printed report of a job: header, the channels of every group as
// tables, the group settings, the option features, the DTMF codes and the
// roger-beep patterns with their bar drawings, in the workspace's current
// language.  The report is built as plain blocks, flowed onto pages (tables
// break between rows and repeat their header row on the next page) and
// painted onto a printer or a PDF writer with "Page n of N" at each foot.
// Uses QtGui only, so the command-line tool prints without a window.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;

namespace kt {

struct Workspace;

enum class Paper { A4, Letter };

struct ReportBlock {
    enum Kind { Title, Section, Sub, Text, Pairs, Grid, Picture };
    Kind kind = Text;
    QString text;                  // Title, Section, Sub, Text
    QStringList header;            // Grid: the header row
    std::vector<QStringList> rows; // Grid: the rows; Pairs: label, value
    QImage picture;                // Picture
};

// The report of ws; fileName is the name printed in the header.
std::vector<ReportBlock> BuildReport(Workspace& ws, const QString& fileName);

// Where the blocks fall: on each page, pieces of blocks from the top down.
struct ReportPiece {
    int block = 0;
    int firstRow = 0, endRow = 0;  // rows [firstRow, endRow) of a Grid or Pairs block
    bool header = false;           // a Grid piece starts with the header row
    double y = 0;                  // top, in device units from the top of the printable area
};
using ReportPage = std::vector<ReportPiece>;
std::vector<ReportPage> FlowReport(const std::vector<ReportBlock>& blocks, QPaintDevice& device, double width,
                                   double height);

// Sets up the page of a printer or PDF writer: paper, landscape, margins.
void SetUpReportPage(QPagedPaintDevice& device, Paper paper);
// Paints every page onto device (set up and on its first page); false when
// painting cannot start.
bool PaintReport(const std::vector<ReportBlock>& blocks, QPagedPaintDevice& device, int language);

// Writes the report as a PDF through a temporary file renamed at the end, so
// a failed export leaves no partial file.  On failure returns false with what
// went wrong in error.
bool ExportReportPdf(Workspace& ws, const QString& fileName, const QString& pdfPath, Paper paper, QString& error);

}  // namespace kt
