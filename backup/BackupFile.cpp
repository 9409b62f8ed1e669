#include "BackupFile.h"

#include "Cp1252.h"
#include "JsonPlaces.h"
#include "SafeFile.h"
#include "TextHook.h"
#include "WireCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace r73::backup {

namespace {

QJsonObject settingJson(const Setting& s, const Value& v)
{
    switch (s.kind) {
    case Kind::Param:
        return {{"word", v.word}, {"shown", shown(s, v)}, {"unit", unitOf(s)}};
    case Kind::Switch:
        return {{"word", v.word}, {"on", v.word != 0}};
    case Kind::ParameterWord:
        return {{"word", v.word}, {"active", bool(v.word & 1)}, {"input", inputLevelText(v.word)}};
    case Kind::Text:
        return {{"text", v.text}};
    case Kind::ChannelLimit:
        return {{"word", v.word}, {"text", v.text}};
    }
    return {};
}

/// A number as the pages take it: the system's format, or a point as decimal separator.
bool number(const QString& text, double& value)
{
    bool ok = false;
    value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok) value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value);
}

// An item the controller held but the loader refuses is written as it is with these beside it;
// a restore skips it. A file without them reads as it always did.
const char MarkKey[] = "held_as_is";
const char ReasonKey[] = "reason";

/// Something the loader refuses in an item that is not marked.
struct Problem
{
    QString key;
    QString field; ///< the item's field that is named ("text", "word"), or empty
    QString reason;
};

