// r73ctl set FILE KEY=VALUE ... --out NEW: edits a backup without a controller, each value
// checked as its page checks it before a send (the channels' ranges and limits on their scale),
// the clamp-without-tool rule kept as the pages keep it; NEW is written whole, FILE left as it
// was.

#include "BackupFile.h"
#include "ChannelSequences.h"
#include "ParamFormat.h"
#include "SettingsCommands.h"
#include "TextHook.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>
#include <algorithm>

namespace r73::cli {

namespace {

/// The value typed for a setting, as the page takes it; nullopt with the page's reason.
std::optional<backup::Value> parsedValue(const backup::Setting& s, const QString& text,
                                         QString* why)
{
    switch (s.kind) {
    case backup::Kind::Param: {
        // Numbers as the pages show them, with a point for decimals.
        const FieldCheck check = checkField(s.param->conversion, text, QLocale::c());
        if (!check.value) {
            *why = check.message;
            return std::nullopt;
        }
        backup::Value v{quint16(*check.value)};
        // Held within 1..1000, as the page sends it.
        if (s.param->conversion == ParamConversion::StopFrequency)
            v.word = quint16(std::clamp<qint64>(*check.value, StopFrequencyMin, StopFrequencyMax));
        return v;
    }
    case backup::Kind::Switch: {
        const QString t = text.trimmed().toLower();
        if (t == QLatin1String("on") || t == QLatin1String("ein") || t == QLatin1String("1"))
            return backup::Value{0xFFFF};
        if (t == QLatin1String("off") || t == QLatin1String("aus") || t == QLatin1String("0"))
            return backup::Value{0};
        *why = QStringLiteral("on or off");
        return std::nullopt;
    }
    case backup::Kind::ParameterWord:
        // As a number of its two bits, or as params shows it.
        for (quint16 w = 0; w <= 3; ++w)
            if (text.trimmed() == QString::number(w) || text == backup::shown(s, backup::Value{w}))
                return backup::Value{w};
        *why = QStringLiteral("0 to 3: bit 0 the channel active, bit 1 the 4-20 mA input");
        return std::nullopt;
    case backup::Kind::Text:
        // An empty unit goes to the controller as a single blank, as its page sends it.
        if (s.text == backup::ChannelText::Unit && trimControls(text).isEmpty())
            return backup::Value{0, QStringLiteral(" ")};
        return backup::Value{0, text};
    case backup::Kind::ChannelLimit:
        return backup::Value{0, text}; // its word follows from the channel's scale
    }
    return std::nullopt;
}

/// A channel's limit words from their texts on its scale, as its page computes them when the
/// range or a limit is entered; a text that is no number keeps its word for the check to refuse.
void rescale(backup::Snapshot& snapshot, int channel)
{
    const QString stem = QStringLiteral("channel%1.").arg(channel);
    bool lowOk = false, highOk = false;
    const double low =
        QLocale::c().toDouble(snapshot.values.value(stem + "minimum").text.trimmed(), &lowOk);
    const double high =
        QLocale::c().toDouble(snapshot.values.value(stem + "maximum").text.trimmed(), &highOk);
    if (!lowOk || !highOk || low > high) return;
    const qint32 bottom = rawBottom(snapshot.values.value(stem + "parameters").word);
    for (Limit l : LimitWriteOrder) {
        backup::Value& limit = snapshot.values[stem + limitName(l).toLower()];
        bool ok = false;
        const double v = QLocale::c().toDouble(limit.text.trimmed(), &ok);
        if (ok && v >= low && v <= high)
            limit.word = quint16(physToRaw(v, low, high, bottom, RawTop));
    }
}

} // namespace

int runSet(const QStringList& args, const QCommandLineParser& parser)
{
    const QString out = parser.value(QStringLiteral("out"));
    if (args.size() < 2 || out.isEmpty()) return BadUsage;
    backup::Snapshot original;
    if (!loadFile(args.first(), original)) return Refused;
    backup::Snapshot edited = original;
    for (const QString& assignment : args.mid(1)) {
        const qsizetype eq = assignment.indexOf(u'=');
        const QString key = assignment.left(eq).trimmed();
        const backup::Setting* s = eq > 0 ? backup::settingOf(key) : nullptr;
        if (!s)
            return refuse(
                QStringLiteral("%1: no such setting (KEY=VALUE, keys as params lists them)")
                    .arg(assignment));
        if (!backup::offeredBy(*s, original.id.bios))
            return refuse(QStringLiteral("%1: BIOS %2 does not offer it")
                              .arg(key, backup::versionText(original.id.bios)));
        QString why;
        const std::optional<backup::Value> v = parsedValue(*s, assignment.mid(eq + 1), &why);
        if (!v) return refuse(QStringLiteral("%1: %2").arg(key, why));
        // The clamp page sends it only above the long limit it shows (each assignment as an
        // Enter on its page, in the order given).
        if (key == QLatin1String("clamp.without_tool") &&
            qint16(edited.values.value(QStringLiteral("clamp.long")).word) >= qint16(v->word))
            return refuse(QStringLiteral("%1: %2").arg(
                key, tr73(0, QString::fromUtf8("Spannen ohne Werkzeug muß größer sein als Lang"))));
        edited.values.insert(key, *v);
        if (s->channel > 0) rescale(edited, s->channel);
    }
    // The channel pages' range and limit checks, and the texts the controller can take.
    if (const QString problem = backup::firstProblem(edited); !problem.isEmpty())
        return refuse(problem);
    // A long limit that reached the clamp-without-tool one raises it, as Enter in "Lang" does.
    const backup::Plan plan = backup::planRestore(edited, original);
    for (const backup::PlanItem& item : plan.items) {
        if (item.action == backup::Action::Refused && !item.file->heldAsIs.isEmpty()) continue;
        if (item.action == backup::Action::Refused)
            return refuse(QStringLiteral("%1: %2").arg(item.setting->key, item.note));
        if (item.raised) {
            edited.values.insert(item.setting->key, item.intended);
            QTextStream(stdout) << item.setting->key << ": " << item.note << Qt::endl;
        }
    }
    edited.created = QDateTime::currentDateTime();
    edited.editedOfflineFrom = QFileInfo(args.first()).absoluteFilePath();
    QString error;
    if (!backup::saveBackup(out, edited, &error)) return fail(error);
    QTextStream(stdout) << "file=" << out << Qt::endl;
    return Done;
}

} // namespace r73::cli
