// What export, import and check share: "-" for standard input and output,
// the flags that take no value, and the layout options.
#pragma once

#include "cli/Cli.h"
#include "rules/channels/ChannelCsv.h"

namespace kt::cli {

// Takes the flags (options without a value) out of args; true when flag was there.
bool TakeFlag(QStringList& args, const QString& flag);

// Writes through a temporary file renamed at the end, so a failure leaves no
// partial file; "-" writes to standard output.
bool WriteAllTo(const QString& path, const QByteArray& bytes, QString& error);

// --format, --band, --group: false with a usage message.
// For an import the layout comes from the header, so --band and --group go
// without --format there.
bool ParseLayout(const ParsedArgs& p, bool forImport, bool& interchange, CsvPlace& place, QString& error);

// "-" is named "standard input" / "standard output" in messages.
QString ShownName(const QString& path, bool input);

}  // namespace kt::cli
