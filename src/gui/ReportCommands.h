// File > Print and File > Export PDF...: the report of the job in the main
// window, on one of the system's printers (through a print preview) or as a
// PDF file.
#pragma once

#include "report/JobReport.h"

class QWidget;

namespace kt {

class MainHost;

// Opens the print preview of the report (window-modal; the user prints from
// it or closes it).  Returns the preview, which deletes itself when closed.
QWidget* PrintReportCommand(MainHost& host);
// Asks for a PDF file and writes the report into it; a path that cannot be
// written gives a message and leaves no file behind.
void ExportPdfCommand(MainHost& host);

// The paper a report starts on: Letter where the system measures in US
// units, A4 elsewhere.
Paper DefaultPaper();

}  // namespace kt
