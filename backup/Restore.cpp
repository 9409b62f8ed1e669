#include "Restore.h"

#include "BackupFile.h"
#include "TextHook.h"

#include <algorithm>

namespace r73::backup {

namespace {

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

QList<PlanItem>::iterator itemOf(QList<PlanItem>& items, const char* key)
{
    return std::find_if(items.begin(), items.end(),
                        [key](const PlanItem& i) { return i.setting->key == QLatin1String(key); });
}

/// The word the controller holds after the restore, none where it is not known.
std::optional<qint16> finalOf(const PlanItem& i)
{
    if (i.action == Action::Write) return qint16(i.intended.word);
    if (i.target) return qint16(i.target->word);
    return std::nullopt;
}

/// The pages never let the long limit reach the clamp-without-tool limit: where a restore that
/// writes either would leave it so, the clamp-without-tool limit is raised as Enter in "Lang"
/// raises it, with the release set's long limit as it will stand. Where no raise can keep the rule
/// (that long limit 0, or past a word), the long limit is not written and the limit only if it
/// still keeps the rule.
void keepWithoutToolRule(Plan& plan, quint16 targetBios)
{
    const auto withoutTool = itemOf(plan.items, "clamp.without_tool");
    const auto longLimit = itemOf(plan.items, "clamp.long");
    const auto releaseLong = itemOf(plan.items, "release.long");
    // A controller left with both as they are keeps them, as the pages do until "Lang" is sent.
    if (!offeredBy(*withoutTool->setting, targetBios) ||
        (withoutTool->action != Action::Write && longLimit->action != Action::Write))
        return;
    const std::optional<qint16> w = finalOf(*withoutTool);
    std::optional<qint16> l = finalOf(*longLimit);
    const std::optional<qint16> r = finalOf(*releaseLong);
    if (!w || !l || !r || *w > *l) return;
    const qint64 raised = raisedWithoutTool(*l, *r);
    if (keepsWithoutToolRule(*l, raised)) {
        withoutTool->action = Action::Write;
        withoutTool->raised = true;
        withoutTool->intended = Value{quint16(raised), {}};
        withoutTool->note =
            tr73own("wird vor Lang auf %1 angehoben (Lang %2 + 2 × |LÖSEN Lang %3|)")
                .arg(raised)
                .arg(*l)
                .arg(*r);
        return;
    }
    if (longLimit->action == Action::Write) {
        longLimit->action = Action::Refused;
        longLimit->note =
            tr73own("Spannen ohne Werkzeug kann nicht über %1 angehoben werden").arg(*l);
        l = longLimit->target ? std::optional<qint16>(qint16(longLimit->target->word))
                              : std::nullopt;
    }
    if (withoutTool->action == Action::Write && (!l || *w <= *l)) {
        withoutTool->action = Action::Refused;
        withoutTool->note = tr73own("Spannen ohne Werkzeug muß größer sein als Lang");
    }
}

/// The restore's order, with the clamp-without-tool limit moved before the long limit where
/// the long limit would otherwise reach it on the way (and where neither order keeps the rule:
/// as the page, the raise first).
QList<const PlanItem*> writeOrder(const Plan& plan)
{
    QList<const PlanItem*> order;
    for (const PlanItem& i : plan.items)
        order << &i;
    auto at = [&order](const char* key) {
        return std::find_if(order.begin(), order.end(), [key](const PlanItem* i) {
            return i->setting->key == QLatin1String(key);
        });
    };
    const auto longLimit = at("clamp.long");
    const auto withoutTool = at("clamp.without_tool");
    if (withoutTool == order.end() || (*withoutTool)->action != Action::Write ||
        (*longLimit)->action != Action::Write)
        return order;
    const auto word = [](const std::optional<Value>& v) {
        return v ? std::optional<qint16>(qint16(v->word)) : std::nullopt;
    };
    const qint16 w = qint16((*withoutTool)->intended.word);
    const qint16 l = qint16((*longLimit)->intended.word);
    const std::optional<qint16> lNow = word((*longLimit)->target);
    const std::optional<qint16> wNow = word((*withoutTool)->target);
    const bool longFirstKeeps = wNow && l < *wNow;
    const bool withoutToolFirstKeeps = lNow && w > *lNow;
    if (withoutToolFirstKeeps || !longFirstKeeps) {
        const PlanItem* moved = *withoutTool;
        order.erase(withoutTool);
        order.insert(at("clamp.long"), moved);
    }
    return order;
}

/// What the report's "Soll" column shows: the value, and where the rule changed the file's.
QString intendedCell(const Verified& v)
{
    const Setting& s = *v.setting;
    if (v.raised)
        return tr73own("angehoben auf %1 (%2)")
            .arg(shown(s, v.intended), v.file ? tr73own("Datei %1").arg(shown(s, *v.file))
                                              : tr73own("nicht in der Datei"));
    if (v.file && !sameValue(s, *v.file, v.intended))
        return tr73own("gehalten auf %1 (Datei %2)").arg(shown(s, v.intended), shown(s, *v.file));
    return shown(s, v.intended);
}

} // namespace

QString setName(SetId set)
{
    static const char* const names[] = {"SPANNEN", "LÖSEN", "PLANANLAGE", "SCHWINGUNG"};
    return tr73own(names[int(set)]);
}

QString setNames(const QList<SetId>& sets)
{
    QStringList names;
    for (SetId s : sets)
        names << setName(s);
    return names.join(QStringLiteral(", "));
}

int Plan::toWrite() const
{
    return int(std::count_if(items.begin(), items.end(),
                             [](const PlanItem& i) { return i.action == Action::Write; }));
}

bool Journal::open(const QString& path, const QString& firstLine)
{
    m_reason.clear();
    if (!m_file.open(path, GrowingFile::Mode::Append)) {
        m_reason = m_file.reason();
        return false;
    }
    return note(firstLine);
}

bool Journal::note(const QString& text)
{
    if (failed()) return false;
    const QString row = QDateTime::currentDateTime().toString(Qt::ISODate) + u' ' + text + u'\n';
    if (!m_file.isOpen() || !m_file.write(row.toUtf8())) {
        m_reason = m_file.isOpen() ? m_file.reason() : QStringLiteral("not open");
        return false;
    }
    return true;
}

Plan planRestore(const Snapshot& file, const Snapshot& target, bool targetIsFile)
{
    Plan plan;
    plan.bios = target.id.bios;
    if (file.id.serial != target.id.serial)
        plan.identityDifferences << tr73own("Andere Seriennummer: Datei %1, Controller %2")
                                        .arg(file.id.serial)
                                        .arg(target.id.serial);
    if (file.id.bios != target.id.bios)
        plan.identityDifferences << tr73own("Andere BIOS-Version: Datei %1, Controller %2")
                                        .arg(versionText(file.id.bios),
                                             versionText(target.id.bios));
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
                item.note = tr73own("BIOS %1 bietet diese Einstellung nicht")
                                .arg(versionText(target.id.bios));
        } else if (!item.file) {
            item.action = Action::NotInFile;
        } else if (!item.file->heldAsIs.isEmpty()) {
            // Kept in the file as the controller held it; the page would not send it.
            item.action = Action::Refused;
            item.note =
                tr73own("beim Sichern so im Controller vorgefunden: %1").arg(item.file->heldAsIs);
        } else {
            item.intended = intendedOf(s, *item.file);
            const bool same = item.target && sameValue(s, *item.file, *item.target);
            item.action = same ? Action::Same : Action::Write;
            if (!same && !targetIsFile && item.intended.word != item.file->word &&
                s.kind == Kind::Param)
                item.note = tr73own("wird als %1 gesendet (1 bis 1000)").arg(item.intended.word);
        }
        plan.items << item;
    }
    if (!targetIsFile) keepWithoutToolRule(plan, target.id.bios);
    return plan;
}

