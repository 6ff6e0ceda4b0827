// File > Compare...: the document against a chosen file, a backup or the
// radio on the current port; and the write question's line about what a
// write would change.
#pragma once

#include "rules/compare/Compare.h"

#include <QString>
#include <functional>

namespace kt {

class MainHost;
class SimRadio;
class FrmDifferences;

struct CompareSources {
    SimRadio* simulator = nullptr;   // the radio behind the "Simulated radio" port
    QString backupFolder;
    int backupKeep = 200;
};

// Asks what to compare with, then shows the differences.
void CompareCommand(MainHost& host, const CompareSources& sources);
// Each source on its own; the window shown, or null when nothing was compared
// (after saying why).
FrmDifferences* CompareWithFile(MainHost& host, const QString& path);
FrmDifferences* CompareWithBackup(MainHost& host, const QString& path);
FrmDifferences* CompareWithRadio(MainHost& host, const CompareSources& sources);

// Reads the radio on the current port into image without touching the
// document (kept as a backup like any read); false when it was not read.
// confirm: ask the read question first.
bool ReadRadioAside(MainHost& host, const CompareSources& sources, bool confirm, std::vector<uint8_t>& image,
                    QString& radioName);
// After a write that succeeded: reads the radio back and compares with what
// was written; a difference is listed in the differences window.  True when
// the radio holds what was written.
bool VerifyWrite(MainHost& host, const CompareSources& sources, const std::vector<uint8_t>& written);

// Which of the three the question chose: 0 a file, 1 a backup, 2 the radio,
// -1 cancel.  Tests replace the question.
inline std::function<int(MainHost&)>& CompareChoiceQuestion()
{
    static std::function<int(MainHost&)> f;
    return f;
}

}  // namespace kt
