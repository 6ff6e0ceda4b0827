// What a write would change in the radio: the document against the newest
// image of that radio at hand (a read kept in the backups, of the same model
// and firmware), as one line for the write's question.
#pragma once

#include "model/Workspace.h"

#include <QDateTime>
#include <vector>

namespace kt {

struct ImageAtHand {
    bool found = false;
    std::vector<uint8_t> image;
    QDateTime when;
    QString port;
    QString path;
};

// The newest backup read from a radio of the model and firmware last
// identified (ws.LastRadio; the program's model when none was).
ImageAtHand NewestRadioImage(const Workspace& ws, const QString& backupFolder);
// "Writing changes 14 channels in groups A and C, ... (compared with the
// radio read on 2026-12-09 18:40 on sim)." or that nothing is at hand.
QString WriteChangesLine(const Workspace& ws, const ImageAtHand& at);
// "the radio's image read on 2026-12-09 18:40 from sim"
QString RadioImageName(const Workspace& ws, const ImageAtHand& at);

}  // namespace kt
