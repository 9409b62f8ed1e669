#include "BackupFile.h"

#include "Cp1252.h"
#include "SafeFile.h"
#include "TextHook.h"
#include "WireCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cmath>

namespace r73::backup {

namespace {

QString t(const char* german)
{
    return tr73(0, QString::fromUtf8(german));
}

QJsonObject settingJson(const Setting& s, const Value& v)
{
    switch (s.kind) {
    case Kind::Param:
        return {{"word", v.word}, {"shown", shown(s, v)}, {"unit", unitOf(s)}};
    case Kind::Switch:
        return {{"word", v.word}, {"on", v.word != 0}};
    case Kind::ParameterWord:
        return {{"word", v.word},
                {"active", bool(v.word & 1)},
                {"input", (v.word & 2) ? "4-20 mA" : "0-5V / 0-10V / 0-20mA"}};
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

/// Reads and checks one file; every complaint names the place.
class Reader
{
public:
    Reader(const QByteArray& bytes, const QString& name) : m_bytes(bytes), m_name(name) {}

    bool read(Snapshot& out, QString* error);

private:
    bool fail(const QString& place, const QString& problem, QString* error) const
    {
        if (error)
            *error = t("Sicherungsdatei \"%1\", %2: %3").arg(m_name, place, problem);
        return false;
    }
    /// "line N, key" for a key of the file: the line of its first appearance.
    QString at(const QString& key, const QString& inside = {}) const
    {
        const qsizetype pos = m_bytes.indexOf('"' + key.toUtf8() + '"');
        const QString path = inside.isEmpty() ? key : key + u'.' + inside;
        if (pos < 0) return path;
        return t("Zeile %1, %2").arg(m_bytes.left(pos).count('\n') + 1).arg(path);
    }
    bool onlyKeys(const QJsonObject& o, const QStringList& keys, const QString& where,
                  QString* error) const
    {
        for (const QString& k : o.keys())
            if (!keys.contains(k)) return fail(at(k), t("unbekannter Schlüssel in %1").arg(where), error);
        for (const QString& k : keys)
            if (!o.contains(k)) return fail(where, t("Schlüssel \"%1\" fehlt").arg(k), error);
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
    bool setting(const Setting& s, const QJsonValue& json, Value& v, QString* error) const;
    bool channelRules(const QMap<QString, Value>& values, quint16 bios, QString* error) const;

    const QByteArray& m_bytes;
    QString m_name;
};

bool Reader::setting(const Setting& s, const QJsonValue& json, Value& v, QString* error) const
{
    if (!json.isObject()) return fail(at(s.key), t("kein Objekt"), error);
    const QJsonObject o = json.toObject();
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
    if (!onlyKeys(o, keys, s.key, error)) return false;
    if (keys.contains(QLatin1String("word")) && !word(o.value("word"), v.word))
        return fail(at(s.key, "word"), t("kein Wort von 0 bis 65535"), error);
    if (keys.contains(QLatin1String("text"))) {
        if (!o.value("text").isString()) return fail(at(s.key, "text"), t("kein Text"), error);
        v.text = o.value("text").toString();
        QByteArray bytes;
        QString bad;
        if (!toCp1252(v.text, bytes, &bad))
            return fail(at(s.key, "text"),
                        t("Das Zeichen \"%1\" kann nicht zum R73 gesendet werden").arg(bad), error);
        if (bytes.size() > wire::MaxStringLength)
            return fail(at(s.key, "text"),
                        t("Text länger als %1 Zeichen").arg(wire::MaxStringLength), error);
        if (s.kind == Kind::Text && s.text == ChannelText::Name && trimControls(v.text).isEmpty())
            return fail(at(s.key, "text"), t("Bitte geben Sie die Bezeichnung ein!"), error);
    }
    // What people read beside the word must say the same, or the file was edited by hand in
    // one place only: which of the two was meant cannot be told.
    const Setting& d = s;
    bool agrees = true;
    if (s.kind == Kind::Param)
        agrees = o.value("shown").toString() == shown(d, v) && o.value("unit").toString() == unitOf(d);
    else if (s.kind == Kind::Switch)
        agrees = o.value("on").isBool() && o.value("on").toBool() == (v.word != 0);
    else if (s.kind == Kind::ParameterWord)
        agrees = o.value("active").isBool() && o.value("active").toBool() == bool(v.word & 1) &&
                 o.value("input").toString() ==
                     QLatin1String((v.word & 2) ? "4-20 mA" : "0-5V / 0-10V / 0-20mA");
    if (!agrees)
        return fail(at(s.key), t("die Anzeige passt nicht zum Wort %1").arg(v.word), error);
    return true;
}

bool Reader::channelRules(const QMap<QString, Value>& values, quint16 bios, QString* error) const
{
    if (bios < 300) return true;
    for (int c = 1; c <= 3; ++c) {
        const QString stem = QStringLiteral("channel%1.").arg(c);
        double low = 0, high = 0;
        if (!number(values.value(stem + "minimum").text, low))
            return fail(at(stem + "minimum"), t("Nur Zahlen erlaubt"), error);
        if (!number(values.value(stem + "maximum").text, high))
            return fail(at(stem + "maximum"), t("Nur Zahlen erlaubt"), error);
        if (low > high)
            return fail(at(stem + "minimum"),
                        t("Das Minimum darf nicht größer als das Maximum sein!"), error);
        for (Limit l : LimitWriteOrder) {
            const QString key = stem + limitName(l).toLower();
            double v = 0;
            if (!number(values.value(key).text, v))
                return fail(at(key, "text"), t("Nur Zahlen erlaubt"), error);
            if (v > high || !(v >= low))
                return fail(at(key, "text"), t("Die Zahl liegt ausserhalb des Meßbereichs!"),
                            error);
        }
    }
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
        return fail(t("Zeile %1, Spalte %2").arg(line).arg(column),
                    t("beschädigt oder unvollständig (%1)").arg(perr.errorString()), error);
    }
    if (!doc.isObject()) return fail(t("Anfang"), t("kein JSON-Objekt"), error);
    const QJsonObject root = doc.object();
    if (root.value("format").toString() != QLatin1String(FormatName))
        return fail(at("format"), t("keine Sicherungsdatei des R73 Service"), error);
    const QJsonValue version = root.value("format_version");
    if (!version.isDouble() || version.toDouble() < 1 || version.toDouble() != std::floor(version.toDouble()))
        return fail(at("format_version"), t("ungültige Formatversion"), error);
    if (version.toInt() > FormatVersion)
        return fail(at("format_version"),
                    t("Formatversion %1 ist neuer als die dieses Programms (%2); bitte ein neueres "
                      "Programm verwenden")
                        .arg(version.toInt())
                        .arg(FormatVersion),
                    error);
    if (!onlyKeys(root,
                  {"format", "format_version", "program_version", "created", "controller",
                   "settings", "read_only"},
                  t("der Datei"), error))
        return false;
    Snapshot s;
    s.programVersion = root.value("program_version").toString();
    s.created = QDateTime::fromString(root.value("created").toString(), Qt::ISODate);
    if (!s.created.isValid()) return fail(at("created"), t("kein Datum mit Uhrzeit"), error);

    const QJsonObject controller = root.value("controller").toObject();
    if (!onlyKeys(controller, {"serial_number", "bios_version"}, QStringLiteral("controller"), error))
        return false;
    if (!word(controller.value("serial_number"), s.id.serial))
        return fail(at("serial_number"), t("kein Wort von 0 bis 65535"), error);
    bool ok = false;
    const double bios = controller.value("bios_version").toString().toDouble(&ok);
    if (!ok || bios < 0 || bios > 655.35)
        return fail(at("bios_version"), t("keine Versionsnummer"), error);
    s.id.bios = quint16(std::lround(bios * 100));
    if (versionText(s.id.bios) != controller.value("bios_version").toString())
        return fail(at("bios_version"), t("keine Versionsnummer"), error);

    if (!root.value("settings").isObject()) return fail(at("settings"), t("kein Objekt"), error);
    const QJsonObject settings = root.value("settings").toObject();
    for (const QString& key : settings.keys())
        if (!settingOf(key)) return fail(at(key), t("unbekannte Einstellung"), error);
    for (const Setting& st : allSettings()) {
        if (!settings.contains(st.key)) {
            // What the file's BIOS does not offer is simply absent.
            if (offeredBy(st, s.id.bios))
                return fail(QStringLiteral("settings"), t("Einstellung \"%1\" fehlt").arg(st.key), error);
            continue;
        }
        if (!offeredBy(st, s.id.bios))
            return fail(at(st.key), t("BIOS %1 bietet diese Einstellung nicht").arg(versionText(s.id.bios)), error);
        Value v;
        if (!setting(st, settings.value(st.key), v, error)) return false;
        s.values.insert(st.key, v);
    }
    if (!channelRules(s.values, s.id.bios, error)) return false;

    const QJsonObject info = root.value("read_only").toObject();
    if (!onlyKeys(info, {"note", "service", "history"}, QStringLiteral("read_only"), error))
        return false;
    if (info.value("service").isObject()) {
        const QJsonObject sv = info.value("service").toObject();
        QStringList keys;
        for (const ServiceDef& d : serviceDefs())
            keys << QString::fromLatin1(d.key);
        if (!onlyKeys(sv, keys, QStringLiteral("service"), error)) return false;
        ServiceWords w;
        for (const ServiceDef& d : serviceDefs())
            if (!word(sv.value(QLatin1String(d.key)), w.*d.word))
                return fail(at(QString::fromLatin1(d.key)), t("kein Wort von 0 bis 65535"), error);
        s.service = w;
    }
    for (const QJsonValue& line : info.value("history").toArray())
        s.history << line.toString();
    out = s;
    return true;
}

} // namespace

QByteArray toJson(const Snapshot& s)
{
    QJsonObject settings;
    for (const Setting& st : allSettings())
        if (s.values.contains(st.key)) settings.insert(st.key, settingJson(st, s.values.value(st.key)));
    QJsonObject info{{"note", "recorded for information; never restored"}};
    QJsonObject service;
    if (s.service)
        for (const ServiceDef& d : serviceDefs())
            service.insert(QLatin1String(d.key), (*s.service).*d.word);
    info.insert("service", s.service ? QJsonValue(service) : QJsonValue());
    info.insert("history", QJsonArray::fromStringList(s.history));
    const QJsonObject root{
        {"format", FormatName},
        {"format_version", FormatVersion},
        {"program_version", s.programVersion.isEmpty() ? QCoreApplication::applicationVersion()
                                                       : s.programVersion},
        {"created", s.created.toString(Qt::ISODate)},
        {"controller",
         QJsonObject{{"serial_number", s.id.serial}, {"bios_version", versionText(s.id.bios)}}},
        {"settings", settings},
        {"read_only", info}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool saveBackup(const QString& path, const Snapshot& snapshot, QString* error)
{
    QString reason;
    if (writeFileAtomically(path, toJson(snapshot), &reason)) return true;
    if (error)
        *error = t("Die Sicherung konnte nicht in \"%1\" gespeichert werden: %2").arg(path, reason);
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
            *error = t("Sicherungsdatei \"%1\" kann nicht gelesen werden: %2").arg(path, reason);
        return false;
    }
    return parseBackup(bytes, path, out, error);
}

QString proposedName(const QString& folder, quint16 serial, const QDate& date)
{
    const QString stem = QStringLiteral("%1/%2_%3").arg(folder).arg(serial).arg(
        date.toString(QStringLiteral("yyyyMMdd")));
    QString path = stem + QStringLiteral(".json");
    for (int n = 1; QFile::exists(path); ++n)
        path = stem + QStringLiteral("_%1.json").arg(n);
    return path;
}

} // namespace r73::backup
