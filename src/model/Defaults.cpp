#include "model/Defaults.h"

#include "model/ChannelRules.h"
#include "model/DataFile.h"

#include <QDate>

namespace kt {

namespace {

// Groups that get default data: the loop that sets the current rows ends at 13
// and the group defaults of both bands use that count.
constexpr int kDefaultGroups = 13;

// Channel 1 with its group's default frequency in every group that has one.
// Nothing past a group's rows: the radio keeps channels 1-40 of a lettered
// group only, and a channel numbered beyond them would land on the next
// group's records when written.
void SetDefaultChannels(Workspace& ws)
{
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= ws.GroupCount; ++g) {
            ws.ChannelCount(b, g) = 0;
            const QByteArray freq = DefaultFrequency(g);
            if (!freq.isEmpty()) InsertChannel(ws, 1, b, g, QString::fromLatin1(freq));
        }
}

void SetDefaultOptions(Workspace& ws)
{
    OptFeatRec& o = ws.WorkRecord.OptFeat;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= ws.GroupCount; ++g) {
            // A group is valid when it holds a channel, so a new job has no
            // valid group without one.
            o.GroupEnable[b][g] = ws.ChannelCount(b, g) > 0 ? 1 : 0;
            o.GroupName[b][g].set(QByteArray(1, char('A' + g - 1)) + QByteArray(1, '\0'));
            o.EmgCh1[b][g] = o.EmgCh2[b][g] = 1;
            o.EmgMode1[b][g] = o.EmgMode2[b][g] = 1;
            o.GrpByte[b][g] = 1;
            o.Opt558[b][g] = 41;
        }

    o.Opt4804H = 2;
    o.Spare342 = 1;
    o.HfWorkGroup = 1;
    o.HamWorkGroup = 1;
    o.PublicNbAnl = 1;
    o.BeepLevel = 1;
    o.MenuPage = 1;
    o.MicGain = 30;
    o.SwrProtect = 1;
    o.BattProtect = 1;
    o.BattMin = 97;
    o.BattMax = 168;
    o.SwrMax = 160;
    o.PublicMode = 1;
    o.FmEnabled = o.AmEnabled = o.UsbEnabled = o.LsbEnabled = o.PaEnabled = 1;
    o.DtmfSendTime = o.DtmfFirstDigitTime = o.DtmfFirstDigitDelay = 1;
    for (int k = 1; k <= kDtmfCodes; ++k) o.DtmfCode[k].set(QByteArray(1, '\0'));

    DataRecord& r = ws.WorkRecord;
    r.TxOffset = 100;
    r.FreqChMode = 0;
    r.AsqLevel = 5;
    const int16_t table12[12] = {0, 3, 10, 14, 24, 35, 0, 5, 8, 12, 23, 35};
    std::copy(std::begin(table12), std::end(table12), r.OptTable12);
}

void SetDefaultModelInfo(Workspace& ws)
{
    ModelInfoRec& mi = ws.WorkRecord.ModelInfo;
    mi.MiBandClass2 = int16_t(BandClassOf(ws.BandRange));
    mi.MiModelShort.set((ws.ModelCode + QByteArray(1, '\0')).left(6));
    mi.MiLetter = 67;
    mi.MiDate.set(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toLatin1());
    mi.MiVersion.set("V2.00");
}

