#pragma once
/// The reads of the live poll cycle as controller calls, and what their words mean: shared by
/// the main window's poll and by r73ctl, so both make the same calls with the same location
/// codes and name the same states.

#include "Exchanger.h"

#include <QString>
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

} // namespace r73
