// Reading and writing one channel's configuration: range, limits, name, unit, parameter word.

#include "AnalogPages.h"

#include "ControllerModel.h"
#include "LinkState.h"
#include "MessageFacade.h"
#include "ProgramState.h"
#include "TextHook.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace r73 {

namespace {

void numberFromControllerRefused(QWidget* owner, const QString& caption)
{
    showMessage({owner,
                 tr73(0, QStringLiteral("Die Zahl aus dem R73 ist keine gültige Floatzahl!")),
                 tr73(0, caption), MsgIcon::None, MsgButtons::Ok});
}

} // namespace

void TAnalogPages::learn(int channel, const QString& item, quint16 word, const QString& text)
{
    const QString key = QStringLiteral("channel%1.").arg(channel) + item;
    model::ControllerModel& m = m_host.controllerModel();
    if (m_readingBack)
        m.settingSent(key, {word, text});
    else
        m.settingRead(key, {word, text});
}

void TAnalogPages::learnSent(int channel, const QString& item, quint16 word)
{
    m_host.controllerModel().settingSent(QStringLiteral("channel%1.").arg(channel) + item,
                                         {word, {}});
}

void TAnalogPages::ReadChannelNames()
{
    // The demo link only echoes what was last written: the demonstration channels stand in.
    if (DemoMode) {
        FillPage6To8();
        return;
    }
    for (int channel = 1; channel <= 3; ++channel)
        GetBezeichnung(channel);
}

void TAnalogPages::ReadAnalog(int channel)
{
    Channel& c = ch(channel);
    GetParametrierung(channel);
    c.scale.BinMin = c.rbPos2->isChecked() ? 51 : 0;
    GetBezeichnung(channel);
    GetPhysEinh(channel);
    GetMinimum(channel);
    GetMaximum(channel);
    for (Limit l : LimitReadOrder)
        GetBinValue(channel, l);
}

void TAnalogPages::GetParametrierung(int channel)
{
    Channel& c = ch(channel);
    const quint16 word = readParameterWord(m_host, c.n);
    learn(c.n, QStringLiteral("parameters"), word);
    // The boxes' handlers run on every change; while loading they must not send it back.
    m_host.state().paramLoading = true;
    c.ckbKanalAktiv->setChecked(word & 1);
    ((word & 2) ? c.rbPos2 : c.rbPos1)->setChecked(true);
    m_host.state().paramLoading = false;
}

void TAnalogPages::GetBezeichnung(int channel)
{
    Channel& c = ch(channel);
    const QString name = readChannelName(m_host, c.n);
    learn(c.n, QStringLiteral("name"), 0, name);
    c.edtBezeichnung->setText(name);
    setTabCaption(c.n, name);
}

void TAnalogPages::GetPhysEinh(int channel)
{
    Channel& c = ch(channel);
    const QString unit = readChannelUnit(m_host, c.n);
    learn(c.n, QStringLiteral("unit"), 0, unit);
    c.edtPhysEinh->setText(unit);
}

void TAnalogPages::GetMinimum(int channel)
{
    Channel& c = ch(channel);
    const QString text = readRangeBottom(m_host, c.n);
    learn(c.n, QStringLiteral("minimum"), 0, text);
    c.edtMin->setText(text);
    if (!parsePhys(text, c.scale.PhysMin))
        numberFromControllerRefused(m_host.window(), QStringLiteral("Physikalisches Minimum"));
}

void TAnalogPages::GetMaximum(int channel)
{
    Channel& c = ch(channel);
    const QString text = readRangeTop(m_host, c.n);
    learn(c.n, QStringLiteral("maximum"), 0, text);
    c.edtMax->setText(text);
    if (!parsePhys(text, c.scale.PhysMax))
        numberFromControllerRefused(m_host.window(), QStringLiteral("Physikalisches Maximum"));
}

void TAnalogPages::GetBinValue(int channel, Limit limit)
{
    Channel& c = ch(channel);
    const LimitValue v = readLimit(m_host, c.n, limit);
    learn(c.n, limitName(limit).toLower(), v.raw, v.text);
    rawOf(c.raw, limit) = v.raw;
    c.edit(limit)->setText(v.text);
}

void TAnalogPages::WriteAnalog(int channel)
{
    Channel& c = ch(channel);
    if (!SendenMinimum(channel) || !SendenMaximum(channel)) return;
    bool all = SendenBezeichnung(channel);
    all = SendenPhysEinh(channel) && all;
    for (Limit l : LimitWriteOrder)
        all = SendenR73(channel, l, c.edit(l)->text(), rawOf(c.raw, l)) && all;
    // The page then shows what the controller holds, not what was typed.
    m_readingBack = true;
    ReadAnalog(channel);
    m_readingBack = false;
    // A refused field has said so in its own message; a broken line in the fatal one.
    if (all && !m_host.state().commErrorSeen)
        m_host.showDone(tr73own("Kanal %1 (%2) gesendet und gelesen; der Controller hält es sofort")
                            .arg(c.n)
                            .arg(c.edtBezeichnung->text().trimmed()));
}

