// View > Theme: System, Light, Dark.
#pragma once

#include "gui/CommandRegistry.h"

namespace kt {

// Adds the Theme menu to the main window's View menu and puts the stored
// theme on the program.
CommandWing* MakeThemeWing(MainHost& host, QSettings& store, QObject* parent);

}  // namespace kt
