#include "SimFaults.h"

namespace r73::sim {

bool SimFaults::add(const QString& fault, QString* error)
{
    const qsizetype eq = fault.indexOf(u'=');
    const QString mode = fault.left(eq).trimmed();
    const QString value = eq < 0 ? QString() : fault.mid(eq + 1).trimmed();
    auto fail = [&](const QString& why) {
        if (error) *error = QStringLiteral("bad fault \"%1\": %2").arg(fault, why);
        return false;
    };
    if (eq < 0 || value.isEmpty()) return fail(QStringLiteral("expected MODE=VALUE"));

    if (mode == QLatin1String("silent-after") || mode == QLatin1String("close-after") ||
        mode == QLatin1String("bad-status-at")) {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 0) return fail(QStringLiteral("count must be a number >= 0"));
        (mode == QLatin1String("silent-after")  ? silentAfter
         : mode == QLatin1String("close-after") ? closeAfter
                                                : badStatusAt) = n;
        return true;
    }
    if (mode == QLatin1String("endless-history")) {
        if (value != QLatin1String("1")) return fail(QStringLiteral("the value must be 1"));
        endlessHistory = true;
        return true;
    }
    QSet<QString>* names = nullptr;
    if (mode == QLatin1String("silent-on"))
        names = &silentOn;
    else if (mode == QLatin1String("bad-status"))
        names = &badStatus;
    else if (mode == QLatin1String("unknown"))
        names = &unknown;
    else if (mode == QLatin1String("garbage-on"))
        names = &garbageOn;
    else if (mode == QLatin1String("ignore"))
        names = &ignoreOn;
    else
        return fail(QStringLiteral("unknown mode"));
    names->insert(value);
    return true;
}

bool SimFaults::isEmpty() const
{
    return silentAfter < 0 && closeAfter < 0 && badStatusAt < 0 && silentOn.isEmpty() &&
           badStatus.isEmpty() && unknown.isEmpty() && garbageOn.isEmpty() && ignoreOn.isEmpty() &&
           !endlessHistory;
}

QStringList SimFaults::describe() const
{
    QStringList out;
    if (silentAfter >= 0) out << QStringLiteral("silent-after=%1").arg(silentAfter);
    if (closeAfter >= 0) out << QStringLiteral("close-after=%1").arg(closeAfter);
    if (badStatusAt >= 0) out << QStringLiteral("bad-status-at=%1").arg(badStatusAt);
    auto addNames = [&out](const char* mode, const QSet<QString>& names) {
        QStringList sorted(names.begin(), names.end());
        sorted.sort();
        for (const QString& n : sorted)
            out << QString::fromLatin1(mode) + u'=' + n;
    };
    addNames("silent-on", silentOn);
    addNames("bad-status", badStatus);
    addNames("unknown", unknown);
    addNames("garbage-on", garbageOn);
    addNames("ignore", ignoreOn);
    if (endlessHistory) out << QStringLiteral("endless-history=1");
    return out;
}

QString SimFaults::help()
{
    return QStringLiteral("  silent-after=N   answer nothing after N completed exchanges\n"
                          "  close-after=N    close the line and exit after N completed exchanges\n"
                          "  silent-on=NAME   never answer calls of NAME\n"
                          "  bad-status=NAME  answer calls of NAME with status 01 01\n"
                          "  bad-status-at=N  answer the call after N completed exchanges with "
                          "01 01\n"
                          "  unknown=NAME     the lookup of NAME answers id 0\n"
                          "  garbage-on=NAME  stray bytes precede the answer to NAME\n"
                          "  ignore=NAME      calls of NAME answer success but change nothing\n"
                          "  endless-history=1 no end of the history, no number twice\n");
}

} // namespace r73::sim