QStringList comparisonLines(const Plan& plan, const QString& fileLabel, const QString& targetLabel,
                            bool onlyDifferent)
{
    QStringList out = plan.identityDifferences;
    if (!out.isEmpty()) out << QString();
    out << line(tr73own("Einstellung"), fileLabel, targetLabel, tr73own("Unterschied"));
    for (const PlanItem& i : plan.items) {
        const Setting& s = *i.setting;
        QString verdict;
        switch (i.action) {
        case Action::Same:
            if (onlyDifferent) continue;
            verdict = tr73own("gleich");
            break;
        case Action::Write:
            verdict = tr73own("verschieden");
            break;
        case Action::NotOffered:
        case Action::Refused:
            verdict = i.target && i.file && sameValue(s, *i.file, *i.target)
                          ? tr73own("gleich, wird nicht geschrieben")
                          : tr73own("verschieden, wird nicht geschrieben");
            break;
        case Action::NotInFile:
            if (!i.target || onlyDifferent) continue; // offered by neither
            verdict = tr73own("nicht in der Datei");
            break;
        }
        if (!i.note.isEmpty()) verdict += QStringLiteral(" (%1)").arg(i.note);
        out << line(label(s, plan.bios), cell(s, i.file), cell(s, i.target), verdict);
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

Outcome restore(Controller& controller, const Plan& plan, Journal* journal)
{
    Outcome outcome;
    // Nothing more is written once the record stops: what was written stays known.
    auto note = [&](const QString& text) {
        if (!journal || journal->note(text)) return true;
        if (outcome.journalError.isEmpty()) outcome.journalError = journal->reason();
        return false;
    };
    note(QStringLiteral("restore to serial %1, BIOS %2")
             .arg(controller.identity().serial)
             .arg(versionText(controller.identity().bios)));
    for (const PlanItem& i : plan.items)
        if (i.action == Action::NotOffered || i.action == Action::Refused) outcome.skipped << i;
    for (const PlanItem* i : writeOrder(plan)) {
        if (i->action != Action::Write || outcome.aborted || !outcome.journalError.isEmpty())
            continue;
        const Setting& s = *i->setting;
        if (!note(QStringLiteral("%1 %2 = %3")
                      .arg(i->raised ? "raising" : "writing", s.key, shown(s, i->intended))))
            break;
        if (i->raised)
            controller.raiseWithoutTool(i->intended.word);
        else
            controller.write(s, i->intended);
        // The stop frequency held within 1..1000 is shown with the file's value beside it.
        const bool adjusted =
            i->raised || (s.kind == Kind::Param && i->file && i->file->word != i->intended.word);
        outcome.written << Verified{
            &s, i->intended, std::nullopt, false, adjusted ? i->file : std::nullopt, i->raised};
        if (controller.failed()) {
            outcome.aborted = true;
            note(QStringLiteral("FAILED while writing %1; restore stopped").arg(s.key));
        } else if (!note(QStringLiteral("written %1").arg(s.key))) {
            break;
        }
    }
    if (outcome.aborted || outcome.written.isEmpty()) {
        outcome.mismatches = 0;
        return outcome;
    }
    // Read back after a journal failure too: the report then tells what the controller holds.
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

Saved saveChangedSets(Controller& controller, const Outcome& outcome, Journal* journal)
{
    Saved result;
    if (!outcome.clean()) return result;
    result.notSaved = outcome.changedSets();
    auto note = [&](const QString& text) {
        if (!journal || journal->note(text)) return true;
        result.journalError = journal->reason();
        return false;
    };
    while (!result.notSaved.isEmpty()) {
        const SetId set = result.notSaved.first();
        const QLatin1String name(setSelector(set));
        if (controller.failed() || !note(QStringLiteral("saving %1").arg(name))) break;
        controller.save(set);
        if (controller.failed()) {
            note(QStringLiteral("FAILED while saving %1").arg(name));
            break;
        }
        result.saved << result.notSaved.takeFirst();
        if (!note(QStringLiteral("saved %1").arg(name))) break;
    }
    return result;
}

QStringList saveLines(const Saved& saved)
{
    if (saved.complete()) return {};
    QStringList out;
    out << tr73own("Dauerhaft gespeichert: %1")
               .arg(saved.saved.isEmpty() ? tr73own("keiner") : setNames(saved.saved))
        << tr73own("NICHT dauerhaft gespeichert: %1").arg(setNames(saved.notSaved));
    if (!saved.journalError.isEmpty())
        out << tr73own("Das Protokoll kann nicht geschrieben werden: %1").arg(saved.journalError);
    return out;
}

QStringList reportLines(const Outcome& outcome, const QString& fileName, const Identity& target)
{
    QStringList out;
    out << tr73own("Prüfbericht der Wiederherstellung") << tr73own("Datei: %1").arg(fileName)
        << tr73own("Controller: Seriennummer %1, BIOS %2")
               .arg(target.serial)
               .arg(versionText(target.bios))
        << tr73own("Zeit: %1").arg(QDateTime::currentDateTime().toString(Qt::ISODate)) << QString()
        << line(tr73own("Einstellung"), tr73own("Soll"), tr73own("Gelesen"), tr73own("Ergebnis"));
    for (const Verified& v : outcome.written) {
        const Setting& s = *v.setting;
        QString verdict = v.ok ? QStringLiteral("OK") : tr73own("ABWEICHUNG");
        if (!v.readBack)
            verdict = outcome.aborted ? tr73own("geschrieben, nicht geprüft") : verdict;
        out << line(label(s, target.bios), intendedCell(v), cell(s, v.readBack), verdict);
    }
    if (!outcome.skipped.isEmpty()) {
        out << QString() << tr73own("Nicht geschrieben:");
        for (const PlanItem& i : outcome.skipped)
            out << QStringLiteral("  %1: %2 (%3)")
                       .arg(label(*i.setting, target.bios), cell(*i.setting, i.file), i.note);
    }
    out << QString();
    if (!outcome.journalError.isEmpty())
        out << tr73own("ABGEBROCHEN: das Protokoll kann nicht geschrieben werden (%1). Geschrieben "
                       "wurden nur die oben genannten Einstellungen.")
                   .arg(outcome.journalError);
    else if (outcome.aborted)
        out << tr73own("ABGEBROCHEN: die Verbindung ist gestört. Geschrieben wurden nur die oben "
                       "genannten Einstellungen.");
    else if (outcome.written.isEmpty())
        out << tr73own("Nichts geschrieben: der Controller stimmt mit der Datei überein.");
    else if (outcome.mismatches == 0 && outcome.written.size() == 1)
        out << tr73own("Ergebnis: die geschriebene Einstellung stimmt überein.");
    else if (outcome.mismatches == 0)
        out << tr73own("Ergebnis: alle %1 geschriebenen Einstellungen stimmen überein.")
                   .arg(outcome.written.size());
    else
        out << tr73own("Ergebnis: %1 von %2 geschriebenen Einstellungen weichen ab.")
                   .arg(outcome.mismatches)
                   .arg(outcome.written.size());
    return out;
}

QString proposedReportName(const QString& folder, const Identity& target, const QDate& date)
{
    return proposedName(folder, target.serial, date, QStringLiteral("_report.txt"));
}

bool writeReport(const QString& path, const QStringList& lines, QString* error)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return writeFileAtomically(path, bytes, error);
}

} // namespace r73::backup
