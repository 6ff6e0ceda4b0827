// Pieces of the comparison: labels and value texts in both languages, taken
// from the editors' tables, and the texts of the comparison itself.
#pragma once

#include "base/Texts.h"
#include "model/ImageLayout.h"
#include "rules/channels/ChannelTables.h"
#include "rules/compare/Compare.h"
#include "rules/options/OptionTables.h"

#include <QHash>
#include <array>

namespace kt::cmp {

struct Label {
    QString en, zh;
    // A label of an editor; "(&X)" and "&" taken out.
    static Label Of(const Bi& b);
    // A value no editor shows, by the name the layout gives it.
    static Label Stored(const QByteArray& name);
};

struct Values {
    QString en, zh;
    static Values Same(const QString& s) { return {s, s}; }
    static Values Number(int v) { return Same(QString::number(v)); }
};

namespace texts {
inline const Label DifferentBands{QStringLiteral("Different bands: compared field by field"),
                                  QStringLiteral("频段不同：逐项比较")};
inline const Label ChannelWord{QStringLiteral("Channel"), QStringLiteral("信道")};
inline const Label Bytes{QStringLiteral("Bytes no field holds"), QStringLiteral("无字段对应的字节")};
}  // namespace texts

// How a single setting is shown.
struct SettingInfo {
    enum Kind { List, Check, Number, DtmfTiming, DCode, OnOff, WorkGroup, Plain } kind = Plain;
    Place place;
    Label label;
    const opt::ListSetting* list = nullptr;
    const opt::NumberSetting* number = nullptr;
    int timing = 0;
};
const SettingInfo& InfoOf(const layout::SettingEntry& e);

enum class GroupValueKind { EmgCh, EmgMode, Plain };
GroupValueKind GroupValueKindOf(BandGroupI16 OptFeatRec::*member);
Label GroupValueLabel(GroupValueKind kind, const char* name);
Values GroupValueText(GroupValueKind kind, int v);

enum class RbValueKind { Recycle, InterTime, Frequency, Length };
RbValueKind RbValueKindOf(int byte);
Label RbLabel(RbValueKind kind, int tone);

// Value texts of one document: the lists of the channel fields and of the
// option features depend on the document (enabled modes, defined codes and
// patterns), so they are built once per document and language.
class Formatter {
public:
    explicit Formatter(const Workspace& ws) : ws_(const_cast<Workspace&>(ws)) {}
    Values Ch(const ChannelRec& rec, ChField f, bool memoryGroup);
    static Label ChLabel(ChField f);
    Values Setting(const SettingInfo& info, int v);
    Values Rb(RbValueKind kind, int v);
    static Values OnOff(int v);

private:
    const QStringList& ChList(ChField f, bool mem, int language);
    const QStringList& OptList(int id, int language);
    Workspace& ws_;
    QHash<int, QStringList> lists_;
};

QString FreqText(const FixedText<8>& f);        // as the channel grid shows it
QString TrimmedText(const QByteArray& bytes);   // cut at NUL, spaces trimmed
QString RawText(const char* bytes, int size);   // printable as is, others as \xNN
bool IsTextMember(const QByteArray& name);
int LittleEndian(const char* bytes, int size);
QString HexBytes(const std::vector<uint8_t>& image, int first, int last);

}  // namespace kt::cmp
