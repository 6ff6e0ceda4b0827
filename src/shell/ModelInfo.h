// What "Model Information" shows: the last radio identified since the
// program started and the program's own model code and version.
#pragma once

#include "model/Workspace.h"

#include <QList>
#include <QPair>
#include <QString>

namespace kt {

struct ModelInfo {
    QString title;
    QString radioHeading, programHeading;
    QList<QPair<QString, QString>> radio;     // empty when no radio was identified
    QString noRadio;                          // the text shown instead
    QList<QPair<QString, QString>> program;
};

ModelInfo ModelInfoOf(const Workspace& ws);

}  // namespace kt
