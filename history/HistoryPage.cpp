#include "HistoryPage.h"

#include "ControllerModel.h"
#include "FiPri.h"
#include "Logbook.h"
#include "LogbuchPage.h"
#include "ProgramState.h"
#include "ShownValues.h"
#include "TextHook.h"
#include "ui_FiPri.h"
#include "ui_LogbuchPage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace r73 {

namespace {
constexpr int PageScrollPixels = 200;
constexpr int LineScrollPixels = 10;
} // namespace

HistoryPage::HistoryPage(PageHost& host, LogbuchPage* page, const ParamPagesApi* params,
                         std::function<void(int)> readAnalog, QObject* parent)
    : QObject(parent), m_host(host), m_page(page), m_list(page->ui().ListView1), m_params(params),
      m_readAnalog(std::move(readAnalog))
{
    Ui::LogbuchPage& ui = m_page->ui();
    connect(ui.Button8, &QPushButton::clicked, this, &HistoryPage::Button8Click);
    connect(ui.Button9, &QPushButton::clicked, this, &HistoryPage::Button9Click);
    // The scroll keys move the list by pixels.
    ui.ListView1->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (QWidget* w : {static_cast<QWidget*>(ui.ListView1), static_cast<QWidget*>(ui.Button8),
                       static_cast<QWidget*>(ui.Button9)})
        w->installEventFilter(this);
}

void HistoryPage::Button8Click()
{
    m_host.state().historyReading = !m_host.state().historyReading;
    m_page->ui().Button8->setText(m_host.state().historyReading ? tr73(1, QStringLiteral("Stop"))
                                                                : tr73(0, QStringLiteral("Lesen")));
}

void HistoryPage::setReadoutUsable(bool usable)
{
    m_page->ui().Button8->setEnabled(usable);
    m_page->ui().Button9->setEnabled(usable);
}

void HistoryPage::showBios(quint16 bios)
{
    Ui::LogbuchPage& log = m_page->ui();
    const bool readout = bios >= 208;
    for (QWidget* w : {static_cast<QWidget*>(log.Button8), static_cast<QWidget*>(log.Button9),
                       static_cast<QWidget*>(log.ListView1)})
        w->setVisible(readout);
    if (readout) {
        log.Panel18->setVisible(false);
        log.Button8->setText(tr73(0, QStringLiteral("&Lesen")));
        log.Button9->setText(tr73(0, QString::fromUtf8("Lö&schen")));
    } else {
        log.Panel18->setText(tr73(0, QStringLiteral("Logbuch nur ab R73-Bios-Version 2.08")));
        log.Panel18->setVisible(true);
    }
}

void HistoryPage::Button9Click()
{
    m_list.clear();
    m_host.controllerModel().historyCleared();
}

bool HistoryPage::ReadHistElement()
{
    const HistElement element = fetchElement();
    m_host.controllerModel().historyRead(element);
    return takeElement(element);
}

bool HistoryPage::Hist_End()
{
    return readHistEnd(m_host);
}

void HistoryPage::setReadoutProgress(int n)
{
    QProgressBar* bar = m_page->ui().ProgressBar4;
    bar->setValue(qMin(n, bar->maximum()));
    if (n > 0)
        m_host.showDone(tr73own("Historie: Element %1 dieses Durchgangs wird gelesen").arg(n));
}

void HistoryPage::passEnded(bool atEnd)
{
    const qsizetype listed = m_host.controllerModel().history().size();
    const char* text = atEnd ? "Durchgang beendet: %1 Einträge"
                       : m_host.state().historyReading
                           ? "Durchgang beendet: %1 Einträge, weitere folgen"
                           : "Lesen gestoppt: %1 Einträge";
    m_host.showDone(tr73own(text).arg(listed));
}

bool HistoryPage::stopInput(const QEvent* event, const QWidget* target)
{
    const bool esc = event->type() == QEvent::KeyPress &&
                     static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
    const bool stopButton = event->type() == QEvent::MouseButtonPress &&
                            static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton &&
                            target == m_page->ui().Button8;
    if (!(esc || stopButton) || !m_host.state().historyReading) return false;
    Button8Click();
    return true;
}

bool HistoryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        QScrollBar* bar = m_page->ui().ListView1->verticalScrollBar();
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_PageUp:
            bar->setValue(bar->value() - PageScrollPixels);
            break;
        case Qt::Key_PageDown:
            bar->setValue(bar->value() + PageScrollPixels);
            break;
        case Qt::Key_Up:
            // Cursor-up takes a fine step down as well; the list then keeps its selection in view.
            bar->setValue(bar->value() + LineScrollPixels);
            break;
        default:
            break;
        }
    }
    // Not consumed: the list's own keys (moving the selection) follow.
    return QObject::eventFilter(watched, event);
}

TFileForm* HistoryPage::logbookWindow()
{
    QWidget* window = m_host.window();
    if (auto* form = window->findChild<TFileForm*>()) return form;
    return new TFileForm(window);
}

QStringList HistoryPage::logbookLines(bool* confirmed)
{
    return ComposeLogbuch({m_host, m_params, m_page->ui().ListView1, m_readAnalog}, confirmed);
}

bool HistoryPage::GetLogbuch()
{
    TFileForm* form = logbookWindow();
    form->ui().Memo1->clear();
    bool confirmed = true;
    form->setLines(logbookLines(&confirmed));
    form->setSerialNumber(model::shownSerial(m_host.controllerModel()));
    return confirmed;
}

} // namespace r73
