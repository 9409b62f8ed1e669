// The live page "ANALOGWERTE": current values, raw bars, limit bars and limit flags.

#include "AnalogPages.h"

#include "ControllerModel.h"
#include "LinkState.h"
#include "PollObserver.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace r73 {

namespace {

const QColor FlagRed(0xFF, 0x00, 0x00);

void colourLabel(QLabel* label, bool flagged)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window,
               flagged ? FlagRed : QApplication::palette("QMenu").color(QPalette::Window));
    label->setPalette(p);
}

constexpr Limit AllLimits[] = {Limit::Min2, Limit::Min1, Limit::Max1, Limit::Max2};

/// A channel's item ("name", "unit", "max2", ...) as the controller stated it.
QString channelText(const model::ControllerModel& m, int channel, const QString& item)
{
    return model::valueOr(m, QStringLiteral("channel%1.").arg(channel) + item).text;
}

} // namespace

quint16 flagBit(Limit limit)
{
    // Bit 4 Min1, bit 5 Min2, bit 6 Max1, bit 7 Max2.
    switch (limit) {
    case Limit::Min1:
        return 0x10;
    case Limit::Min2:
        return 0x20;
    case Limit::Max1:
        return 0x40;
    default:
        return 0x80;
    }
}

void TAnalogPages::ReadGraphR73()
{
    if (DemoMode)
        FillPage6To8();
    else
        for (int channel = 1; channel <= 3; ++channel)
            ReadAnalog(channel);
    for (Channel& c : m_channels)
        c.gbKanal->setTitle(c.edtBezeichnung->text());
    for (Channel& c : m_channels) {
        if (c.ckbKanalAktiv->isChecked()) {
            c.lbEinheit->setText(c.edtPhysEinh->text());
            InitialisierenGbKanal(c.n);
            AktWert(c.n);
        } else {
            NullSetzenKanal(c.n);
            // The recorder's columns name a switched-off channel too.
            if (PollObserver* o = pollObserver(); o && !DemoMode) {
                const model::ControllerModel& m = m_host.controllerModel();
                o->channelInactive(c.n, channelText(m, c.n, QStringLiteral("name")),
                                   channelText(m, c.n, QStringLiteral("unit")));
            }
        }
    }
}

void TAnalogPages::setBar(QProgressBar* bar, int position)
{
    // A bar ignores a position outside its range; here one below shows empty, one above full.
    bar->setValue(qBound(bar->minimum(), position, bar->maximum()));
}

void TAnalogPages::InitialisierenGbKanal(int channel)
{
    Channel& c = ch(channel);
    c.liveBar->setRange(c.scale.BinMin, c.scale.BinMax);
    for (Limit l : {Limit::Max2, Limit::Max1, Limit::Min1, Limit::Min2}) {
        QProgressBar* bar = c.limitBar[int(l) - 1];
        bar->setRange(c.scale.BinMin, c.scale.BinMax);
        setBar(bar, rawOf(c.raw, l));
    }
}

void TAnalogPages::AktWert(int channel)
{
    Channel& c = ch(channel);
    if (DemoMode) {
        demoAktWert(c);
        return;
    }
    if (OfflineMode) return; // no machine behind a backup: the bar stays empty

    const auto [raw, flags] = readLiveValue(m_host, c.n);
    showReading(c, raw);
    showFlags(c, flags);
    m_host.controllerModel().channelRead(
        c.n, {raw, flags, c.scale.BinToPhys(raw), QDateTime::currentDateTime()});
    if (PollObserver* o = pollObserver()) {
        const model::ControllerModel& m = m_host.controllerModel();
        auto text = [&](const QString& item) { return channelText(m, c.n, item); };
        ChannelReading r{c.n,
                         text(QStringLiteral("name")),
                         text(QStringLiteral("unit")),
                         raw,
                         flags,
                         c.scale.BinToPhys(raw),
                         {},
                         qAbs(c.scale.BinToPhys(1) - c.scale.BinToPhys(0))};
        for (Limit l : AllLimits) {
            const qint32 limit = rawOf(c.raw, l);
            // A limit as the controller states it, as its page shows it; from its raw word
            // only where the text is no number. −1 marks one the controller refused: no line.
            double phys = 0;
            if (!parsePhys(text(limitName(l).toLower()), phys)) phys = c.scale.BinToPhys(limit);
            r.limits[int(l) - 1] = limit < 0 ? qQNaN() : phys;
        }
        o->channelRead(r);
    }
}

void TAnalogPages::showReading(Channel& c, quint16 raw)
{
    c.edtAktWert->setText(formatPhys(c.scale.BinToPhys(raw)));
    setBar(c.liveBar, raw);
}

void TAnalogPages::showFlags(Channel& c, quint16 flags)
{
    for (Limit l : AllLimits)
        colourLabel(c.limitLabel[int(l) - 1], flags & flagBit(l));
}

void TAnalogPages::NullSetzenKanal(int channel)
{
    Channel& c = ch(channel);
    c.edtAktWert->clear();
    c.lbEinheit->clear();
    setBar(c.liveBar, 0);
    for (QProgressBar* bar : c.limitBar)
        setBar(bar, 0);
    for (QLabel* label : c.limitLabel)
        colourLabel(label, false);
}

} // namespace r73
