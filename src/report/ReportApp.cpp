#include "report/ReportApp.h"

#include <QGuiApplication>

namespace kt {

std::unique_ptr<QCoreApplication> MakeToolApplication(int& argc, char** argv, bool paints)
{
    if (!paints) return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace kt
