#include "PollReads.h"

#include "TextHook.h"

namespace r73 {

SensorWords readSensorWords(Exchanger& calls)
{
    SensorWords w;
    calls.Exec(QStringLiteral("R_SENSOR"), 2600);
    w.sensor = calls.Receive(2601);
    calls.Exec(QStringLiteral("SCHWING_MAX@"), 2602);
    w.maximum = calls.Receive(2603);
    calls.Exec(QStringLiteral("ACT_FREQ"), 2604);
    w.frequency = calls.Receive(2605);
    return w;
}

quint16 readInputWord(Exchanger& calls)
{
    calls.Exec(QStringLiteral("R_INPORT"), 2400);
    return calls.Receive(2401);
}

quint16 readOutputWord(Exchanger& calls)
{
    calls.Exec(QStringLiteral("R_OPORT"), 2500);
    return calls.Receive(2501);
}

quint16 readStatusWord(Exchanger& calls)
{
    calls.Exec(QStringLiteral("#MESSEN@"), 2700);
    const quint16 status = calls.Receive(2701);
    calls.Exec(QStringLiteral("ACT_ZAEHLER"), 2702);
    calls.Receive(2703);
    return status;
}

QString selectionText(quint16 inputWord)
{
    // One bit per function; anything else is no single selection.
    switch (inputWord & 0x7F) {
    case 0:
        return tr73(0, QStringLiteral("IDLE"));
    case 1:
        return tr73(0, QStringLiteral("SPANNEN"));
    case 2:
        return tr73(0, QString::fromUtf8("LÖSEN"));
    case 4:
        return tr73(0, QStringLiteral("PLANANLAGE"));
    case 8:
        return tr73(0, QStringLiteral("SCHWINGUNG"));
    case 16:
        return tr73(0, QStringLiteral("ANALOG1"));
    case 32:
        return tr73(0, QStringLiteral("ANALOG2"));
    case 64:
        return tr73(0, QStringLiteral("ANALOG3"));
    default:
        return QStringLiteral("---");
    }
}

QString stateText(quint16 outputWord)
{
    static const char* const texts[] = {"IDLE", "SPANNEN", "LÖSEN", "PLANANLAGE", "SCHWINGUNG"};
    const quint16 state = outputWord & 7;
    return tr73(0, state <= 4 ? QString::fromUtf8(texts[state]) : QStringLiteral("ANALOG"));
}

QString finishedText(quint16 outputWord)
{
    return (outputWord & 0x08) ? tr73(0, QStringLiteral("Test beendet")) : QStringLiteral("--");
}

TestResult resultOf(quint16 w, quint16 inputWord)
{
    using C = TestResult::Colour;
    if ((w & 7) >= 5) {
        if ((w & 0xF0) || inputWord == 0) return {tr73(0, QStringLiteral("ANALOG ERR")), C::Red};
        return {tr73(0, QStringLiteral("ANALOG OK")), C::Green};
    }
    TestResult r{QStringLiteral("--"), C::Keep};
    if (w & 0x10) r = {QStringLiteral("TEST OK"), C::Green};
    if (w & 0x20) r = {QStringLiteral("ZU KURZ"), C::Red};
    if (w & 0x40)
        r = (w & 0x10) ? TestResult{QStringLiteral("kein Werkzeug"), C::Yellow}
                       : TestResult{QStringLiteral("ZU LANG"), C::Red};
    if ((w & 0x60) == 0x60) r = {QStringLiteral("LECKAGE"), C::Red};
    if (w & 0x80) r = {QStringLiteral("TIMEOUT"), C::Red};
    if (r.colour != C::Keep) r.text = tr73(0, r.text);
    return r;
}

} // namespace r73
