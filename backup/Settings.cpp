#include "Settings.h"

#include "TextHook.h"

#include <QLocale>

namespace r73::backup {

namespace {

QList<Setting> makeSettings()
{
    QList<Setting> all;
    for (const ParamDef& d : paramDefs()) {
        Setting s;
        s.key = QString::fromLatin1(d.key);
        s.param = &d;
        s.fromBios = d.fromBios;
        s.savedWith = d.savedWith;
        all << s;
    }
    Setting hydr;
    hydr.key = QStringLiteral("hydraulics.enabled");
    hydr.kind = Kind::Switch;
    hydr.fromBios = 310;
    hydr.savedWith = SetId::Clamp; // its send marks the clamping set, as the page's does
    all << hydr;
    for (int c = 1; c <= 3; ++c) {
        const QString stem = QStringLiteral("channel%1.").arg(c);
        Setting s;
        s.channel = c;
        s.fromBios = 300;
        s.kind = Kind::ParameterWord;
        s.key = stem + QStringLiteral("parameters");
        all << s;
        // The channel write's order: range bottom, top, name, unit, then the limits.
        s.kind = Kind::Text;
        const std::pair<ChannelText, const char*> texts[] = {{ChannelText::Minimum, "minimum"},
                                                             {ChannelText::Maximum, "maximum"},
                                                             {ChannelText::Name, "name"},
                                                             {ChannelText::Unit, "unit"}};
        for (const auto& [item, name] : texts) {
            s.text = item;
            s.key = stem + QLatin1String(name);
            all << s;
        }
        s.kind = Kind::ChannelLimit;
        for (Limit l : LimitWriteOrder) {
            s.limit = l;
            s.key = stem + limitName(l).toLower();
            all << s;
        }
    }
    return all;
}

} // namespace

const QList<Setting>& allSettings()
{
    static const QList<Setting> all = makeSettings();
    return all;
}

const Setting* settingOf(const QString& key)
{
    for (const Setting& s : allSettings())
        if (s.key == key) return &s;
    return nullptr;
}

bool sameValue(const Setting& s, const Value& a, const Value& b)
{
    switch (s.kind) {
    case Kind::Param:
        return a.word == b.word;
    case Kind::Switch:
        return (a.word != 0) == (b.word != 0);
    case Kind::ParameterWord:
        return (a.word & 3) == (b.word & 3);
    case Kind::Text:
        return a.text == b.text;
    case Kind::ChannelLimit:
        return a.word == b.word && a.text == b.text;
    }
    return false;
}

QString pageCaption(const Setting& s, quint16 bios)
{
    auto t = [](const char* german) { return tr73own(QString::fromUtf8(german)); };
    switch (s.kind) {
    case Kind::Param: {
        // The service read captions the release set's two limits by the BIOS version.
        const QLatin1String key(s.param->key);
        if (key == QLatin1String("release.short"))
            return t(bios >= 207 ? "Abweichung pos. [Pulse]" : "Kurz [Pulse]");
        if (key == QLatin1String("release.long"))
            return t(bios >= 207 ? "Abweichung neg. [Pulse]" : "Lang [Pulse]");
        return t(s.param->label);
    }
    case Kind::Switch:
        return t("aktiv");
    case Kind::ParameterWord:
        return t("Parametrierung");
    case Kind::Text: {
        static const char* const items[] = {"Bezeichnung", "physikalische Einheit", "Minimum",
                                            "Maximum"};
        return t(items[int(s.text)]);
    }
    case Kind::ChannelLimit:
        return limitName(s.limit);
    }
    return {};
}

QString groupCaption(const Setting& s)
{
    switch (s.kind) {
    case Kind::Param:
        return tr73own(QString::fromUtf8(s.param->group));
    case Kind::Switch:
        return tr73own(QString::fromUtf8("HYDRAULIKÜBERWACHUNG"));
    default:
        return QStringLiteral("ANALOG%1").arg(s.channel);
    }
}

QString label(const Setting& s, quint16 bios)
{
    return groupCaption(s) + QStringLiteral(": ") + pageCaption(s, bios);
}

QString shown(const Setting& s, const Value& v)
{
    switch (s.kind) {
    case Kind::Param:
        if (s.param->conversion == ParamConversion::Threshold)
            return QString::number(v.word / 20.0, 'f', 2);
        if (shownUnsigned(*s.param)) return QString::number(v.word);
        return QString::number(qint16(v.word));
    case Kind::Switch:
        return v.word ? tr73own(QStringLiteral("ein")) : tr73own(QStringLiteral("aus"));
    case Kind::ParameterWord:
        return ((v.word & 1) ? tr73own(QStringLiteral("Kanal aktiv"))
                             : tr73own(QStringLiteral("Kanal inaktiv"))) +
               QStringLiteral(", ") +
               ((v.word & 2) ? QStringLiteral("4-20 mA") : QStringLiteral("0-5V / 0-10V / 0-20mA"));
    case Kind::Text:
        return v.text;
    case Kind::ChannelLimit:
        return QStringLiteral("%1 (%2)").arg(v.text).arg(v.word);
    }
    return {};
}

QString unitOf(const Setting& s)
{
    if (s.kind != Kind::Param) return {};
    if (s.param->conversion == ParamConversion::Threshold) return QStringLiteral("mm/s");
    const QString label = QString::fromUtf8(s.param->label);
    if (label.contains(QLatin1String("[ms]"))) return QStringLiteral("ms");
    return QStringLiteral("Pulse");
}

QString versionText(quint16 bios)
{
    return QString::asprintf("%u.%02u", unsigned(bios / 100), unsigned(bios % 100));
}

QString shownVersionText(quint16 bios)
{
    return QLocale().toString(bios / 100.0, 'f', 2);
}

QString inputLevelText(quint16 parameters)
{
    return QString::fromLatin1((parameters & 2) ? "4-20 mA" : "0-5V / 0-10V / 0-20mA");
}

} // namespace r73::backup
