// Built-in default data and the Init/ templates.
#pragma once

#include "model/Workspace.h"

namespace kt {

// Built-in defaults, then the new-document template, then the snapshot.
// loadTemplate false: the built-in defaults only (as after a read from the radio).
void InitDefaults(Workspace& ws, bool loadTemplate = true);
QString NewTemplatePath(const Workspace& ws);       // ProgramDir/Init/<class>_YF6383_New.dat
QString InitialTemplatePath(const Workspace& ws);   // ProgramDir/Init/<class>_YF6383.dat
void LoadNewTemplate(Workspace& ws);
void LoadInitialTemplate(Workspace& ws);
void AddDefaultChannel(Workspace& ws, int band, int group);
QByteArray DefaultFrequency(int group);   // "28.015000" ... ; empty above group 10

}  // namespace kt
