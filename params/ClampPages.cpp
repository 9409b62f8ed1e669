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

#include <QLineEdit>
#include <cstdlib>

namespace r73 {

void TParamPages::ReadSpann()
{
    select("SPANN", 300);
    const quint16 shortLimit = fetch("M_ZKLEIN@", 301);
    const quint16 longLimit = fetch("M_ZGROSS@", 303);
    const quint16 minTime = fetch("F_MIN1@", 305);
    const quint16 withoutTool = fetch("F_MIN2@", 307);
    const quint16 stopFrequency = fetch("F_MIN3@", 309);
    const quint16 timeout = fetch("T_DAUER_TO@", 311);
    const Ui::SpannenPage& sp = m_spannen->ui;
    const Ui::ZeitenPage& zt = m_zeiten->ui;
    sp.Edit10->setText(signedText(shortLimit));
    sp.Edit11->setText(signedText(longLimit));
    zt.Edit12->setText(signedText(minTime));
    sp.Edit16->setText(signedText(withoutTool));
    zt.Edit14->setText(signedText(stopFrequency));
    zt.Edit15->setText(signedText(timeout));
}

void TParamPages::ReadLoes()
{
    select("LOES", 400);
    const quint16 shortLimit = fetch("M_ZKLEIN@", 401);
    const quint16 longLimit = fetch("M_ZGROSS@", 403);
    const quint16 minTime = fetch("F_MIN1@", 405);
    fetch("F_MIN2@", 407); // the release set's is read but has no field
    const quint16 stopFrequency = fetch("F_MIN3@", 409);
    const quint16 timeout = fetch("T_DAUER_TO@", 411);
    std::optional<HydraulicValues> hydraulics;
    if (BiosVersion >= 310) hydraulics = readHydraulics();
    const Ui::SpannenPage& sp = m_spannen->ui;
    const Ui::ZeitenPage& zt = m_zeiten->ui;
    sp.Edit20->setText(signedText(shortLimit));
    sp.Edit21->setText(signedText(longLimit));
    zt.Edit22->setText(signedText(minTime));
    zt.Edit24->setText(signedText(stopFrequency));
    zt.Edit25->setText(signedText(timeout));
    if (hydraulics) showHydraulics(*hydraulics);
}

void TParamPages::Edit11KeyDown()
{
    const Ui::SpannenPage& sp = m_spannen->ui;
    const Field& longField = *fieldOf(sp.Edit11);
    const std::optional<qint64> longLimit = valueOrComplain(longField);
    if (!longLimit) return;
    if (BiosVersion >= 210) {
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
    const Ui::SpannenPage& sp = m_spannen->ui;
    const qint64 raised = longLimit + 2 * std::llabs(releaseLong);
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
    const bool failedBefore = CommErrorSeen;
    sp.Edit16->setText(QString::number(raised));
    sp.Edit16->setModified(true);
    select("SPANN", 300);
    m_host.Send(quint16(raised), 900);
    m_host.Exec(QStringLiteral("M_OHNE_TOOL"), 901);
    m_host.Exec(QStringLiteral("F_MIN2@"), 902);
    const quint16 word = m_host.Receive(903);
    sp.Edit16->setText(signedText(word));
    sp.Edit16->setModified(false);
    ClampChanged = true;
    // After a failed call nothing was changed, and the program may be ending.
    if (terminateRequested() || (CommErrorSeen && !failedBefore)) return;
    showMessage({m_host.window(),
                 tr73(0, QString::fromUtf8("Spannen ohne Werkzeug wurde verändert")),
                 tr73(0, QStringLiteral("Warnung")), MsgIcon::Warning, MsgButtons::Ok});
}

void TParamPages::Edit16KeyDown()
{
    const Ui::SpannenPage& sp = m_spannen->ui;
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
        select("SPANN", 300);
        m_host.Exec(QStringLiteral("F_MIN2@"), 902);
        const quint16 word = m_host.Receive(903);
        const bool modified = sp.Edit16->isModified();
        sp.Edit16->setText(signedText(word));
        sp.Edit16->setModified(modified);
        return;
    }
    sendParsed(withoutToolField, *withoutTool);
}

void TParamPages::Button1Click()
{
    saveSet(ClampChanged, "SPANN", 300, 2801, 2800, QString::fromUtf8("Spannen: Speichern EEPROM"));
    saveSet(ReleaseChanged, "LOES", 400, 2901, 2900, QString::fromUtf8("Lösen: Speichern EEPROM"));
}

} // namespace r73
