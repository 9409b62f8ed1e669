#include "SimParams.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>

namespace r73::sim {

namespace {

constexpr int StateVersion = 1;

bool readWord(const QJsonObject& obj, const QString& key, quint16& out)
{
    const QJsonValue v = obj.value(key);
    if (!v.isDouble()) return false;
    const double d = v.toDouble();
    if (d < 0 || d > 0xFFFF || d != double(qint64(d))) return false;
    out = quint16(d);
    return true;
}

QString parseStore(const QByteArray& bytes, PermanentStore& store)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &err);
    if (err.error != QJsonParseError::NoError) return err.errorString();
    if (!doc.isObject()) return QStringLiteral("not a JSON object");
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("version")).toInt() != StateVersion)
        return QStringLiteral("unsupported version");
    const QJsonObject sets = root.value(QLatin1String("sets")).toObject();
    for (int s = 0; s < ParamSetCount; ++s) {
        const QString setName = paramSetName(ParamSetId(s));
        const QJsonValue setValue = sets.value(setName);
        if (!setValue.isObject()) return QStringLiteral("set %1 missing").arg(setName);
        for (int f = 0; f < ParamFieldCount; ++f) {
            const QString field = paramFieldName(ParamField(f));
            if (!readWord(setValue.toObject(), field, store.sets[s].words[f]))
                return QStringLiteral("%1.%2 missing or not a word").arg(setName, field);
        }
    }
    const QJsonObject hydr = root.value(QLatin1String("hydraulic")).toObject();
    for (const QString& name : hydraulicNames())
        if (!readWord(hydr, name, store.hydraulic[name]))
            return QStringLiteral("hydraulic.%1 missing or not a word").arg(name);
    return {};
}

} // namespace

QString paramSetName(ParamSetId id)
{
    static const char* const names[] = {"SPANN", "LOES", "PLAN", "SCHWING"};
    return QString::fromLatin1(names[int(id)]);
}

QString paramFieldName(ParamField f)
{
    static const char* const names[] = {"ZKLEIN", "ZGROSS",    "FMIN1",      "FMIN2",
                                        "FMIN3",  "TDAUER_TO", "SCHWING_MAX"};
    return QString::fromLatin1(names[int(f)]);
}

const QStringList& hydraulicNames()
{
    static const QStringList names{"EN_HYDR", "HYDR_DAUER", "HYDR_PULSE"};
    return names;
}

PermanentStore PermanentStore::factoryDefaults()
{
    // Order: ZKLEIN, ZGROSS, FMIN1, FMIN2, FMIN3, TDAUER_TO, SCHWING_MAX.
    PermanentStore s;
    s.set(ParamSetId::Spann).words = {0x0113, 0x1B1B, 0x0011, 40, 0x1113, 3000, 0x0013};
    s.set(ParamSetId::Loes).words = {200, 6000, 0x001B, 35, 50, 2500, 5};
    // Words of 0x8000 and above where the pages show them signed and unsigned.
    s.set(ParamSetId::Plan).words = {0x1100, 4800, 0x8013, 30, 45, 0x0B11, 8};
    s.set(ParamSetId::Schwing).words = {150, 5000, 20, 0x131B, 40, 0x8B13, 12};
    s.hydraulic = {{"EN_HYDR", 0}, {"HYDR_DAUER", 0x9C1B}, {"HYDR_PULSE", 0x0013}};
    return s;
}

PermanentStore loadPermanentStore(const QString& path, QString* warning)
{
    PermanentStore defaults = PermanentStore::factoryDefaults();
    if (path.isEmpty() || !QFile::exists(path)) return defaults;
    QFile file(path);
    QString problem;
    PermanentStore loaded = defaults;
    if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else
        problem = parseStore(file.readAll(), loaded);
    if (problem.isEmpty()) return loaded;
    if (warning)
        *warning = QStringLiteral("state file %1 is unusable (%2); using factory defaults")
                       .arg(path, problem);
    return defaults;
}

bool savePermanentStore(const QString& path, const PermanentStore& store, QString* error)
{
    QJsonObject sets;
    for (int s = 0; s < ParamSetCount; ++s) {
        QJsonObject set;
        for (int f = 0; f < ParamFieldCount; ++f)
            set.insert(paramFieldName(ParamField(f)), int(store.sets[s].words[f]));
        sets.insert(paramSetName(ParamSetId(s)), set);
    }
    QJsonObject hydr;
    for (auto it = store.hydraulic.constBegin(); it != store.hydraulic.constEnd(); ++it)
        hydr.insert(it.key(), int(it.value()));
    QJsonObject root{{"version", StateVersion}, {"sets", sets}, {"hydraulic", hydr}};

    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
        if (file.commit()) return true;
    }
    if (error)
        *error = QStringLiteral("cannot write state file %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace r73::sim
