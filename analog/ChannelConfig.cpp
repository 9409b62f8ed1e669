// Reading and writing one channel's configuration: range, limits, name, unit, parameter word.

#include "AnalogPages.h"

#include "LinkState.h"
#include "MessageFacade.h"
#include "ProgramState.h"
#include "TextHook.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace r73 {

namespace {

/// The controller's name of a channel function: "READ_NAME%1" for channel 2 is "READ_NAME2".
QString fn(const char* pattern, int channel)
{
    return QString::fromLatin1(pattern).arg(channel);
}

/// "MIN2_1" for Min2 of channel 1: the stem of the limit's functions.
QString limitStem(Limit limit, int channel)
{
    return limitName(limit).toUpper() + u'_' + QString::number(channel);
}

/// Leading and trailing blanks and control characters removed.
QString trimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

void numberFromControllerRefused(QWidget* owner, const QString& caption)
{
    showMessage({owner,
                 tr73(0, QStringLiteral("Die Zahl aus dem R73 ist keine gültige Floatzahl!")),
                 tr73(0, caption), MsgIcon::None, MsgButtons::Ok});
}

} // namespace

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
    for (Limit l : {Limit::Min2, Limit::Min1, Limit::Max2, Limit::Max1})
        GetBinValue(channel, l);
}

void TAnalogPages::GetParametrierung(int channel)
{
    Channel& c = ch(channel);
    m_host.Exec(fn("@ANA_PARA%1", c.n), 5148);
    const quint16 word = m_host.Receive(5149);
    // The boxes' handlers run on every change; while loading they must not send it back.
    ParamLoading = true;
    c.ckbKanalAktiv->setChecked(word & 1);
    ((word & 2) ? c.rbPos2 : c.rbPos1)->setChecked(true);
    ParamLoading = false;
}

void TAnalogPages::GetBezeichnung(int channel)
{
    Channel& c = ch(channel);
    m_host.Exec(fn("READ_NAME%1", c.n), c.at.nameRead);
    const QString name = m_host.ReceiveText(c.at.nameRead + 1);
    c.edtBezeichnung->setText(name);
    setTabCaption(c.n, name);
}

void TAnalogPages::GetPhysEinh(int channel)
{
    Channel& c = ch(channel);
    m_host.Exec(fn("READ_EINH%1", c.n), c.at.unitRead);
    c.edtPhysEinh->setText(m_host.ReceiveText(c.at.unitRead + 1));
}

void TAnalogPages::GetMinimum(int channel)
{
    Channel& c = ch(channel);
    m_host.Exec(fn("READ_PHYS_ZERO%1", c.n), c.at.zeroRead);
    const QString text = m_host.ReceiveText(c.at.zeroRead + 1);
    c.edtMin->setText(text);
    if (!parsePhys(text, c.scale.PhysMin))
        numberFromControllerRefused(m_host.window(), QStringLiteral("Physikalisches Minimum"));
}

void TAnalogPages::GetMaximum(int channel)
{
    Channel& c = ch(channel);
    m_host.Exec(fn("READ_PHYS_RANGE%1", c.n), c.at.rangeRead);
    const QString text = m_host.ReceiveText(c.at.rangeRead + 1);
    c.edtMax->setText(text);
    if (!parsePhys(text, c.scale.PhysMax))
        numberFromControllerRefused(m_host.window(), QStringLiteral("Physikalisches Maximum"));
}

void TAnalogPages::GetBinValue(int channel, Limit limit)
{
    Channel& c = ch(channel);
    const QString stem = limitStem(limit, c.n);
    m_host.Exec(u'@' + stem, 5112);
    rawOf(c.raw, limit) = m_host.Receive(5113);
    m_host.Exec(QStringLiteral("READ_STR_") + stem, 5108);
    c.edit(limit)->setText(m_host.ReceiveText(5109));
}

void TAnalogPages::WriteAnalog(int channel)
{
    Channel& c = ch(channel);
    if (!SendenMinimum(channel) || !SendenMaximum(channel)) return;
    SendenBezeichnung(channel);
    SendenPhysEinh(channel);
    for (Limit l : {Limit::Max2, Limit::Max1, Limit::Min1, Limit::Min2})
        SendenR73(channel, l, c.edit(l)->text(), rawOf(c.raw, l));
    // The page then shows what the controller holds, not what was typed.
    ReadAnalog(channel);
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
    m_host.SendText(text, 5315);
    m_host.Exec(fn("WRITE_PHYS_ZERO%1", c.n), 5316);
    return true;
}

bool TAnalogPages::SendenMaximum(int channel)
{
    Channel& c = ch(channel);
    if (!rangeAccepted(c, QStringLiteral("Das Maximum darf nicht kleiner als das Minimum sein!")))
        return false;
    const QString text = c.edtMax->text();
    if (!sendable(text, QStringLiteral("Maximum"))) return false;
    m_host.SendText(text, 5310);
    m_host.Exec(fn("WRITE_PHYS_RANGE%1", c.n), 5311);
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
    const QString stem = limitStem(limit, c.n);
    m_host.Send(quint16(raw), 5306);
    m_host.Exec(u'!' + stem, 5307);
    m_host.SendText(text, 5308);
    m_host.Exec(QStringLiteral("WRITE_STR_") + stem, 5309);
    return true;
}

void TAnalogPages::SendenBezeichnung(int channel)
{
    Channel& c = ch(channel);
    const QString name = c.edtBezeichnung->text();
    if (trimControls(name).isEmpty()) {
        showMessage({m_host.window(),
                     tr73(0, QStringLiteral("Bitte geben Sie die Bezeichnung ein!")),
                     tr73(0, QStringLiteral("Bezeichnung")), MsgIcon::None, MsgButtons::Ok});
        return;
    }
    if (!sendable(name, QStringLiteral("Bezeichnung"))) return;
    // Sent as typed, surrounding blanks included.
    m_host.SendText(name, c.at.nameSend);
    m_host.Exec(fn("WRITE_NAME%1", c.n), c.at.nameSend + 1);
    setTabCaption(c.n, name);
}

void TAnalogPages::SendenPhysEinh(int channel)
{
    Channel& c = ch(channel);
    // An empty unit is never refused: the controller gets a single blank.
    if (trimControls(c.edtPhysEinh->text()).isEmpty()) c.edtPhysEinh->setText(QStringLiteral(" "));
    const QString unit = c.edtPhysEinh->text();
    if (!sendable(unit, QStringLiteral("physikalische Einheit"))) return;
    m_host.SendText(unit, c.at.unitSend);
    m_host.Exec(fn("WRITE_EINH%1", c.n), c.at.unitSend + 1);
}

void TAnalogPages::SendenKanalAktiv(int channel)
{
    Channel& c = ch(channel);
    m_host.Send(c.parameterWord(), 5325);
    m_host.Exec(fn("!ANA_PARA%1", c.n), 5326);
}

void TAnalogPages::SendenPos(int channel)
{
    Channel& c = ch(channel);
    m_host.Send(c.parameterWord(), 5300);
    m_host.Exec(fn("!ANA_PARA%1", c.n), 5301);
}

} // namespace r73
