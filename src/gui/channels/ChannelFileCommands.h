// File > Export Channels..., File > Import Channels..., and the two band
// menu checks, as the main window's menu handlers call them.
#pragma once

#include "gui/MainHost.h"

namespace kt {

void ExportChannelsCommand(MainHost& host);
// Replaces the channels of the groups the file names; the document counts as modified.
void ImportChannelsCommand(MainHost& host);
void CheckAllChannelsCommand(MainHost& host);
// The radio's band and the document's, and whether they match; with no radio
// identified yet it offers Radio Information.
void CheckRadioBandCommand(MainHost& host);

}  // namespace kt
