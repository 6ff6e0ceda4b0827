// Menu items that make the program reachable by keyboard alone: the Window
// menu opens every editor window with Ctrl+1, Ctrl+2, ...; the Edit menu
// holds the channel grid's row commands with their keys, and the grid's
// pop-up shows the same keys.
#pragma once

#include "gui/CommandRegistry.h"

namespace kt {

CommandWing* MakeKeyboardWing(MainHost& host, QSettings& store, QObject* parent);

}  // namespace kt
