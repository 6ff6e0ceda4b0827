// The program-wide state: the working data and their snapshot, the memory
// image, the document's file names and the values the title, the data file and
// the link share.  One object is passed by reference to the core functions and
// the windows; there is no hidden global state.
#pragma once

#include "base/Ask.h"
#include "base/Messages.h"
#include "base/Texts.h"
#include "base/Versions.h"
#include "model/DocumentEvents.h"
#include "model/Model.h"

#include <QString>
#include <vector>

namespace kt {

class EditRecorder;

// A pointer to what looks after one workspace: a copy of the workspace starts
// without it (the history of the original does not record the copy's edits).
template <class T>
class OwnPointer {
public:
    OwnPointer() = default;
    OwnPointer(const OwnPointer&) {}
    OwnPointer& operator=(const OwnPointer&) { return *this; }
    OwnPointer& operator=(T* p) { p_ = p; return *this; }
    operator T*() const { return p_; }
    T* operator->() const { return p_; }

private:
    T* p_ = nullptr;
};

inline const QByteArray kModelCode = "RU6383R";
inline const QString kBandRange0 = QStringLiteral("24.7150 - 30.1050 MHz");
inline const QString kBandRange1 = QStringLiteral("28.0000 - 29.6950 MHz");
inline const QString kBandRangeOther = QStringLiteral("28.0000 - 29.6990 MHz");

struct Workspace {
    Workspace() : MemImage(kImageSize, 0xFF) {}

    // Model: working data and the snapshot that tells whether they were modified.
    DataRecord WorkRecord;
    ChannelTable Channels;
    DataRecord FileRecord;
    ChannelTable FileChannels;

    // The radio's memory, used only by a transfer and the codec.
    std::vector<uint8_t> MemImage;

    // Document.
    QString CurrentFile = QStringLiteral("new.dat");
    QString PreviousFile = QStringLiteral("new.dat");
    bool IsUntitled = true;
    // Channels the open pair's data file names that its channel file could not
    // give (missing, short, not a file).  A write asks about them until the
    // document is replaced or saved; 0 for any other document.
    int ChannelsUnread = 0;

    // Band and radio values.
    QString BandRange = kBandRangeOther;
    double BandMin = 28.0, BandMax = 29.699, AltBandMin = 21.0, AltBandMax = 21.5;
    QByteArray ModelCode = kModelCode;
    QByteArray RadioVersion = "V200";
    bool ExtendedHf = false;
    int GroupCount = 17;   // groups of the band last walked (17 or 14)

    // The last radio identified since the program started (read, write or
    // information read), for "Model Information".
    struct RadioIdentity {
        bool known = false;
        QByteArray model, firmware;
        bool extendedHf = false;
        QString bandRange;   // empty until a read from that radio has brought its band
    };
    RadioIdentity LastRadio;

    // The channel grid's line clipboard: one channel and whether it was filled.
    ChannelRec LineClip;
    bool LineClipFilled = false;

    // Languages: 1 English, 2 Chinese.
    int CurrentLanguage = English;
    int ShownLanguage = English;
    int SystemLanguage = English;

    // Link.
    bool GroupWriteEnabled = false;
    QString comPort = QStringLiteral("1");
    // The control lines of the port during a transfer (both low unless set).
    bool portDtr = false, portRts = false;
    int Handshaking = 0;
    int StopBit = 0;

    // Installation: InstallRoot is the parent of ProgramDir unless --root says otherwise.
    QString InstallRoot;
    QString ProgramDir;
    VersionTable Versions;
    MessageQueue Messages;

    // The seam for questions; null: every question gets its first button.
    Asker* asker = nullptr;
    // Keeps the steps of the edits (EditStep); null: no undo history.
    OwnPointer<EditRecorder> recorder;
    // What the windows hear of changes to the document.
    DocumentEvents& Events() const { return events_.get(); }

    int16_t& ChannelCount(int band, int group) { return WorkRecord.ChannelCount[band][group]; }
    int16_t ChannelCount(int band, int group) const { return WorkRecord.ChannelCount[band][group]; }
    OptFeatRec& OptFeat() { return WorkRecord.OptFeat; }
    QString T(const Bi& text) const { return text.in(CurrentLanguage); }
    Answer Ask(const QString& text, Buttons buttons, Icon icon, bool withTitle = true);
    void TitleChanged() const { emit Events().titleChanged(); }

private:
    DocumentEventsHolder events_;
};

}  // namespace kt
