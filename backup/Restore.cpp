#include "Restore.h"

#include "TextHook.h"

#include <QFile>
#include <QTextStream>
#include <algorithm>

namespace r73::backup {

namespace {

QString t(const char* german)
{
    return tr73(0, QString::fromUtf8(german));
}

/// What the page would send for a value: the stop frequency held within 1..1000, the switch as
/// 0xFFFF or 0, the parameter word's two bits, a blank unit as one blank.
Value intendedOf(const Setting& s, const Value& v)
{
    Value out = v;
    if (s.kind == Kind::Param && s.param->conversion == ParamConversion::StopFrequency)
        out.word = quint16(std::clamp<int>(qint16(v.word), StopFrequencyMin, StopFrequencyMax));
    else if (s.kind == Kind::Switch)
        out.word = v.word ? 0xFFFF : 0;
    else if (s.kind == Kind::ParameterWord)
        out.word = v.word & 3;
    else if (s.kind == Kind::Text && s.text == ChannelText::Unit && trimControls(v.text).isEmpty())
        out.text = QStringLiteral(" ");
    return out;
}

QString cell(const Setting& s, const std::optional<Value>& v)
{
    return v ? shown(s, *v) : QStringLiteral("—");
}

QString line(const QString& label, const QString& a, const QString& b, const QString& verdict)
{
    return QStringLiteral("%1 | %2 | %3 | %4").arg(label, a, b, verdict);
}

} // namespace

int Plan::toWrite() const
{
    return int(std::count_if(items.begin(), items.end(),
                             [](const PlanItem& i) { return i.action == Action::Write; }));
}

Plan planRestore(const Snapshot& file, const Snapshot& target)
{
    Plan plan;
    if (file.id.serial != target.id.serial)
        plan.identityDifferences << t("Andere Seriennummer: Datei %1, Controller %2")
                                        .arg(file.id.serial)
                                        .arg(target.id.serial);
    if (file.id.bios != target.id.bios)
        plan.identityDifferences << t("Andere BIOS-Version: Datei %1, Controller %2")
                                        .arg(versionText(file.id.bios), versionText(target.id.bios));
    auto valueIn = [](const Snapshot& s, const QString& key) -> std::optional<Value> {
        if (!s.values.contains(key)) return std::nullopt;
        return s.values.value(key);
    };
    for (const Setting& s : allSettings()) {
        PlanItem item;
        item.setting = &s;
        item.file = valueIn(file, s.key);
        item.target = valueIn(target, s.key);
        if (!offeredBy(s, target.id.bios)) {
            item.action = item.file ? Action::NotOffered : Action::NotInFile;
            if (item.file)
                item.note = t("BIOS %1 bietet diese Einstellung nicht")
                                .arg(versionText(target.id.bios));
        } else if (!item.file) {
            item.action = Action::NotInFile;
        } else if (!item.file->heldAsIs.isEmpty()) {
            // Kept in the file as the controller held it; the page would not send it.
            item.action = Action::Refused;
            item.note = t("beim Sichern so im Controller vorgefunden: %1").arg(item.file->heldAsIs);
        } else {
            item.intended = intendedOf(s, *item.file);
            const bool same = item.target && sameValue(s, *item.file, *item.target);
            item.action = same ? Action::Same : Action::Write;
            if (!same && item.intended.word != item.file->word && s.kind == Kind::Param)
                item.note = t("wird als %1 gesendet (1 bis 1000)").arg(item.intended.word);
        }
        plan.items << item;
    }
    // The clamp-without-tool limit must lie beyond the long limit, as the page demands; a file
    // that breaks the rule does not get it written.
    auto find = [&plan](const char* key) {
        return std::find_if(plan.items.begin(), plan.items.end(), [key](const PlanItem& i) {
            return i.setting->key == QLatin1String(key);
        });
    };
    const auto withoutTool = find("clamp.without_tool");
    const auto longLimit = find("clamp.long");
    if (withoutTool != plan.items.end() && withoutTool->action == Action::Write) {
        const std::optional<Value> finalLong =
            longLimit->action == Action::Write ? longLimit->file : longLimit->target;
        if (finalLong && qint16(withoutTool->intended.word) <= qint16(finalLong->word)) {
            withoutTool->action = Action::Refused;
            withoutTool->note = t("Spannen ohne Werkzeug muß größer sein als Lang");
        }
    }
    return plan;
}

QStringList comparisonLines(const Plan& plan, const QString& fileLabel, const QString& targetLabel,
                            bool onlyDifferent)
{
    QStringList out = plan.identityDifferences;
    if (!out.isEmpty()) out << QString();
    out << line(t("Einstellung"), fileLabel, targetLabel, t("Unterschied"));
    for (const PlanItem& i : plan.items) {
        const Setting& s = *i.setting;
        QString verdict;
        switch (i.action) {
        case Action::Same:
            if (onlyDifferent) continue;
            verdict = t("gleich");
            break;
        case Action::Write:
            verdict = t("verschieden");
            break;
        case Action::NotOffered:
        case Action::Refused:
            verdict = i.target && i.file && sameValue(s, *i.file, *i.target)
                          ? t("gleich, wird nicht geschrieben")
                          : t("verschieden, wird nicht geschrieben");
            break;
        case Action::NotInFile:
            if (!i.target || onlyDifferent) continue; // offered by neither
            verdict = t("nicht in der Datei");
            break;
        }
        if (!i.note.isEmpty()) verdict += QStringLiteral(" (%1)").arg(i.note);
        out << line(label(s), cell(s, i.file), cell(s, i.target), verdict);
    }
    return out;
}

QList<SetId> Outcome::changedSets() const
{
    QList<SetId> sets;
    for (SetId set : {SetId::Clamp, SetId::Release, SetId::Flat, SetId::Vibration})
        for (const Verified& v : written)
            if (v.setting->savedWith == set) {
                sets << set;
                break;
            }
    return sets;
}

Outcome restore(Controller& controller, const Plan& plan, const QString& journalPath)
{
    Outcome outcome;
    QFile journalFile(journalPath);
    QTextStream journal(&journalFile);
    const bool journaling =
        !journalPath.isEmpty() && journalFile.open(QIODevice::WriteOnly | QIODevice::Append);
    auto note = [&](const QString& text) {
        if (!journaling) return;
        journal << QDateTime::currentDateTime().toString(Qt::ISODate) << ' ' << text << '\n';
        journal.flush();
    };
    note(QStringLiteral("restore to serial %1, BIOS %2")
             .arg(controller.identity().serial)
             .arg(versionText(controller.identity().bios)));
    for (const PlanItem& i : plan.items) {
        if (i.action == Action::NotOffered || i.action == Action::Refused) outcome.skipped << i;
        if (i.action != Action::Write || outcome.aborted) continue;
        note(QStringLiteral("writing %1 = %2").arg(i.setting->key, shown(*i.setting, i.intended)));
        controller.write(*i.setting, i.intended);
        outcome.written << Verified{i.setting, i.intended, std::nullopt, false};
        if (controller.failed()) {
            outcome.aborted = true;
            note(QStringLiteral("FAILED while writing %1; restore stopped").arg(i.setting->key));
        } else {
            note(QStringLiteral("written %1").arg(i.setting->key));
        }
    }
    if (outcome.aborted || outcome.written.isEmpty()) {
        outcome.mismatches = 0;
        return outcome;
    }
    const Snapshot after = controller.read();
    if (controller.failed()) {
        outcome.aborted = true;
        note(QStringLiteral("FAILED while reading back"));
        return outcome;
    }
    for (Verified& v : outcome.written) {
        if (after.values.contains(v.setting->key)) v.readBack = after.values.value(v.setting->key);
        v.ok = v.readBack && sameValue(*v.setting, v.intended, *v.readBack);
        if (!v.ok) ++outcome.mismatches;
        note(QStringLiteral("verified %1: %2").arg(v.setting->key, v.ok ? "OK" : "MISMATCH"));
    }
    return outcome;
}

void saveChangedSets(Controller& controller, const Outcome& outcome)
{
    if (!outcome.clean()) return;
    for (SetId set : outcome.changedSets()) {
        if (controller.failed()) return;
        controller.save(set);
    }
}

QStringList reportLines(const Outcome& outcome, const QString& fileName, const Identity& target)
{
    QStringList out;
    out << t("Prüfbericht der Wiederherstellung")
        << t("Datei: %1").arg(fileName)
        << t("Controller: Seriennummer %1, BIOS %2").arg(target.serial).arg(versionText(target.bios))
        << t("Zeit: %1").arg(QDateTime::currentDateTime().toString(Qt::ISODate)) << QString()
        << line(t("Einstellung"), t("Soll"), t("Gelesen"), t("Ergebnis"));
    for (const Verified& v : outcome.written) {
        const Setting& s = *v.setting;
        QString verdict = v.ok ? QStringLiteral("OK") : t("ABWEICHUNG");
        if (!v.readBack) verdict = outcome.aborted ? t("geschrieben, nicht geprüft") : verdict;
        out << line(label(s), shown(s, v.intended), cell(s, v.readBack), verdict);
    }
    if (!outcome.skipped.isEmpty()) {
        out << QString() << t("Nicht geschrieben:");
        for (const PlanItem& i : outcome.skipped)
            out << QStringLiteral("  %1: %2 (%3)").arg(label(*i.setting), cell(*i.setting, i.file), i.note);
    }
    out << QString();
    if (outcome.aborted)
        out << t("ABGEBROCHEN: die Verbindung ist gestört. Geschrieben wurden nur die oben "
                 "genannten Einstellungen.");
    else if (outcome.written.isEmpty())
        out << t("Nichts geschrieben: der Controller stimmt mit der Datei überein.");
    else if (outcome.mismatches == 0)
        out << t("Ergebnis: alle %1 geschriebenen Einstellungen stimmen überein.")
                   .arg(outcome.written.size());
    else
        out << t("Ergebnis: %1 von %2 geschriebenen Einstellungen weichen ab.")
                   .arg(outcome.mismatches)
                   .arg(outcome.written.size());
    return out;
}

} // namespace r73::backup
