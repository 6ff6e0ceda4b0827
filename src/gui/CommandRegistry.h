// The commands the main window offers beyond its own document, edit, view,
// window and language items: each wing of the program (the radio link, the
// channel files, the report, the manual) registers its menu items with their
// handlers, as the editors register their windows.  The main window binds its
// menu and tool bar from these and includes no wing; the registrations are in
// Commands.cpp.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QSettings;

namespace kt {

class MainHost;

// A wing lives as long as the main window and may keep state (a port, a
// simulated radio) between its commands.
class CommandWing : public QObject {
public:
    using QObject::QObject;

    struct Command {
        const char* menuName;   // the menu item it answers ("mnuReadFromRadio")
        std::function<void()> run;
    };
    virtual std::vector<Command> Commands() = 0;
    // The main window was resized or moved out of the way: timers stop.
    virtual void MainResized() {}
    // Another software version is about to start: ports are let go.
    virtual void BeforeOtherVersion() {}
};

// Makes a wing for the main window; store is its per-user settings store.
using WingFactory = std::function<CommandWing*(MainHost& host, QSettings& store, QObject* parent)>;

// The program's wings, in the order their commands are bound.
const std::vector<WingFactory>& StandardCommandWings();

}  // namespace kt