/// The bytes 81, 8D, 8F, 90 and 9D are undefined in code page 1252; the system's encoder
/// passes them through as these control characters, which no controller text carries.
bool undefinedInCp1252(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

QString badCharacter(const QString& text)
{
    QByteArray bytes;
    QString bad;
    if (!toCp1252(text, bytes, &bad)) return bad;
    for (QChar c : text)
        if (undefinedInCp1252(c)) return QString(c);
    return {};
}

/// Every value the loader refuses unless marked: texts the controller cannot take, an empty
/// channel name, a range or limit the channel page would refuse, a limit word other than the
/// one its text gives on the channel's scale.
QList<Problem> problemsOf(const QMap<QString, Value>& values, quint16 bios)
{
    QList<Problem> out;
    for (const Setting& s : allSettings()) {
        if (!values.contains(s.key) || (s.kind != Kind::Text && s.kind != Kind::ChannelLimit))
            continue;
        const QString text = values.value(s.key).text;
        QByteArray bytes;
        if (const QString bad = badCharacter(text); !bad.isEmpty())
            out << Problem{s.key, "text",
                           tr73own("Das Zeichen \"%1\" (U+%2) kann nicht zum R73 gesendet werden!")
                               .arg(bad)
                               .arg(QString::number(bad.at(0).unicode(), 16).toUpper(), 4, u'0')};
        else if (toCp1252(text, bytes) && bytes.size() > wire::MaxStringLength)
            out << Problem{s.key, "text",
                           tr73own("Text länger als %1 Zeichen").arg(wire::MaxStringLength)};
        else if (s.kind == Kind::Text && s.text == ChannelText::Name &&
                 trimControls(text).isEmpty())
            out << Problem{s.key, "text", tr73own("Bitte geben Sie die Bezeichnung ein!")};
    }
    if (bios < 300) return out;
    for (int c = 1; c <= 3; ++c) {
        const QString stem = QStringLiteral("channel%1.").arg(c);
        double low = 0, high = 0;
        const bool lowOk = number(values.value(stem + "minimum").text, low);
        const bool highOk = number(values.value(stem + "maximum").text, high);
        if (!lowOk) out << Problem{stem + "minimum", {}, tr73own("Nur Zahlen erlaubt")};
        if (!highOk) out << Problem{stem + "maximum", {}, tr73own("Nur Zahlen erlaubt")};
        const bool range = lowOk && highOk && low <= high;
        if (lowOk && highOk && !range)
            out << Problem{stem + "minimum",
                           {},
                           tr73own("Das Minimum darf nicht größer als das Maximum sein!")};
        const qint32 bottom = rawBottom(values.value(stem + "parameters").word);
        for (Limit l : LimitWriteOrder) {
            const QString key = stem + limitName(l).toLower();
            const Value limit = values.value(key);
            double v = 0;
            if (!number(limit.text, v))
                out << Problem{key, "text", tr73own("Nur Zahlen erlaubt")};
            else if (!range)
                continue; // a scale that cannot be told judges no limit
            else if (v > high || !(v >= low))
                out << Problem{key, "text", tr73own("Die Zahl liegt ausserhalb des Meßbereichs!")};
            // One step either way: a text on a half step rounds to either side, depending on
            // the arithmetic of whatever wrote the word.
            else if (const qint64 raw = physToRaw(v, low, high, bottom, RawTop);
                     std::abs(raw - qint64(limit.word)) > 1)
                out << Problem{key, "word",
                               tr73own("das Wort %1 passt nicht zum Text \"%2\" (er ergibt %3)")
                                   .arg(limit.word)
                                   .arg(limit.text)
                                   .arg(raw)};
        }
    }
    return out;
}

/// The marked items of a snapshot, by key with the reason: those marked already (read from a
/// marked file), then what the loader would refuse.
QMap<QString, QString> marksOf(const Snapshot& s)
{
    QMap<QString, QString> marks;
    for (auto it = s.values.begin(); it != s.values.end(); ++it)
        if (!it->heldAsIs.isEmpty()) marks.insert(it.key(), it->heldAsIs);
    for (const Problem& p : problemsOf(s.values, s.id.bios))
        if (!marks.contains(p.key)) marks.insert(p.key, p.reason);
    return marks;
}

/// Reads and checks one file; every complaint names the line.
class Reader
{
public:
    Reader(const QByteArray& bytes, const QString& name) : m_bytes(bytes), m_name(name) {}

    bool read(Snapshot& out, QString* error);

private:
    bool fail(const QString& place, const QString& problem, QString* error) const
    {
        if (error) *error = tr73own("Sicherungsdatei \"%1\", %2: %3").arg(m_name, place, problem);
        return false;
    }
    /// "line N, shown" for the key at path.
    QString at(const QStringList& path, const QString& shown) const
    {
        return tr73own("Zeile %1, %2").arg(m_places->keyLine(path)).arg(shown);
    }
    QString at(const QStringList& path) const { return at(path, path.value(path.size() - 1)); }
    /// The file's text and its keys: an unknown key names its line, a missing key the line of
    /// the object that lacks it.
    bool onlyKeys(const QJsonObject& o, const QStringList& keys, const QStringList& path,
                  const QString& where, QString* error, const QStringList& optional = {}) const
    {
        for (const QString& k : o.keys())
            if (!keys.contains(k) && !optional.contains(k))
                return fail(at(path + QStringList{k}),
                            tr73own("unbekannter Schlüssel in %1").arg(where), error);
        for (const QString& k : keys)
            if (!o.contains(k))
                return fail(tr73own("Zeile %1, %2").arg(m_places->valueLine(path)).arg(where),
                            tr73own("Schlüssel \"%1\" fehlt").arg(k), error);
        return true;
    }
    bool word(const QJsonValue& v, quint16& out) const
    {
        if (!v.isDouble()) return false;
        const double d = v.toDouble();
        if (d < 0 || d > 0xFFFF || d != std::floor(d)) return false;
        out = quint16(d);
        return true;
    }
    bool formatVersion(QString* error) const;
    bool setting(const Setting& s, const QJsonValue& json, Value& v, bool& marked,
                 QString* error) const;

    const QByteArray& m_bytes;
    QString m_name;
    std::optional<JsonPlaces> m_places;
};

bool Reader::setting(const Setting& s, const QJsonValue& json, Value& v, bool& marked,
                     QString* error) const
{
    const QStringList path{QStringLiteral("settings"), s.key};
    auto field = [&](const char* name) {
        return at(path + QStringList{name}, s.key + u'.' + name);
    };
    if (!json.isObject()) return fail(at(path), tr73own("kein Objekt"), error);
    QJsonObject o = json.toObject();
    marked = o.contains(MarkKey);
    if (marked) {
        if (o.value(MarkKey) != QJsonValue(true))
            return fail(field(MarkKey), tr73own("nicht true"), error);
        if (!o.value(ReasonKey).isString())
            return fail(field(ReasonKey), tr73own("kein Text"), error);
        v.heldAsIs = o.value(ReasonKey).toString();
        o.remove(MarkKey);
        o.remove(ReasonKey);
    }
    QStringList keys;
    switch (s.kind) {
    case Kind::Param:
        keys = {"word", "shown", "unit"};
        break;
    case Kind::Switch:
        keys = {"word", "on"};
        break;
    case Kind::ParameterWord:
        keys = {"word", "active", "input"};
        break;
    case Kind::Text:
        keys = {"text"};
        break;
    case Kind::ChannelLimit:
        keys = {"word", "text"};
        break;
    }
    if (!onlyKeys(o, keys, path, s.key, error)) return false;
    if (keys.contains(QLatin1String("word")) && !word(o.value("word"), v.word))
        return fail(field("word"), tr73own("kein Wort von 0 bis 65535"), error);
    if (keys.contains(QLatin1String("text"))) {
        if (!o.value("text").isString()) return fail(field("text"), tr73own("kein Text"), error);
        v.text = o.value("text").toString();
    }
    // What people read beside the word must say the same, or the file was edited by hand in
    // one place only: which of the two was meant cannot be told.
    bool agrees = true;
    if (s.kind == Kind::Param)
        agrees =
            o.value("shown").toString() == shown(s, v) && o.value("unit").toString() == unitOf(s);
    else if (s.kind == Kind::Switch)
        agrees = o.value("on").isBool() && o.value("on").toBool() == (v.word != 0);
    else if (s.kind == Kind::ParameterWord)
        agrees = o.value("active").isBool() && o.value("active").toBool() == bool(v.word & 1) &&
                 o.value("input").toString() == inputLevelText(v.word);
    if (!agrees)
        return fail(at(path), tr73own("die Anzeige passt nicht zum Wort %1").arg(v.word), error);
    return true;
}

bool Reader::formatVersion(QString* error) const
{
    // Exactly the integer as written: 1.0, 1e0 or 4294967297 are no version of this format.
    const QStringList path{QStringLiteral("format_version")};
    const QByteArray raw = m_places->raw(path);
    const bool digits =
        !raw.isEmpty() && raw.size() <= 9 && raw.at(0) != '0' &&
        std::all_of(raw.begin(), raw.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) return fail(at(path), tr73own("ungültige Formatversion"), error);
    if (raw.toInt() > FormatVersion)
        return fail(
            at(path),
            tr73own("Formatversion %1 ist neuer als die dieses Programms (%2); bitte ein neueres "
                    "Programm verwenden")
                .arg(raw.toInt())
                .arg(FormatVersion),
            error);
    return true;
}

bool Reader::read(Snapshot& out, QString* error)
{
    QJsonParseError perr;
    const QJsonDocument doc = QJsonDocument::fromJson(m_bytes, &perr);
    if (perr.error != QJsonParseError::NoError) {
        const QByteArray before = m_bytes.left(perr.offset);
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column = perr.offset - (before.lastIndexOf('\n') + 1) + 1;
        return fail(tr73own("Zeile %1, Spalte %2").arg(line).arg(column),
                    tr73own("beschädigt oder unvollständig (%1)").arg(perr.errorString()), error);
    }
    m_places.emplace(m_bytes);
    if (!doc.isObject())
        return fail(tr73own("Zeile %1, %2").arg(1).arg(tr73own("Anfang")),
                    tr73own("kein JSON-Objekt"), error);
    // The document keeps the last of two equal keys; which one was meant cannot be told.
    if (const auto twice = m_places->duplicate())
        return fail(tr73own("Zeile %1, %2").arg(twice->line).arg(twice->path.join(u'.')),
                    tr73own("Schlüssel doppelt"), error);
    const QJsonObject root = doc.object();
    if (root.value("format").toString() != QLatin1String(FormatName))
        return fail(at({"format"}), tr73own("keine Sicherungsdatei des R73 Service"), error);
    if (!formatVersion(error)) return false;
    if (!onlyKeys(root,
                  {"format", "format_version", "program_version", "created", "controller",
                   "settings", "read_only"},
                  {}, tr73own("der Datei"), error, {"edited_offline"}))
        return false;
    Snapshot s;
    if (root.contains("edited_offline")) {
        const QJsonObject edited = root.value("edited_offline").toObject();
        if (!onlyKeys(edited, {"from"}, {"edited_offline"}, QStringLiteral("edited_offline"),
                      error))
            return false;
        s.editedOfflineFrom = edited.value("from").toString();
        if (s.editedOfflineFrom.isEmpty())
            return fail(at({"edited_offline", "from"}, QStringLiteral("edited_offline.from")),
                        tr73own("kein Dateiname"), error);
    }
    s.programVersion = root.value("program_version").toString();
    s.created = QDateTime::fromString(root.value("created").toString(), Qt::ISODate);
    if (!s.created.isValid())
        return fail(at({"created"}), tr73own("kein Datum mit Uhrzeit"), error);

    const QJsonObject controller = root.value("controller").toObject();
    if (!onlyKeys(controller, {"serial_number", "bios_version"}, {"controller"},
                  QStringLiteral("controller"), error))
        return false;
    if (!word(controller.value("serial_number"), s.id.serial))
        return fail(at({"controller", "serial_number"}), tr73own("kein Wort von 0 bis 65535"),
                    error);
    bool ok = false;
    const double bios = controller.value("bios_version").toString().toDouble(&ok);
    const QStringList biosPath{"controller", "bios_version"};
    if (!ok || bios < 0 || bios > 655.35)
        return fail(at(biosPath), tr73own("keine Versionsnummer"), error);
    s.id.bios = quint16(std::lround(bios * 100));
    if (versionText(s.id.bios) != controller.value("bios_version").toString())
        return fail(at(biosPath), tr73own("keine Versionsnummer"), error);

    if (!root.value("settings").isObject())
        return fail(at({"settings"}), tr73own("kein Objekt"), error);
    const QJsonObject settings = root.value("settings").toObject();
    for (const QString& key : settings.keys())
        if (!settingOf(key))
            return fail(at({"settings", key}), tr73own("unbekannte Einstellung"), error);
    QSet<QString> marked;
    for (const Setting& st : allSettings()) {
        if (!settings.contains(st.key)) {
            // What the file's BIOS does not offer is simply absent.
            if (offeredBy(st, s.id.bios))
                return fail(
                    tr73own("Zeile %1, %2").arg(m_places->valueLine({"settings"})).arg("settings"),
                    tr73own("Einstellung \"%1\" fehlt").arg(st.key), error);
            continue;
        }
        if (!offeredBy(st, s.id.bios))
            return fail(
                at({"settings", st.key}),
                tr73own("BIOS %1 bietet diese Einstellung nicht").arg(versionText(s.id.bios)),
                error);
        Value v;
        bool isMarked = false;
        if (!setting(st, settings.value(st.key), v, isMarked, error)) return false;
        if (isMarked) marked.insert(st.key);
        s.values.insert(st.key, v);
    }
    // A marked item stays as the controller held it, with this program's reason where it has one.
    QSet<QString> reasoned;
    for (const Problem& p : problemsOf(s.values, s.id.bios)) {
        const QStringList path{QStringLiteral("settings"), p.key};
        if (!marked.contains(p.key))
            return fail(p.field.isEmpty() ? at(path)
                                          : at(path + QStringList{p.field}, p.key + u'.' + p.field),
                        p.reason, error);
        if (!reasoned.contains(p.key)) s.values[p.key].heldAsIs = p.reason;
        reasoned.insert(p.key);
    }
    for (const QString& key : marked)
        if (s.values[key].heldAsIs.isEmpty())
            s.values[key].heldAsIs = tr73own("beim Sichern markiert");

    const QJsonObject info = root.value("read_only").toObject();
    if (!onlyKeys(info, {"note", "service", "history"}, {"read_only"}, QStringLiteral("read_only"),
                  error))
        return false;
    if (info.value("service").isObject()) {
        const QJsonObject sv = info.value("service").toObject();
        QStringList keys;
        for (const ServiceDef& d : serviceDefs())
            keys << QString::fromLatin1(d.key);
        const QStringList path{"read_only", "service"};
        if (!onlyKeys(sv, keys, path, QStringLiteral("service"), error)) return false;
        ServiceWords w;
        for (const ServiceDef& d : serviceDefs())
            if (!word(sv.value(QLatin1String(d.key)), w.*d.word))
                return fail(at(path + QStringList{QString::fromLatin1(d.key)}),
                            tr73own("kein Wort von 0 bis 65535"), error);
        s.service = w;
    }
    for (const QJsonValue& line : info.value("history").toArray())
        s.history << line.toString();
    out = s;
    return true;
}

} // namespace

