// kt6383pro: the desktop program.
//   --root DIR       installation root (default: the parent of the program's folder)
//   --group-write    offers the write to a group of radios
//   --quit-after-show  ends as soon as the main window is shown and prints
//                    the peak memory (used by the start-up benchmark)
//   --screenshot FILE  saves a picture of the main window once shown, then ends
//   --language zh|en   the system language for this run (what a first run
//                    starts in and whether Chinese is offered)
//   FILE             a data file (or a memory image, a backup) opened as Open
//                    opens it
#include "gui/GuiAsker.h"
#include "gui/StartUpWork.h"
#include "shell/Autosave.h"
#include "shell/DocumentHistory.h"
#include "shell/Settings.h"
#include "shell/Shell.h"
#include "gui/frmMain.h"
#include "model/Workspace.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr kt::Bi kNeedsDisplay{
    "kt6383pro needs a graphical display; kt6383 does the same work on the command line (kt6383 --help).",
    "kt6383pro 需要图形显示；命令行工具 kt6383 可完成同样的工作（kt6383 --help）。"};

// "--language zh|en" (or "--language=zh"); 0 when not given or not one of the two.
int LanguageArgument(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        if (std::strcmp(argv[i], "--language") == 0 && i + 1 < argc) value = argv[i + 1];
        else if (std::strncmp(argv[i], "--language=", 11) == 0) value = argv[i] + 11;
        if (!value) continue;
        if (std::strcmp(value, "zh") == 0) return kt::Chinese;
        if (std::strcmp(value, "en") == 0) return kt::English;
    }
    return 0;
}

// Without a display Qt aborts in its platform plug-in; a person started the
// program over SSH or in a container, so they get one plain line instead.
bool DisplayMissing(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0) return false;
    for (const char* var : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(var);
        if (v && *v) return false;
    }
    return true;
}

QString PeakMemoryLine()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return QString::fromLatin1(line.simplified());
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    const int languageArg = LanguageArgument(argc, argv);
    if (DisplayMissing(argc, argv)) {
        const int L = languageArg ? languageArg : kt::SystemLanguageOf(QLocale::system());
        std::fprintf(stderr, "%s\n", kNeedsDisplay.in(L).toUtf8().constData());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("KT-6383 Pro");
    QApplication::setOrganizationName("KT-6383 Pro");
    QApplication::setApplicationVersion(KT_VERSION_TEXT);

    QCommandLineParser parser;
    parser.setApplicationDescription("KT-6383 Pro programming software");
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption rootOpt("root", "Installation root (Version.ini, language/).", "DIR");
    QCommandLineOption groupOpt("group-write", "Offer the write to a group of radios.");
    QCommandLineOption quitOpt("quit-after-show", "End once the main window is shown (benchmark).");
    QCommandLineOption shotOpt("screenshot", "Save a picture of the main window and end.", "FILE");
    QCommandLineOption langOpt("language", "System language for this run: zh (Chinese) or en (English).",
                               "zh|en");
    parser.addOptions({rootOpt, groupOpt, quitOpt, shotOpt, langOpt});
    parser.addPositionalArgument("file", "A data file (.dat) or a memory image (.img, a backup) to open.", "[file]");
    parser.process(app);
    if (parser.isSet(langOpt) && !languageArg) {
        std::fprintf(stderr, "kt6383pro: --language takes zh or en, not \"%s\"\n",
                     qPrintable(parser.value(langOpt)));
        return 2;
    }

    // Numbers are shown and read with "." whatever the user's locale says.
    QLocale::setDefault(QLocale::c());

    const QString programDir = QCoreApplication::applicationDirPath();
    QApplication::setWindowIcon(QIcon(programDir + "/PIC/kt6383pro.png"));

    kt::Workspace ws;
    kt::StartOptions opt;
    opt.programDir = programDir;
    opt.root = parser.isSet(rootOpt) ? QDir(parser.value(rootOpt)).absolutePath() : QString();
    opt.groupWrite = parser.isSet(groupOpt);
    opt.systemLanguage = languageArg ? languageArg : kt::SystemLanguageOf(QLocale::system());
    opt.resolvePort = true;
    kt::StartUp(ws, opt);

    kt::GuiAsker asker(ws);
    ws.asker = &asker;

    kt::frmMain main(ws);
    asker.setParent(&main);
    asker.setRecent(&main.Recent());
    main.show();

    // The unsaved work of this run is kept for recovery; what a crashed run
    // left is offered first, then the file the command line names is opened.
    // A run that only takes a picture or measures its start keeps nothing.
    std::unique_ptr<kt::Autosave> keeper;
    if (!parser.isSet(shotOpt) && !parser.isSet(quitOpt)) {
        keeper = std::make_unique<kt::Autosave>(ws, kt::DefaultRecoveryBase(), &main.History());
        kt::OfferRecoveryAtStart(main, *keeper);
    }
    kt::OpenFromCommandLine(main, parser.positionalArguments());

    if (parser.isSet(shotOpt)) {
        const QString file = parser.value(shotOpt);
        QTimer::singleShot(300, &app, [&main, file] {
            main.grab().save(file);
            QCoreApplication::exit(0);
        });
    } else if (parser.isSet(quitOpt)) {
        QTimer::singleShot(0, &app, [] {
            std::printf("%s\n", qPrintable(PeakMemoryLine()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }
    const int rc = app.exec();
    keeper.reset();
    ws.asker = nullptr;
    return rc;
}
