#include "base/ListHelpers.h"

#include <QLocale>
#include <QRegularExpression>

namespace kt {

QString ListTextAt(const QStringList& list, int index)
{
    if (list.isEmpty()) return {};
    if (index < 0 || index >= list.size()) return list.first();
    return list.at(index);
}

QString ListTextMatching(const QStringList& list, const QString& text)
{
    if (list.isEmpty()) return {};
    return list.contains(text) ? text : list.first();
}

bool IsNumericText(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    return re.match(text).hasMatch();
}

double NumberOr(const QString& text, double fallback)
{
    if (!IsNumericText(text)) return fallback;
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? v : fallback;
}

}  // namespace kt