QString firstProblem(const Snapshot& snapshot)
{
    for (const Problem& p : problemsOf(snapshot.values, snapshot.id.bios))
        if (snapshot.values.value(p.key).heldAsIs.isEmpty())
            return p.key + QStringLiteral(": ") + p.reason;
    return {};
}

QList<std::pair<QString, QString>> heldItems(const Snapshot& snapshot)
{
    QList<std::pair<QString, QString>> out;
    const QMap<QString, QString> marks = marksOf(snapshot);
    for (const Setting& st : allSettings())
        if (marks.contains(st.key)) out.append({st.key, marks.value(st.key)});
    return out;
}

QByteArray toJson(const Snapshot& s)
{
    QJsonObject settings;
    const QMap<QString, QString> marks = marksOf(s);
    for (const Setting& st : allSettings()) {
        if (!s.values.contains(st.key)) continue;
        QJsonObject item = settingJson(st, s.values.value(st.key));
        if (marks.contains(st.key)) {
            item.insert(QLatin1String(MarkKey), true);
            item.insert(QLatin1String(ReasonKey), marks.value(st.key));
        }
        settings.insert(st.key, item);
    }
    QJsonObject info{{"note", "recorded for information; never restored"}};
    QJsonObject service;
    if (s.service)
        for (const ServiceDef& d : serviceDefs())
            service.insert(QLatin1String(d.key), (*s.service).*d.word);
    info.insert("service", s.service ? QJsonValue(service) : QJsonValue());
    info.insert("history", QJsonArray::fromStringList(s.history));
    QJsonObject root{
        {"format", FormatName},
        {"format_version", FormatVersion},
        {"program_version",
         s.programVersion.isEmpty() ? QCoreApplication::applicationVersion() : s.programVersion},
        {"created", s.created.toString(Qt::ISODate)},
        {"controller",
         QJsonObject{{"serial_number", s.id.serial}, {"bios_version", versionText(s.id.bios)}}},
        {"settings", settings},
        {"read_only", info}};
    if (!s.editedOfflineFrom.isEmpty())
        root.insert("edited_offline", QJsonObject{{"from", s.editedOfflineFrom}});
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool saveBackup(const QString& path, const Snapshot& snapshot, QString* error)
{
    QString reason;
    if (writeFileAtomically(path, toJson(snapshot), &reason)) return true;
    if (error)
        *error = tr73own("Die Sicherung konnte nicht in \"%1\" gespeichert werden: %2")
                     .arg(path, reason);
    return false;
}

bool parseBackup(const QByteArray& bytes, const QString& name, Snapshot& out, QString* error)
{
    return Reader(bytes, name).read(out, error);
}

bool loadBackup(const QString& path, Snapshot& out, QString* error)
{
    QByteArray bytes;
    QString reason;
    if (!readRegularFile(path, &bytes, &reason)) {
        if (error)
            *error =
                tr73own("Sicherungsdatei \"%1\" kann nicht gelesen werden: %2").arg(path, reason);
        return false;
    }
    return parseBackup(bytes, path, out, error);
}

QString proposedName(const QString& folder, quint16 serial, const QDate& date,
                     const QString& ending)
{
    const QString stem = QStringLiteral("%1/%2_%3")
                             .arg(folder)
                             .arg(serial)
                             .arg(date.toString(QStringLiteral("yyyyMMdd")));
    QString path = stem + ending;
    for (int n = 1; QFile::exists(path); ++n)
        path = stem + QStringLiteral("_%1").arg(n) + ending;
    return path;
}

} // namespace r73::backup
