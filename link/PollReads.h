#pragma once
/// The reads of the live poll cycle as controller calls, and what their words mean: shared by
/// the main window's poll and by r73ctl, so both make the same calls with the same location
/// codes and name the same states.

#include "Exchanger.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace r73 {

struct SensorWords
{
    quint16 sensor = 0;  ///< vibration sensor, 1 unit = 0.05 mm/s
    quint16 maximum = 0; ///< received, its meaning belongs to the controller
    quint16 frequency = 0;
};

/// "R_SENSOR", "SCHWING_MAX@", "ACT_FREQ" (2600-2605).
SensorWords readSensorWords(Exchanger& calls);
/// "R_INPORT" (2400, 2401): the input word.
quint16 readInputWord(Exchanger& calls);
/// "R_OPORT" (2500, 2501): the output word.
quint16 readOutputWord(Exchanger& calls);
/// "#MESSEN@" and "ACT_ZAEHLER" (2700-2703): the measuring status word; the counter is received
/// and not used.
quint16 readStatusWord(Exchanger& calls);

/// One service read, as the controller delivered it.
struct ServiceWords
{
    quint16 frequency = 0; ///< "F@", 0.1 Hz
    quint16 clampPulses = 0;
    quint16 releasePulses = 0;
    quint16 releaseDeviation = 0;
    quint16 creepFrequency = 0; ///< "F_SCHLEICH@"
    quint16 maxFrequency = 0;   ///< "F_MAX@"
    quint16 duration = 0;       ///< "T_DAUER@", ms
};

/// The service values by BIOS version (700-715): from 2.08 "LAST_SPANN@", "LAST_LOES@" and
/// "ABW_LOES@", before it "M_SPANN@" alone (release pulses and deviation stay 0).
ServiceWords readServiceWords(Exchanger& calls, quint16 bios);
/// The other way round: the getter's name for each service word a read at bios would fetch.
QHash<QString, quint16> serviceReadings(const ServiceWords& words, quint16 bios);

/// The steps of the poll cycle, one a tick of one second.
enum class PollStep {
    Lines,         ///< sensor, inputs, outputs
    StatusService, ///< measuring status, then the service values
    History,       ///< from BIOS 2.08: a pass of the history readout, when one is switched on
};

/// Which step each tick performs. The third step exists from BIOS 2.08 and also paces the cycle
/// when no readout runs, so the lines are read every 3 s there and every 2 s before.
class PollCycle
{
public:
    /// The step of this tick; moves on to the next.
    PollStep next(quint16 bios);
    /// 0, 1 or 2: the step the next tick performs.
    int phase() const { return m_phase; }

private:
    int m_phase = 0;
};

/// The functions a step executes, in order, each followed by the fetch of its value ("PUT").
/// The history step lists none: its calls belong to the readout.
QStringList pollStepCalls(PollStep step, quint16 bios);

/// "ext. Anwahl": the selection in the input word's low seven bits, translated.
QString selectionText(quint16 inputWord);
/// "int.  Zustand": the state in the output word's low three bits, translated.
QString stateText(quint16 outputWord);
/// "Test beendet" (translated) or "--".
QString finishedText(quint16 outputWord);

/// The test result of an output word. Each rule that applies overrides the one before; when
/// none applies the text is "--" and the colour stays as it was.
struct TestResult
{
    enum class Colour { Keep, Green, Red, Yellow };
    QString text; ///< translated
    Colour colour = Colour::Keep;
};
TestResult resultOf(quint16 outputWord, quint16 inputWord);

/// stateText, finishedText and resultOf's text as the files and r73ctl name them: in English with
/// the own wording beyond the window's fixed pages ("TOO LONG", "ANALOG OK").
QString stateName(quint16 outputWord);
QString finishedName(quint16 outputWord);
QString resultName(quint16 outputWord, quint16 inputWord);

} // namespace r73
