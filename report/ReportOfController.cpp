#include "ReportOfController.h"

#include "ParamFormat.h"
#include "Settings.h"
#include "ShownValues.h"
#include "TextHook.h"
#include "Translate.h"

#include <QLocale>

namespace r73::report {

namespace {

/// A caption of the window's fixed pages, as they show it.
QString page(const char* german, int offset = 0)
{
    return tr73(offset, QString::fromUtf8(german));
}

/// A text of the report's own.
QString own(const char* german)
{
    return tr73own(QString::fromUtf8(german));
}

/// Caption / value rows of parameter fields, captioned as their pages do at the BIOS version.
Table setTable(const model::ControllerModel& m, const QString& title,
               std::initializer_list<const char*> keys)
{
    const quint16 bios = m.identity().bios;
    Table t{title, {}, {}};
    for (const char* key : keys) {
        const backup::Setting& s = *backup::settingOf(QString::fromLatin1(key));
        if (!backup::offeredBy(s, bios)) continue;
        // Every row with its unit, also where the page's caption gives none.
        QString caption = backup::pageCaption(s, bios);
        const QString unit = tr73own(backup::unitOf(s));
        if (!unit.isEmpty() && !caption.contains(u'['))
            caption += QStringLiteral(" [%1]").arg(unit);
        t.rows.append({caption, model::fieldText(m, QString::fromLatin1(key))});
    }
    return t;
}

QString setTitle(const char* group)
{
    return own("Parametersatz") + u' ' + page(group);
}

/// The pulse field's caption: before 2.08 one field, captioned after the running function.
QString pulsesCaption(quint16 bios, std::optional<quint16> output)
{
    if (bios >= 208) return page("Spannen [Pulse]");
    const quint16 out = output.value_or(0);
    if (out & 0x02) return page("Pulse Lösen");
    if (out & 0x01) return page("Pulse Spannen");
    return page("Pulse");
}

QString serviceText(const model::LiveReadings& live, const char* key)
{
    return model::serviceText(live, QString::fromLatin1(key));
}

Table serviceTable(const model::ControllerModel& m)
{
    const model::LiveReadings& live = m.live();
    const quint16 bios = m.identity().bios;
    Table t{page("SERVICE"), {}, {}};
    t.rows.append({pulsesCaption(bios, live.outputWord), serviceText(live, "clamp_pulses")});
    if (bios >= 208) {
        t.rows.append({page("Lösen [Pulse]"), serviceText(live, "release_pulses")});
        t.rows.append({page("Löseabweichung [Pulse]"), serviceText(live, "release_deviation")});
    }
    // Frequency and vibration follow as the gauges, each with its value.
    t.rows.append({page("T_Dauer  [ms]"), serviceText(live, "duration")});
    return t;
}

QString physText(double value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

Table channelsTable(const model::ControllerModel& m)
{
    auto text = [&m](int c, const char* item) {
        return model::valueOr(m, QStringLiteral("channel%1.%2").arg(c).arg(QLatin1String(item)))
            .text;
    };
    Table t{own("Analogkanäle"), {QString()}, {}};
    for (int c = 1; c <= 3; ++c)
        t.header << text(c, "name");
    for (const auto& [caption, item] : model::ChannelTextItems) {
        QStringList row{page(caption)};
        for (int c = 1; c <= 3; ++c)
            row << text(c, item);
        t.rows << row;
    }
    QStringList active{page("Kanal aktiv")}, level{page("Eingangspegel")},
        live{own("Aktueller Wert")};
    for (int c = 1; c <= 3; ++c) {
        const quint16 word = model::valueOr(m, QStringLiteral("channel%1.parameters").arg(c)).word;
        const bool on = word & 1;
        active << (on ? own("ja") : own("nein"));
        level << backup::inputLevelText(word);
        const std::optional<model::ChannelLive> reading = m.channelLive(c);
        live << ((on && reading) ? (physText(reading->phys) + u' ' + text(c, "unit")).trimmed()
                                 : QString());
    }
    t.rows << active << level << live;
    return t;
}

Table statusTable(const model::ControllerModel& m, const LastCommError& commError)
{
    const model::LiveReadings& live = m.live();
    const QString none = page("---");
    // The words in the files' wording, as the report has always named them.
    const QString result = live.outputWord
                               ? finishedName(*live.outputWord) + u' ' +
                                     resultName(*live.outputWord, live.inputWord.value_or(0))
                               : none + u' ' + none;
    Table t{own("Status und letzter Test"), {}, {}};
    t.rows << QStringList{page("ext. Anwahl"),
                          live.inputWord ? selectionText(*live.inputWord) : none}
           << QStringList{page("int.  Zustand"),
                          live.outputWord ? stateName(*live.outputWord) : none}
           << QStringList{page("Ergebnis:"), result.trimmed()}
           << QStringList{page("M-Status"),
                          live.statusWord ? QString::number(*live.statusWord) : QString()}
           << QStringList{own("Letzter Übertragungsfehler"),
                          QString::number(commError.status) + QStringLiteral("  ") +
                              (commError.location ? QString::number(*commError.location)
                                                  : QStringLiteral("---"))};
    return t;
}

} // namespace

Table historyOf(const model::ControllerModel& m)
{
    Table t{own("Historie des Controllers") + QStringLiteral(" (") + page("LOGBUCH") + u')',
            {page("Nr"), page("Spannen", 1), page("Ergebnis"), page("Lösen", 1), page("Ergebnis")},
            {}};
    for (const HistElement& e : m.history())
        t.rows << QStringList{QString::number(e.number), QString::number(e.clampTravel),
                              HistResultText(e.clampResult), QString::number(e.releaseTravel),
                              HistResultText(e.releaseResult)};
    return t;
}

ServiceReport reportOf(const model::ControllerModel& m, const LastCommError& commError)
{
    const quint16 bios = m.identity().bios;
    ServiceReport r;
    r.serialNumber = QString::number(m.identity().serial);
    r.biosVersion = backup::shownVersionText(bios);
    r.programVersion = model::shownProgramVersion(m);
    r.when = QDateTime::currentDateTime();
    r.locale = LanguageLocale();

    r.tables << setTable(m, setTitle("SPANNEN"),
                         {"clamp.short", "clamp.long", "clamp.without_tool", "clamp.min_time",
                          "clamp.stop_frequency", "clamp.timeout"});
    r.tables << setTable(m, setTitle("LÖSEN"),
                         {"release.short", "release.long", "release.min_time",
                          "release.stop_frequency", "release.timeout"});
    r.tables << setTable(m, setTitle("PLANANLAGE"), {"flat.threshold", "flat.timeout"});
    r.tables << setTable(m, setTitle("SCHWINGUNG"), {"vibration.threshold", "vibration.timeout"});
    if (bios >= 310) {
        Table hydr =
            setTable(m, page("HYDRAULIKÜBERWACHUNG"), {"hydraulics.pulses", "hydraulics.duration"});
        const bool on = model::valueOr(m, QStringLiteral("hydraulics.enabled")).word != 0;
        hydr.rows.prepend({page("aktiv"), on ? own("ein") : own("aus")});
        r.tables << hydr;
    }
    const Table service = serviceTable(m);
    r.tables << service;
    r.gaugesAfter = int(r.tables.size()) - 1;
    const model::LiveReadings& live = m.live();
    const quint16 frequency = live.service ? live.service->frequency : 0;
    // The service read shows the vibration gauge's position beside its values.
    r.gauges << Gauge{page("Schwingung [mm/sek]"), model::vibrationText(live),
                      model::sensorGauge(live) / 200.0};
    r.gauges << Gauge{own("Frequenz  [0,1 Hz]"), serviceText(live, "frequency"),
                      qBound(0, frequencyGauge(frequency), 100) / 100.0};
    if (bios >= 300) r.tables << channelsTable(m);
    r.tables << statusTable(m, commError);

    const quint16 in = live.inputWord.value_or(0), out = live.outputWord.value_or(0);
    for (int bit = 0; bit < 8; ++bit) {
        r.inputs << Lamp{QStringLiteral("E%1").arg(bit), bool(in & (1u << bit))};
        r.outputs << Lamp{QStringLiteral("A%1").arg(bit), bool(out & (1u << bit))};
    }
    if (!m.history().isEmpty()) r.history = historyOf(m);
    return r;
}

QList<QPair<QString, double>> countersOf(const model::ControllerModel& m)
{
    QList<QPair<QString, double>> out;
    const model::LiveReadings& live = m.live();
    if (live.service) {
        const bool separate = m.identity().bios >= 208;
        for (const char* key :
             {"clamp_pulses", "release_pulses", "release_deviation", "frequency", "duration"}) {
            const ServiceDef& d = *serviceDef(QLatin1String(key));
            // The release values have no field before 2.08.
            if (!separate && QLatin1String(key).startsWith(QLatin1String("release_"))) continue;
            out.append(
                {QString::fromLatin1(key), double(serviceNumber(d, (*live.service).*d.word))});
        }
        out.append({QStringLiteral("vibration"), model::sensorGauge(live) / 20.0});
    }
    if (!m.history().isEmpty())
        out.append({QStringLiteral("history_last"), double(m.history().first().number)});
    return out;
}

} // namespace r73::report
