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

// The data of the Init/ templates of a band class (0: band type 0, 1: band type 1):
// the built-in defaults with that band, taken as the snapshot.
void BuildTemplateData(Workspace& ws, int bandClass);

// A new job of a band class as the desktop program starts it: the
// installation's new-document template of that class when it has one, else
// the built-in defaults; either way taken as the snapshot.  True when the
// template was used.
bool BuildNewDocument(Workspace& ws, int bandClass);

}  // namespace kt
