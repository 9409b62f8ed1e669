// The live picture of the controller: the poll cycle of Timer1 and its reads, the pause while
// the user types a parameter, and the other window timers.

#include "Form_cy.h"

#include "ControllerModel.h"
#include "LinkState.h"
#include "ParamFormat.h"
#include "PollObserver.h"
#include "PollReads.h"
#include "ProgramState.h"
#include "TextHook.h"
#include "TimerWrapper.h"
#include "WindowKeepAlive.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QPalette>

using namespace r73;

namespace {

const QColor LampOn(0xFF, 0xFF, 0x00);
const QColor ResultGreen(0x00, 0x80, 0x00);
const QColor ResultRed(0xFF, 0x00, 0x00);
const QColor ResultYellow(0xFF, 0xFF, 0x00);

} // namespace

void TForm1::Timer1Timer()
{
    // Offline there is no machine: nothing live is read, so nothing is invented.
    if (programState().commErrorSeen || DemoMode || OfflineMode) {
        m_timer1->setEnabled(false);
        return;
    }
    switch (m_poll.next(programState().biosVersion)) {
    case PollStep::Lines:
        ReadIO();
        break;
    case PollStep::StatusService:
        ReadStatus();
        if (m_params) m_params->ReadService();
        break;
    case PollStep::History:
        if (programState().biosVersion >= 208 && programState().historyReading && m_history) {
            // Esc or the Stop button during the pass switch the readout off: the pass ends
            // at the next element, not after up to half a minute.
            SequenceStop stop([this](QEvent* event, QWidget* target) {
                return m_history->stopInput(event, target);
            });
            // Bounded, and over at the first failed call: the program is ending then.
            bool atEnd = false;
            for (int n = 1; n <= HistoryApi::PassLimit && !programState().commErrorSeen &&
                            programState().historyReading;
                 ++n) {
                m_history->setReadoutProgress(n);
                if (m_history->ReadHistElement() || m_history->Hist_End()) {
                    atEnd = true;
                    break;
                }
            }
            m_history->setReadoutProgress(0);
            if (!programState().commErrorSeen) m_history->passEnded(atEnd);
        }
        break;
    }
}

void TForm1::ReadIO()
{
    ReadSensor();
    ReadInport();
    ReadOutport();
}

void TForm1::showNoReadings()
{
    for (QLabel* lamp : {m_ui->Label100, m_ui->Label101, m_ui->Label102, m_ui->Label103,
                         m_ui->Label104, m_ui->Label105, m_ui->Label106, m_ui->Label107,
                         m_ui->Label110, m_ui->Label111, m_ui->Label112, m_ui->Label113,
                         m_ui->Label114, m_ui->Label115, m_ui->Label116, m_ui->Label117})
        setLamp(lamp, false);
    for (QLabel* status : {m_ui->Label6, m_ui->Label35, m_ui->Label59, m_ui->Label62})
        status->setText(tr73(0, QStringLiteral("---")));
    m_ui->Label62->setPalette(palette());
    m_inputWord = 0;
    m_outputWord.reset();
}

void TForm1::ReadSensor()
{
    const quint16 sensor = readSensorWords(*this).sensor;
    m_model->sensorRead(sensor);
    if (m_params) m_params->showSensor(sensor);
    if (PollObserver* o = pollObserver()) o->sensorRead(sensor);
}

void TForm1::setLamp(QLabel* lamp, bool on)
{
    QPalette p = lamp->palette();
    p.setColor(QPalette::Window, on ? LampOn : QApplication::palette().color(QPalette::Window));
    lamp->setPalette(p);
}

void TForm1::ReadInport()
{
    m_inputWord = readInputWord(*this);
    m_model->inputRead(m_inputWord);
    QLabel* const lamps[] = {m_ui->Label100, m_ui->Label101, m_ui->Label102, m_ui->Label103,
                             m_ui->Label104, m_ui->Label105, m_ui->Label106, m_ui->Label107};
    for (int bit = 0; bit < 8; ++bit)
        setLamp(lamps[bit], m_inputWord & (1u << bit));
    m_ui->Label6->setText(selectionText(m_inputWord));
    if (PollObserver* o = pollObserver()) o->inputRead(m_inputWord, m_ui->Label6->text());
}

void TForm1::setResult(const QString& text, const QColor* colour)
{
    m_ui->Label62->setText(text);
    if (colour) {
        QPalette p = m_ui->Label62->palette();
        p.setColor(QPalette::Window, *colour);
        // Black on yellow, white on green and red: readable from a step away.
        p.setColor(QPalette::WindowText, qGray(colour->rgb()) > 128 ? Qt::black : Qt::white);
        m_ui->Label62->setPalette(p);
    }
}

void TForm1::ReadOutport()
{
    const quint16 w = readOutputWord(*this);
    m_model->outputRead(w);
    QLabel* const lamps[] = {m_ui->Label110, m_ui->Label111, m_ui->Label112, m_ui->Label113,
                             m_ui->Label114, m_ui->Label115, m_ui->Label116, m_ui->Label117};
    for (int bit = 0; bit < 8; ++bit)
        setLamp(lamps[bit], w & (1u << bit));
    // Older controllers have one pulse field; its caption follows the running function.
    if (m_params) m_params->showRunningFunction(w);
    m_ui->Label35->setText(stateText(w));
    m_ui->Label59->setText(finishedText(w));
    const TestResult result = resultOf(w, m_inputWord);
    static const QColor* const colours[] = {nullptr, &ResultGreen, &ResultRed, &ResultYellow};
    setResult(result.text, colours[int(result.colour)]);
    m_outputWord = w;
    // The recorder writes a file: its own wording, not the page's.
    if (PollObserver* o = pollObserver())
        o->outputRead(w, stateName(w), finishedName(w), resultName(w, m_inputWord));
}

void TForm1::ReadStatus()
{
    const quint16 status = readStatusWord(*this);
    m_model->statusRead(status);
    m_ui->Edit1->setText(QString::number(status));
    if (PollObserver* o = pollObserver()) o->statusRead(status);
}

void TForm1::setStatusPanels(const QString& text)
{
    if (m_params) m_params->showStatusPanels(text);
}

void TForm1::Timer2Timer()
{
    setStatusPanels(QStringLiteral(" "));
    m_timer2->setEnabled(false);
}

void TForm1::PausePolling()
{
    m_timer1->setEnabled(false);
    m_timer3->setEnabled(true);
}

void TForm1::Timer3Timer()
{
    m_timer1->setEnabled(true);
}

void TForm1::Timer4Timer()
{
    if (m_ui->TabbedNotebook1->currentIndex() != 9) {
        m_timer4->setEnabled(false);
        return;
    }
    for (int channel = 1; channel <= 3; ++channel)
        if (m_analog && m_analog->channelActive(channel)) m_analog->AktWert(channel);
}

void TForm1::watchParameterFields()
{
    m_parameterFields = m_ui->pgSpannen->parameterFields() + m_ui->pgZeiten->parameterFields() +
                        m_ui->pgPlan->parameterFields() + m_ui->pgSchwingung->parameterFields();
    for (QWidget* field : m_parameterFields)
        field->installEventFilter(this);
}
