// Demonstration values on the three channel pages and a moving live value in demo mode.

#include "AnalogPages.h"

#include "ProgramState.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <cmath>
#include <numbers>

namespace r73 {

namespace {

/// Live refreshes per sweep of each channel: two to three minutes at one refresh in 3 s.
constexpr int DemoPeriods[3] = {40, 50, 60};

} // namespace

void TAnalogPages::FillPage6To8()
{
    // Checking the boxes below runs their handlers. Left to send, they would write the parameter
    // word and, for a changed input level, the whole channel through the demo link, whose echoes
    // would then stand in the page instead of the demonstration texts. So the fill loads like a
    // channel read: nothing is sent, and BinMin still follows the input level.
    const bool loading = m_host.state().paramLoading;
    m_host.state().paramLoading = true;
    fillChannel(1, QStringLiteral("TEMPERATUR"),
                {"100", "-100", "75", "60", "-80", "-60", "Temperatur", "Grad C"}, true, 1);
    fillChannel(2, QStringLiteral("DRUCK"),
                {"9000", "300", "8670", "8300", "320", "350", "Druck", "Bar"}, true, 2);
    fillChannel(3, QStringLiteral("GROESSE"),
                {"9000", "300", "8670", "8300", "320", "350", QStringLiteral("Größe"), "mm"}, false,
                0);
    m_host.state().paramLoading = loading;
}

void TAnalogPages::fillChannel(int channel, const QString& caption, const QStringList& texts,
                               bool active, int level)
{
    Channel& c = ch(channel);
    m_notebook->setTabText(5 + channel, caption);
    QLineEdit* const fields[] = {c.edtMax,
                                 c.edtMin,
                                 c.edit(Limit::Max2),
                                 c.edit(Limit::Max1),
                                 c.edit(Limit::Min1),
                                 c.edit(Limit::Min2),
                                 c.edtBezeichnung,
                                 c.edtPhysEinh};
    for (int i = 0; i < 8; ++i)
        fields[i]->setText(texts.value(i));
    c.ckbKanalAktiv->setChecked(active);
    if (level == 1) c.rbPos1->setChecked(true);
    if (level == 2) c.rbPos2->setChecked(true);
    // Scaling and raw limits as a channel read leaves them, so that the live page draws the
    // demonstration range and limits (BinMin has followed the input level above).
    parsePhys(c.edtMin->text(), c.scale.PhysMin);
    parsePhys(c.edtMax->text(), c.scale.PhysMax);
    recomputeRawLimits(c);
    // The live page names and units its channels as their configuration pages do.
    c.gbKanal->setTitle(c.edtBezeichnung->text());
    c.lbEinheit->setText(c.edtPhysEinh->text());
    learn(channel, QStringLiteral("parameters"), c.parameterWord());
    learn(channel, QStringLiteral("name"), 0, c.edtBezeichnung->text());
    learn(channel, QStringLiteral("unit"), 0, c.edtPhysEinh->text());
    learn(channel, QStringLiteral("minimum"), 0, c.edtMin->text());
    learn(channel, QStringLiteral("maximum"), 0, c.edtMax->text());
    for (Limit l : LimitReadOrder)
        learn(channel, limitName(l).toLower(), quint16(rawOf(c.raw, l)), c.edit(l)->text());
}

void TAnalogPages::demoAktWert(Channel& c)
{
    // A slow sine over nearly the whole raw range, each channel at its own pace and phase, so
    // the limit labels light and go out as the value passes them. Counted in refreshes, it
    // repeats exactly.
    const int period = DemoPeriods[c.n - 1];
    const double angle =
        2 * std::numbers::pi * ((c.demoTick++ % period) / double(period) + (c.n - 1) / 3.0);
    const double centre = (c.scale.BinMin + c.scale.BinMax) / 2.0;
    const double amplitude = 0.48 * (c.scale.BinMax - c.scale.BinMin);
    const int raw = qBound(c.scale.BinMin, int(std::lround(centre + amplitude * std::sin(angle))),
                           c.scale.BinMax);
    showReading(c, quint16(raw));
    // The limit check as the controller makes it.
    quint16 flags = 0;
    if (raw < c.raw.Min1) flags |= flagBit(Limit::Min1);
    if (raw < c.raw.Min2) flags |= flagBit(Limit::Min2);
    if (raw > c.raw.Max1) flags |= flagBit(Limit::Max1);
    if (raw > c.raw.Max2) flags |= flagBit(Limit::Max2);
    showFlags(c, flags);
}

} // namespace r73
