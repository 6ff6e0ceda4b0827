// The application object of the command-line tool.  Commands that paint (the
// report) need QtGui's application; it runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise, so no display is needed to print a PDF.
#pragma once

#include <QCoreApplication>
#include <memory>

namespace kt {

std::unique_ptr<QCoreApplication> MakeToolApplication(int& argc, char** argv, bool paints);

}  // namespace kt
