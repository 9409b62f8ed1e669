// The clamping and release sets on the pages "SPANNEN" and "ZEITEN": reading them, the rule
// between the long limit and the clamp-without-tool limit, and their permanent save.

#include "MessageFacade.h"
#include "ParamFormat.h"
#include "ParamPages.h"
#include "ProgramState.h"
#include "SpannenPage.h"
#include "Terminate.h"
#include "TextHook.h"
#include "ZeitenPage.h"
#include "ui_SpannenPage.h"
#include "ui_ZeitenPage.h"

#include <QLineEdit>

namespace r73 {

void TParamPages::ReadSpann()
{
    const SetWords w = m_sets.ReadSpann();
    const Ui::SpannenPage& sp = m_spannen->ui();
    const Ui::ZeitenPage& zt = m_zeiten->ui();
    sp.Edit10->setText(signedText(w.shortLimit));
    sp.Edit11->setText(signedText(w.longLimit));
    zt.Edit12->setText(signedText(w.minTime));
    sp.Edit16->setText(signedText(w.withoutTool));
    zt.Edit14->setText(signedText(w.stopFrequency));
    zt.Edit15->setText(signedText(w.timeout));
    for (const auto& [key, word] : setWordsByKey(SetId::Clamp, w, m_host.state().biosVersion))
        learnRead(key, word);
}

void TParamPages::ReadLoes()
{
    const SetWords w = m_sets.ReadLoes(); // its F_MIN2 has no field
    std::optional<HydraulicWords> hydraulics;
    if (m_host.state().biosVersion >= 310) hydraulics = m_sets.ReadHydraulics();
    const Ui::SpannenPage& sp = m_spannen->ui();
    const Ui::ZeitenPage& zt = m_zeiten->ui();
    sp.Edit20->setText(signedText(w.shortLimit));
    sp.Edit21->setText(signedText(w.longLimit));
    zt.Edit22->setText(signedText(w.minTime));
    zt.Edit24->setText(signedText(w.stopFrequency));
    zt.Edit25->setText(signedText(w.timeout));
    for (const auto& [key, word] : setWordsByKey(SetId::Release, w, m_host.state().biosVersion))
        learnRead(key, word);
    if (hydraulics) {
        learnRead("hydraulics.enabled", hydraulics->enabled);
        learnRead("hydraulics.duration", hydraulics->duration);
        learnRead("hydraulics.pulses", hydraulics->pulses);
        showHydraulics(*hydraulics);
    }
}

void TParamPages::Edit11KeyDown()
{
    const Ui::SpannenPage& sp = m_spannen->ui();
    const Field& longField = *fieldOf(sp.Edit11);
    const std::optional<qint64> longLimit = valueOrComplain(longField);
    if (!longLimit) return;
    if (m_host.state().biosVersion >= 210) {
        const std::optional<int> withoutTool = wholeOrComplain(sp.Edit16, "LANG");
        if (!withoutTool) return;
        const std::optional<int> releaseLong = wholeOrComplain(sp.Edit21, "LANG");
        if (!releaseLong) return;
        if (*withoutTool <= *longLimit) raiseWithoutTool(*longLimit, *withoutTool, *releaseLong);
    }
    sendParsed(longField, *longLimit);
}

void TParamPages::raiseWithoutTool(qint64 longLimit, int withoutTool, int releaseLong)
{
    // The clamp-without-tool limit must lie beyond the long one: raise it past the long limit
    // by twice the release set's second value.
    const Ui::SpannenPage& sp = m_spannen->ui();
    const qint64 raised = raisedWithoutTool(longLimit, releaseLong);
    if (releaseLong == 0) {
        // The raise would leave it equal to the long limit; sending that on every Enter would
        // change nothing. Said once for the same pair of values.
        const std::pair<qint64, int> pair{longLimit, withoutTool};
        if (m_unraisableTold != pair)
            showMessage({m_host.window(),
                         tr73(0, QString::fromUtf8("Spannen ohne Werkzeug kann nicht größer als "
                                                   "Lang werden, solange der zweite Wert von "
                                                   "LÖSEN 0 ist. Nichts gesendet.")),
                         tr73(0, QStringLiteral("Warnung")), MsgIcon::Warning, MsgButtons::Ok});
        m_unraisableTold = pair;
        return;
    }
    if (!fitsWord(raised)) {
        showMessage({m_host.window(),
                     tr73(0, QString::fromUtf8("Spannen ohne Werkzeug kann nicht auf %1 angehoben "
                                               "werden: der Wert passt nicht in das Feld. Nichts "
                                               "gesendet."))
                         .arg(raised),
                     tr73(0, QStringLiteral("Warnung")), MsgIcon::Warning, MsgButtons::Ok});
        return;
    }
    const bool failedBefore = m_host.state().commErrorSeen;
    sp.Edit16->setText(QString::number(raised));
    sp.Edit16->setModified(true);
    const quint16 word = m_sets.raiseWithoutTool(raised);
    learnSent("clamp.without_tool", word);
    sp.Edit16->setText(signedText(word));
    sp.Edit16->setModified(false);
    m_host.state().clampChanged = true;
    // After a failed call nothing was changed, and the program may be ending.
    if (terminateRequested() || (m_host.state().commErrorSeen && !failedBefore)) return;
    showMessage({m_host.window(),
                 tr73(0, QString::fromUtf8("Spannen ohne Werkzeug wurde verändert")),
                 tr73(0, QStringLiteral("Warnung")), MsgIcon::Warning, MsgButtons::Ok});
}

void TParamPages::Edit16KeyDown()
{
    const Ui::SpannenPage& sp = m_spannen->ui();
    const Field& withoutToolField = *fieldOf(sp.Edit16);
    const std::optional<qint64> withoutTool = valueOrComplain(withoutToolField);
    if (!withoutTool) return;
    const std::optional<int> longLimit = wholeOrComplain(sp.Edit11, "LANG");
    if (!longLimit) return;
    if (*longLimit >= *withoutTool) {
        showMessage({m_host.window(),
                     tr73(0, QString::fromUtf8("Spannen ohne Werkzeug muß größer sein als Lang")),
                     tr73(0, QStringLiteral("Fehler")), MsgIcon::Error, MsgButtons::Ok});
        // Show what the controller holds again; the field stays as modified as it was.
        m_sets.select("SPANN", 300);
        const quint16 word = m_sets.fetch("F_MIN2@", 902);
        learnRead("clamp.without_tool", word);
        const bool modified = sp.Edit16->isModified();
        sp.Edit16->setText(signedText(word));
        sp.Edit16->setModified(modified);
        return;
    }
    sendParsed(withoutToolField, *withoutTool);
}

void TParamPages::Button1Click()
{
    m_savedNow.clear();
    saveSet(m_host.state().clampChanged, SetId::Clamp,
            QString::fromUtf8("Spannen: Speichern EEPROM"));
    saveSet(m_host.state().releaseChanged, SetId::Release,
            QString::fromUtf8("Lösen: Speichern EEPROM"));
}

} // namespace r73
