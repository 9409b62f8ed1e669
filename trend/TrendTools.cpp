#include "TrendTools.h"

#include "MessageFacade.h"
#include "Translate.h"
#include "TrendFeed.h"
#include "TrendRecorder.h"
#include "TrendWindow.h"
#include "ui_TrendWindow.h"

#include <QWidget>

namespace r73 {

TrendTools::TrendTools(QWidget* mainWindow)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_feed(new TrendFeed(this)),
      m_recorder(new TrendRecorder(m_feed, this)),
      m_window(new TrendWindow(*m_feed, *m_recorder, mainWindow))
{
    setPollObserver(m_feed);
    connect(m_recorder, &TrendRecorder::failed, this, [this](const QString& text) {
        showMessage({m_window->isVisible() ? m_window : m_mainWindow, text,
                     Translate(0, QStringLiteral("Trend")), MsgIcon::Error, MsgButtons::Ok});
    });
}

TrendTools::~TrendTools()
{
    if (pollObserver() == m_feed) setPollObserver(nullptr);
    m_recorder->stop();
}

void TrendTools::showWindow()
{
    m_window->applyLanguage();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void TrendTools::toggleRecording()
{
    m_window->form().btRecord->click();
}

} // namespace r73
