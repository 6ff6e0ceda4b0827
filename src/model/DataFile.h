// The data file pair (.dat, 1699 bytes, and .fre, 64-byte channel records),
// the snapshot and the modified test.  Layouts are the tables in DataFileLayout.cpp.
#pragma once

#include "base/ByteText.h"
#include "model/Workspace.h"

namespace kt {

QString BandTextOf(int code);
int BandClassOf(const QString& bandRange);
void SetModelInfo(Workspace& ws);

void TakeSnapshot(Workspace& ws);
void ApplySnapshot(Workspace& ws);
bool IsUnchanged(const Workspace& ws);
inline bool IsModified(const Workspace& ws) { return !IsUnchanged(ws); }

// "x.dat" -> "x.fre": the last three characters replaced.
QString ChannelFileOf(const QString& dataFile);

// Byte images of the records (used by the file functions, the tool and the tests).
QByteArray SerializeDataRecord(const DataRecord& rec);
// False (and rec untouched) unless bytes is exactly 1699 bytes.
bool ParseDataRecord(const QByteArray& bytes, DataRecord& rec);
QByteArray SerializeChannelRecord(const ChannelRec& ch);
ChannelRec ParseChannelRecord(const char* bytes64);

// The .fre file of path from / into FileChannels, counts from FileRecord.
bool WriteChannelFile(Workspace& ws, const QString& path);
void ReadChannelFile(Workspace& ws, const QString& path);

// Result of a file command: what to tell the user.
struct FileResult {
    enum Kind { Done, Failed, AskLaunch } kind = Done;
    QString message;        // shown with an OK button (Failed) or Yes/No (AskLaunch)
    QString launchVersion;  // AskLaunch: the version to start on Yes
    QString notice;         // Done: what the user must still be told (channels that could not be read)
};

FileResult SaveDataFile(Workspace& ws);   // writes CurrentFile and its .fre
// The pair Save would write for the working data now, without touching the
// workspace: the data file's bytes and the channel file's bytes.
QByteArray WorkingDataBytes(const Workspace& ws);
QByteArray WorkingChannelBytes(const Workspace& ws);
FileResult OpenDataFile(Workspace& ws);   // reads CurrentFile and its .fre
// Loads a template pair without checks or messages; false when the data file was unreadable.
bool LoadTemplate(Workspace& ws, const QString& path);

}  // namespace kt
