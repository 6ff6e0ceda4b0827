// kt6383pro: the desktop program.
//   --root DIR       installation root (default: the parent of the program's folder)
//   --group-write    offers the write to a group of radios
//   --quit-after-show  ends as soon as the main window is shown and prints
//                    the peak memory (used by the start-up benchmark)
//   --screenshot FILE  saves a picture of the main window once shown, then ends
#include "gui/GuiAsker.h"
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

namespace {

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
    parser.addOptions({rootOpt, groupOpt, quitOpt, shotOpt});
    parser.process(app);

    // Numbers are shown and read with "." whatever the user's locale says.
    QLocale::setDefault(QLocale::c());

    const QString programDir = QCoreApplication::applicationDirPath();
    QApplication::setWindowIcon(QIcon(programDir + "/PIC/kt6383pro.png"));

    kt::Workspace ws;
    kt::StartOptions opt;
    opt.programDir = programDir;
    opt.root = parser.isSet(rootOpt) ? QDir(parser.value(rootOpt)).absolutePath() : QString();
    opt.groupWrite = parser.isSet(groupOpt);
    opt.systemLanguage = kt::SystemLanguageOf(QLocale::system());
    kt::StartUp(ws, opt);

    kt::GuiAsker asker(ws);
    ws.asker = &asker;

    kt::frmMain main(ws);
    asker.setParent(&main);
    main.show();

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
    ws.asker = nullptr;
    return rc;
}
