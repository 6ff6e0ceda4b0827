#include "gui/MainHost.h"

#include "gui/FrmModelInfo.h"

#include <QAction>
#include <QWidget>

namespace kt {

void MainHost::RadioInformation()
{
    if (QWidget* main = MainWindow())
        if (auto* command = main->findChild<QAction*>(QStringLiteral("mnuRadioInfo"))) {
            command->trigger();
            return;
        }
    FrmModelInfo::ShowFor(*this);
}

}  // namespace kt
