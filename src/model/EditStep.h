// One change of the document as the user sees it: a typed frequency, a paste,
// an option chosen, a whole document read from the radio.  Whoever changes
// the document opens an EditStep around the change; the workspace's recorder
// (the undo history of the desktop program) takes the document before and
// after and keeps the step under its name.  Without a recorder (the
// command-line tool, most tests) a step does nothing.
#pragma once

#include "base/Texts.h"

#include <QString>

namespace kt {

struct Workspace;

// A step's name in both languages, shown as "Undo <name>".
struct StepName {
    QString en, zh;
    QString in(int language) const { return language == Chinese ? zh : en; }
    bool isEmpty() const { return en.isEmpty(); }
};
StepName Named(const Bi& what);
// "what detail": Named(kPaste, ChannelStepDetail(...)) gives "Paste CH A12".
StepName Named(const Bi& what, const StepName& detail);
// A detail that reads the same in both languages ("Pattern 3", a label).
StepName Plain(const QString& text);
// "a b" in each language.
StepName Joined(const StepName& a, const StepName& b);
// "CH A12", "CH MEM M7", "CH HAM B3": the channel of a row of a group.
StepName ChannelStepDetail(int band, int group, int row);
// "A", "MEM", "HAM C": the group, after what was changed of it ("Group Name A").
StepName GroupStepDetail(int band, int group);

namespace steptxt {
inline constexpr Bi Edit{"Edit", "编辑"};
inline constexpr Bi Frequency{"Frequency", "频率"};
inline constexpr Bi NewChannel{"New Channel", "新建信道"};
inline constexpr Bi DeleteChannel{"Delete", "删除"};
inline constexpr Bi Cut{"Cut", "剪切"};
inline constexpr Bi Paste{"Paste", "粘贴"};
inline constexpr Bi InsertPaste{"Insert&Paste", "插入粘贴"};
inline constexpr Bi Band{"Band", "频段"};
inline constexpr Bi WorkGroup{"Work Group", "工作组"};
inline constexpr Bi GroupValid{"Group Valid", "组有效"};
inline constexpr Bi GroupName{"Group Name", "组名称"};
inline constexpr Bi Option{"Option", "选项"};
inline constexpr Bi DtmfCode{"DTMF Code", "DTMF 码"};
inline constexpr Bi RogerBeep{"Roger Beep", "RB音"};
inline constexpr Bi New{"New", "新建"};
inline constexpr Bi InitialSetting{"Initial Setting", "初始化设置"};
inline constexpr Bi ReadFromRadio{"Read from Radio", "从对讲机读取数据"};
inline constexpr Bi ImportChannels{"Import Channels", "导入信道"};
inline constexpr Bi RestoreBackup{"Restore Backup", "恢复备份"};
inline constexpr Bi Channel{"CH", "信道"};
}  // namespace steptxt

class EditRecorder {
public:
    enum class Kind {
        Edit,     // a change the user made: one step
        Absorb,   // what showing a window writes back (a value with no entry shown as
                  // the first one): part of the state it is in, not a step of its own
    };
    virtual ~EditRecorder() = default;
    virtual void BeginStep(Kind kind) = 0;
    // mergeKey: consecutive steps with the same key other than 0 become one
    // (the letters of a group name, the characters of a DTMF code).
    virtual void EndStep(Kind kind, const StepName& name, int mergeKey) = 0;
};

// Steps nest: only the outermost one is kept, under its name.
class EditStep {
public:
    EditStep(Workspace& ws, StepName name, int mergeKey = 0);
    ~EditStep();
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;

    // The name once it is known what the change was (a cell emptied deletes).
    void Rename(StepName name) { name_ = std::move(name); }
    // What a window writes back while showing the document.
    static EditStep Absorbing(Workspace& ws);

private:
    EditStep(Workspace& ws, EditRecorder::Kind kind);
    EditRecorder* recorder_;
    EditRecorder::Kind kind_;
    StepName name_;
    int mergeKey_ = 0;
};

// Merge keys, one range per kind of typing.
namespace stepkey {
inline int GroupName(int band, int group) { return 1000 + band * 100 + group; }
inline int DtmfCode(int code) { return 2000 + code; }
}  // namespace stepkey

}  // namespace kt
