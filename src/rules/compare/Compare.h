// What differs between two documents: two data file pairs, a pair and a memory
// image (a backup, an image file, what a radio gave), or two images.  The
// result is data: every difference has its place, the field's label in both
// languages as the editors name it and both values as the editors show them.
// Nothing here shows anything; the windows and the command-line tool do.
#pragma once

#include "model/Workspace.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace kt::cmp {

// One side of a comparison.  A document is a data file pair (its working
// data, which hold the data file's own fields too) or a memory image, decoded
// as after a read; an image keeps its bytes, so the bytes no field holds can
// be compared as well.
struct Document {
    std::unique_ptr<Workspace> ws;
    bool isImage = false;
    QString name;   // what the user calls it: a file name, "radio on /dev/ttyUSB0", a backup
};

// The working data of ws as a data file pair.
Document FromWorkspace(const Workspace& ws, const QString& name);
// An image (kImageSize bytes) decoded over the built-in defaults of ws's
// installation, as after a read from the radio.
Document FromImage(const Workspace& base, const std::vector<uint8_t>& image, const QString& name);

enum class PlaceKind {
    Document,   // the documents as a whole: "different bands"
    Band,       // a band's own settings (work group)
    Group,      // a group's settings
    Channel,
    Option,     // option features
    Dtmf,       // index 0: the encoder settings, 1-16: code memories
    RogerBeep,  // index 1-8: pattern
    Other,      // values no editor shows (kept in the data file or the image as they are)
    Bytes,      // image bytes no field holds: address .. lastAddress
};

struct Place {
    PlaceKind kind = PlaceKind::Document;
    int band = -1;      // 0 HF, 1 HAM
    int group = 0;      // 1-based
    int channel = 0;    // channel number (41 = M1 in a lettered group)
    int index = 0;      // DTMF code, roger-beep pattern
    int address = -1;   // Bytes: first and last address
    int lastAddress = -1;
    bool operator==(const Place&) const = default;
};

enum class Change {
    Changed,   // the field holds other values
    Added,     // the channel is in B only
    Removed,   // the channel is in A only
    NotHeld,   // the channel is in the data file, and an image cannot hold it
    Note,      // a line about the documents as a whole
};

struct Difference {
    Place place;
    Change change = Change::Changed;
    QString labelEn, labelZh;   // the field's label in the two languages
    // The values as the editors show them in English and in Chinese; empty
    // where a side has none.
    QString a, b, aZh, bZh;
    QString label(int language) const { return language == Chinese ? labelZh : labelEn; }
    QString valueA(int language) const { return language == Chinese ? aZh : a; }
    QString valueB(int language) const { return language == Chinese ? bZh : b; }
};

struct Result {
    std::vector<Difference> items;
    bool equal() const { return items.empty(); }
};

// Compares a with b.  Fields only one kind of document holds are compared
// only when both hold them; two images are also compared byte for byte where
// no field holds the bytes.
Result Compare(const Document& a, const Document& b);

// ---- texts -----------------------------------------------------------------

QString BandName(int band);                         // "HF", "HAM"
// The place a difference is listed under: "HF group A", "Option features",
// "DTMF code 3", "Roger beep pattern 2", "Memory 0x4A16-0x4A17".
QString PlaceGroupText(const Place& p, int language);
// The item inside that place: "CH 12", "M1", or empty.
QString PlaceItemText(const Place& p, int language);
QString ChangeText(Change c, int language);         // "changed", "added", ...

// A readable table, one block per place with its count.
QString TableText(const Result& r, int language, const QString& nameA, const QString& nameB);
// One line per difference: place,item,field,change,a,b (RFC 4180 quoting).
QString CsvText(const Result& r, int language);
QString JsonText(const Result& r, int language, const QString& nameA, const QString& nameB);
// One line for a question: "14 channels in groups A and C, 2 option features
// and DTMF code 3" (no verb, no full stop); "nothing" when equal.
QString SummaryText(const Result& r, int language);

}  // namespace kt::cmp

namespace kt::cmp {

// Loads a data file pair (.dat with its .fre) or a memory image (.img) as a
// document of base's installation; base itself is not touched.  On failure
// false, with what is wrong in error (as Open and the tool's inputs say it;
// the file is not named there).
bool LoadDocument(const Workspace& base, const QString& path, Document& out, QString& error);

}  // namespace kt::cmp
