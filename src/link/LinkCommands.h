// The command-line tool's link commands (kt6383 read / write / simulate).
// args are the words after the command's name; the result is the exit status.
#pragma once

#include <QStringList>

namespace kt {

int RunReadCommand(const QStringList& args);
int RunWriteCommand(const QStringList& args);
int RunSimulateCommand(const QStringList& args);

extern const char* const kReadUsage;
extern const char* const kWriteUsage;
extern const char* const kSimulateUsage;

}  // namespace kt
