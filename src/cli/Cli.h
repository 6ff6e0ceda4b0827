// Shared pieces of the command-line tool: the command table entry, argument
// parsing, the tool's asker, the workspace of an installation and the loading
// of an input file.  Each command lives in its own Cmd*.cpp file and is listed
// once in the command table of kt6383.cpp.
#pragma once

#include "base/Ask.h"
#include "model/Workspace.h"

#include <QMap>
#include <QStringList>
#include <QTextStream>
#include <memory>

namespace kt::cli {

enum Exit { kExitOk = 0, kExitBadInput = 1, kExitUsage = 2 };

struct Command {
    const char* name;
    const char* summary;   // one line for "kt6383 --help"
    const char* help;      // the command's own --help text
    int (*run)(const QStringList& args);   // the arguments after the command name
};

// A command's arguments: positional ones, "--name value" options and --help.
struct ParsedArgs {
    QStringList positional;
    QMap<QString, QString> options;
    bool help = false;
    QString error;   // set when the command line cannot be understood
};
// valueOptions: the options that take a value ("--root", ...); any other
// "--name" is an error.
ParsedArgs ParseArgs(const QStringList& args, const QStringList& valueOptions);

QTextStream& Out();
QTextStream& Err();

// "kt6383 NAME: message" and the command's help on stderr; returns kExitUsage.
int UsageError(const Command& cmd, const QString& message);
// "kt6383: FILE: what" on stderr (one line); BadInput returns kExitBadInput.
void Warn(const QString& file, const QString& what);
int BadInput(const QString& file, const QString& what);
// Prints the command's help to stdout; returns kExitOk.
int ShowHelp(const Command& cmd);

// Prints every notice to stderr and answers questions No or Cancel (a notice
// with an OK button only is answered OK).  File dialogs are cancelled.
class ToolAsker : public Asker {
public:
    Answer ask(const QString& text, Buttons buttons, Icon icon, bool withTitle = true) override;
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
};

// The workspace of the installation: ProgramDir is the executable's folder,
// InstallRoot is root when given, else the parent of ProgramDir; the version
// registry is loaded from InstallRoot.
std::unique_ptr<Workspace> MakeWorkspace(const QString& root, Asker& asker);

bool IsImagePath(const QString& path);   // ".img"
bool IsDataPath(const QString& path);    // ".dat"

// Loads path into ws: an image is decoded over the built-in defaults (as
// after a read from the radio), a data file pair is opened.  On failure
// returns false with what is wrong in error (the file is not named there).
bool LoadInput(Workspace& ws, const QString& path, QString& error);

// The commands.
extern const Command kShow;
extern const Command kConvert;
extern const Command kNew;
extern const Command kRead, kWrite, kSimulate;
extern const Command kBeep, kReport;
extern const Command kExport, kImport, kCheck;
extern const Command kBackups;
extern const Command kFill;
extern const Command kDiff;
extern const Command kPorts;

}  // namespace kt::cli
