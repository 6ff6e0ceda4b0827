// kt6383 ports: the serial ports present, named as the system knows them,
// and the simulated radio last.
#include "cli/Cli.h"

#include "link/PortList.h"

namespace kt::cli {

namespace {

int RunPorts(const QStringList& args)
{
    const ParsedArgs p = ParseArgs(args, {});
    if (p.help) return ShowHelp(kPorts);
    if (!p.error.isEmpty()) return UsageError(kPorts, p.error);
    if (!p.positional.isEmpty()) return UsageError(kPorts, QStringLiteral("no files are given to this command"));
    const auto dash = [](const QString& s) { return s.trimmed().isEmpty() ? QStringLiteral("-") : s.trimmed(); };
    for (const PortEntry& e : AvailablePorts()) {
        QStringList cols;
        if (e.simulated) cols << QStringLiteral("sim") << "-" << QStringLiteral("Simulated radio") << "-" << "-" << "-";
        else cols << e.name << dash(e.location) << dash(e.description) << dash(e.manufacturer) << dash(e.UsbId())
                  << dash(e.serialNumber);
        Out() << cols.join('\t') << "\n";
    }
    Out().flush();
    return kExitOk;
}

}  // namespace

const Command kPorts{
    "ports", "list the serial ports a radio's cable may be on",
    "usage: kt6383 ports\n"
    "  Lists the serial ports present, one per line, tab-separated: name, device, description,\n"
    "  manufacturer, USB vendor:product id, serial number (\"-\" where the system does not\n"
    "  say), and last the simulated radio ('sim').  The name or the device goes to --port.\n"
    "  Unplug the cable and run it again to see which port is the cable's.\n"
    "  Exit status: 0, or 2 for a usage error.\n",
    &RunPorts};

}  // namespace kt::cli
