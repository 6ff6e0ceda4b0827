// Model <-> radio memory image.  The address map and the record layouts are
// the tables in ImageLayout.cpp.
#pragma once

#include "model/Workspace.h"

namespace kt {

void ClearImage(Workspace& ws);     // 0xFF everywhere, every mask 0
void EncodeImage(Workspace& ws);    // model -> MemImage (after ClearImage)
void DecodeImage(Workspace& ws);    // MemImage -> model
void EncodeChannel(Workspace& ws, const ChannelRec& rec, int band, int group);
// Decodes channel c of the group into the group's next free slot (or drops it).
void DecodeChannel(Workspace& ws, int band, int channel, int group);
void SetModelCode(Workspace& ws);

// Strict test for a frequency digit text: exactly 8 decimal digits.
bool IsFreqDigits(const QByteArray& digits);

}  // namespace kt