bool TAnalogPages::rangeAccepted(Channel& c, const QString& orderText)
{
    // Both conversions run, so two messages may follow each other.
    const bool minOk =
        c.scale.StrToPhys(c.edtMin->text(), c.scale.PhysMin, QStringLiteral("Minimum"));
    const bool maxOk =
        c.scale.StrToPhys(c.edtMax->text(), c.scale.PhysMax, QStringLiteral("Maximum"));
    if (!minOk || !maxOk) return false;
    if (c.scale.PhysMin > c.scale.PhysMax) {
        showMessage({c.scale.MessageOwner, tr73(0, orderText),
                     tr73(0, QStringLiteral("Falscher Meßbereich")), MsgIcon::None,
                     MsgButtons::Ok});
        return false;
    }
    return true;
}

bool TAnalogPages::SendenMinimum(int channel)
{
    Channel& c = ch(channel);
    if (!rangeAccepted(c, QStringLiteral("Das Minimum darf nicht größer als das Maximum sein!")))
        return false;
    const QString text = c.edtMin->text();
    if (!sendable(text, QStringLiteral("Minimum"))) return false;
    sendRangeBottom(m_host, c.n, text);
    return true;
}

bool TAnalogPages::SendenMaximum(int channel)
{
    Channel& c = ch(channel);
    if (!rangeAccepted(c, QStringLiteral("Das Maximum darf nicht kleiner als das Minimum sein!")))
        return false;
    const QString text = c.edtMax->text();
    if (!sendable(text, QStringLiteral("Maximum"))) return false;
    sendRangeTop(m_host, c.n, text);
    return true;
}

bool TAnalogPages::SendenR73(int channel, Limit limit, const QString& text, qint32& raw)
{
    Channel& c = ch(channel);
    const QString name = limitName(limit);
    double value = 0;
    if (!c.scale.StrToPhys(text, value, name)) {
        raw = -1;
        return false;
    }
    // Both ends of the range count as inside.
    if (value > c.scale.PhysMax || !(value >= c.scale.PhysMin)) {
        showMessage({c.scale.MessageOwner,
                     tr73(0, QStringLiteral("Die Zahl liegt ausserhalb des Meßbereichs!")),
                     tr73(0, name), MsgIcon::None, MsgButtons::Ok});
        raw = -1;
        return false;
    }
    // Checked before the raw value goes out, so value and text never part company.
    if (!sendable(text, name)) {
        raw = -1;
        return false;
    }
    raw = qint32(c.scale.PhysToBin(value));
    sendLimit(m_host, c.n, limit, quint16(raw), text);
    return true;
}

bool TAnalogPages::SendenBezeichnung(int channel)
{
    Channel& c = ch(channel);
    const QString name = c.edtBezeichnung->text();
    if (trimControls(name).isEmpty()) {
        showMessage({m_host.window(),
                     tr73(0, QStringLiteral("Bitte geben Sie die Bezeichnung ein!")),
                     tr73(0, QStringLiteral("Bezeichnung")), MsgIcon::None, MsgButtons::Ok});
        return false;
    }
    if (!sendable(name, QStringLiteral("Bezeichnung"))) return false;
    // Sent as typed, surrounding blanks included.
    sendChannelName(m_host, c.n, name);
    setTabCaption(c.n, name);
    return true;
}

bool TAnalogPages::SendenPhysEinh(int channel)
{
    Channel& c = ch(channel);
    // An empty unit is never refused: the controller gets a single blank.
    if (trimControls(c.edtPhysEinh->text()).isEmpty()) c.edtPhysEinh->setText(QStringLiteral(" "));
    const QString unit = c.edtPhysEinh->text();
    if (!sendable(unit, QStringLiteral("physikalische Einheit"))) return false;
    sendChannelUnit(m_host, c.n, unit);
    return true;
}

void TAnalogPages::SendenKanalAktiv(int channel)
{
    Channel& c = ch(channel);
    sendParameterWord(m_host, c.n, c.parameterWord(), ParameterWordByActive);
    learnSent(c.n, QStringLiteral("parameters"), c.parameterWord());
}

void TAnalogPages::SendenPos(int channel)
{
    Channel& c = ch(channel);
    sendParameterWord(m_host, c.n, c.parameterWord(), ParameterWordByLevel);
    learnSent(c.n, QStringLiteral("parameters"), c.parameterWord());
}

} // namespace r73