// Roger-beep patterns 0-4 as (frequency code, length code) per tone; 5-7 stay silent.
void SetDefaultRogerBeeps(Workspace& ws)
{
    struct Tone { int16_t freq, len; };
    const std::vector<std::vector<Tone>> patterns = {
        {{210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}},
        {{80, 4}, {0, 4}, {80, 4}, {0, 4}, {80, 4}, {0, 4}, {80, 4},
         {0, 4}, {80, 4}, {0, 4}, {80, 4}, {0, 4}, {80, 4}, {0, 4}},
        {{170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}},
        {{64, 6}, {94, 6}, {134, 6}, {163, 6}, {192, 6}},
        {{150, 20}, {70, 20}, {150, 20}, {70, 20}, {150, 20}, {70, 20}},
    };
    for (int p = 0; p < kRbPatterns; ++p) ws.WorkRecord.RbPattern[p] = RbPatternRec{};
    for (int p = 0; p < int(patterns.size()); ++p) {
        RbPatternRec& rb = ws.WorkRecord.RbPattern[p];
        rb.RbRecycle = 1;
        rb.RbInterTime = 0;
        for (int i = 0; i < int(patterns[p].size()); ++i) {
            rb.RbTone[0][i] = patterns[p][i].freq;
            rb.RbTone[1][i] = patterns[p][i].len;
        }
    }
}

QString TemplatePath(const Workspace& ws, const char* name)
{
    return ws.ProgramDir + "/Init/" + QString::number(BandClassOf(ws.BandRange)) + "_" + name;
}

}  // namespace

void InitDefaults(Workspace& ws, bool loadTemplate)
{
    ws.IsUntitled = true;
    ws.ChannelsUnread = 0;
    ws.CurrentFile = ws.PreviousFile = QStringLiteral("new.dat");

    ws.WorkRecord = DataRecord{};
    ws.Channels = ChannelTable{};
    ws.WorkRecord.Version.set(kDataVersion);
    ws.WorkRecord.BandType = 0;
    ws.WorkRecord.CurGroup[0] = ws.WorkRecord.CurGroup[1] = 1;
    for (int g = 1; g <= GroupsOfBand(0); ++g) ws.WorkRecord.CurRow[0][g] = 1;
    for (int g = 1; g <= kDefaultGroups; ++g) ws.WorkRecord.CurRow[1][g] = 1;
    ws.GroupCount = kDefaultGroups;

    SetDefaultChannels(ws);
    SetDefaultOptions(ws);
    SetDefaultModelInfo(ws);
    SetDefaultRogerBeeps(ws);

    if (loadTemplate) LoadNewTemplate(ws);
    TakeSnapshot(ws);
}

QString NewTemplatePath(const Workspace& ws) { return TemplatePath(ws, "YF6383_New.dat"); }
QString InitialTemplatePath(const Workspace& ws) { return TemplatePath(ws, "YF6383.dat"); }

void LoadNewTemplate(Workspace& ws) { LoadTemplate(ws, NewTemplatePath(ws)); }
void LoadInitialTemplate(Workspace& ws) { LoadTemplate(ws, InitialTemplatePath(ws)); }

void AddDefaultChannel(Workspace& ws, int band, int group)
{
    const QByteArray freq = DefaultFrequency(group);
    if (freq.isEmpty() || band < 0 || band >= kBands) return;
    const int before = ws.ChannelCount(band, group);
    InsertChannel(ws, 1, band, group, QString::fromLatin1(freq));
    if (ws.ChannelCount(band, group) != before) emit ws.Events().channelsChanged(band, group);
}

void BuildTemplateData(Workspace& ws, int bandClass)
{
    const int16_t bandType = bandClass == 0 ? 0 : 1;
    ws.BandRange = BandTextOf(bandType);
    InitDefaults(ws, false);
    ws.WorkRecord.BandType = bandType;
    TakeSnapshot(ws);
}

bool BuildNewDocument(Workspace& ws, int bandClass)
{
    BuildTemplateData(ws, bandClass);
    // The band range of the class chooses the template, as at start-up.
    return LoadTemplate(ws, NewTemplatePath(ws));
}

QByteArray DefaultFrequency(int group)
{
    switch (group) {
    case 1: case 7: return "28.015000";
    case 2: case 8: return "28.145000";
    case 3: case 9: return "28.115000";
    case 4: case 10: return "28.085000";
    case 5: return "28.055000";
    case 6: return "28.025000";
    default: return {};
    }
}

}  // namespace kt
