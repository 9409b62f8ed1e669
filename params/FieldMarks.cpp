// The state of each parameter field, its background and its tooltip.

#include "FieldMarks.h"

#include "ControllerModel.h"
#include "ParamFormat.h"
#include "ParamPages.h"
#include "ProgramState.h"
#include "Settings.h"
#include "ShownValues.h"
#include "TextHook.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>

namespace r73 {

namespace {

// Pale enough that the black digits stay readable on every one of them.
QColor markColour(FieldMark mark)
{
    switch (mark) {
    case FieldMark::Typed:
        return QColor(0xff, 0xf3, 0xbf);
    case FieldMark::Unsaved:
        return QColor(0xff, 0xdc, 0xa8);
    case FieldMark::Saved:
        return QColor(0xd3, 0xf0, 0xd3);
    case FieldMark::Differs:
        return QColor(0xff, 0xc2, 0xc2);
    case FieldMark::Held:
        break;
    }
    return {};
}

QString allowedText(const ParamDef& def)
{
    const QLocale locale;
    switch (def.conversion) {
    case ParamConversion::StopFrequency:
        return tr73own("1 bis 1000; darüber oder darunter sendet das Programm 1000 bzw. 1");
    case ParamConversion::Threshold:
        return tr73own("%1 bis %2").arg(mmPerSecond(0, locale), mmPerSecond(0xFFFF, locale));
    case ParamConversion::Whole:
        break;
    }
    return tr73own("%1 bis %2").arg(WordMin).arg(WordMax);
}

} // namespace

void showMark(QLineEdit* edit, FieldMark mark)
{
    QPalette p = edit->palette();
    const QColor colour = markColour(mark);
    p.setColor(QPalette::Base,
               colour.isValid() ? colour : QApplication::palette(edit).color(QPalette::Base));
    edit->setPalette(p);
}

QString markText(FieldMark mark)
{
    switch (mark) {
    case FieldMark::Typed:
        return tr73own("Getippt, noch nicht gesendet (Enter oder F4)");
    case FieldMark::Unsaved:
        return tr73own("Gesendet und gelesen, noch nicht dauerhaft gespeichert (F5)");
    case FieldMark::Saved:
        return tr73own("Dauerhaft gespeichert");
    case FieldMark::Differs:
        return tr73own("Der Controller hält einen anderen Wert als getippt");
    case FieldMark::Held:
        break;
    }
    return {};
}

void TParamPages::markField(const char* key, FieldMark mark)
{
    for (const Field& f : m_fields) {
        if (qstrcmp(f.def->key, key) != 0) continue;
        m_marks.insert(f.edit, mark);
        if (mark != FieldMark::Differs) m_typedAway.remove(f.edit);
        refreshField(f);
    }
}

void TParamPages::markSaved(SetId set)
{
    for (const Field& f : m_fields) {
        const FieldMark mark = m_marks.value(f.edit);
        if (f.def->savedWith != set || (mark != FieldMark::Unsaved && mark != FieldMark::Differs))
            continue;
        m_marks.insert(f.edit, FieldMark::Saved);
        refreshField(f);
    }
}

void TParamPages::markAllHeld()
{
    m_marks.clear();
    m_typedAway.clear();
    for (const Field& f : m_fields)
        refreshField(f);
}

void TParamPages::markTyped(const Field& f)
{
    if (!f.edit->isModified() || m_marks.value(f.edit) == FieldMark::Typed) return;
    m_marks.insert(f.edit, FieldMark::Typed);
    refreshField(f);
}

void TParamPages::refreshField(const Field& f)
{
    showMark(f.edit, m_marks.value(f.edit));
    f.edit->setToolTip(fieldTip(f));
}

QString TParamPages::fieldTip(const Field& f) const
{
    const backup::Setting* s = backup::settingOf(QLatin1String(f.def->key));
    QStringList lines;
    if (s) lines << backup::label(*s, m_host.state().biosVersion);
    lines << tr73own("Einheit: %1").arg(tr73own(unitOf(*f.def)));
    lines << tr73own("Erlaubt: %1").arg(allowedText(*f.def));
    if (qstrcmp(f.def->key, "clamp.without_tool") == 0)
        lines << tr73own("Muss über „Lang“ liegen; Enter in „Lang“ hebt ihn sonst an");
    const model::ControllerModel& model = m_host.controllerModel();
    if (const std::optional<model::Known> held = model.setting(QLatin1String(f.def->key))) {
        const QString when = held->when.toString(QStringLiteral("HH:mm:ss"));
        const QString value = model::fieldText(model, QLatin1String(f.def->key));
        switch (held->origin) {
        case model::Origin::Read:
            lines << tr73own("Im Controller: %1 (gelesen %2)").arg(value, when);
            break;
        case model::Origin::SentAndReadBack:
            lines << tr73own("Im Controller: %1 (gesendet und gelesen %2)").arg(value, when);
            break;
        case model::Origin::Demonstration:
            lines << tr73own("Beispielwert: %1").arg(value);
            break;
        }
    } else {
        lines << tr73own("Noch nicht aus dem Controller gelesen");
    }
    if (s)
        if (const QString changed = m_host.lastChangeText(s->key); !changed.isEmpty())
            lines << changed;
    const FieldMark mark = m_marks.value(f.edit);
    if (mark == FieldMark::Differs)
        lines << markText(mark) + QStringLiteral(": ") + m_typedAway.value(f.edit);
    else if (mark != FieldMark::Held)
        lines << markText(mark);
    return lines.join(u'\n');
}

} // namespace r73
