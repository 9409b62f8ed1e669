// The function keys F1..F10, the button row and the page changes of the notebook.

#include "Form_cy.h"

#include "AppWindows.h"
#include "FiPri.h"
#include "LinkState.h"
#include "ProgramState.h"
#include "Target.h"
#include "TextHook.h"
#include "TimerWrapper.h"
#include "WindowKeepAlive.h"
#include "ui_Form1.h"

#include <QPushButton>
#include <QShortcut>

using namespace r73;

namespace {
constexpr int LastPage = 9;
}

void TForm1::setUpFunctionKeys()
{
    // Window-wide, whatever control has the focus; F8..F10 are taken and do nothing.
    const std::pair<Qt::Key, void (TForm1::*)()> keys[] = {{Qt::Key_F1, &TForm1::F1Click},
                                                           {Qt::Key_F2, &TForm1::bbtnZurueckClick},
                                                           {Qt::Key_F3, &TForm1::bbtnVorClick},
                                                           {Qt::Key_F4, &TForm1::BitBtn7Click},
                                                           {Qt::Key_F5, &TForm1::BitBtn8Click},
                                                           {Qt::Key_F6, &TForm1::BitBtn9Click},
                                                           {Qt::Key_F7, &TForm1::Button3Click},
                                                           {Qt::Key_F8, nullptr},
                                                           {Qt::Key_F9, nullptr},
                                                           {Qt::Key_F10, nullptr}};
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setObjectName(QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1));
        // A held F7 would connect and, repeating, end the program at once.
        if (key == Qt::Key_F7) shortcut->setAutoRepeat(false);
        if (handler) connect(shortcut, &QShortcut::activated, this, handler);
    }
    connect(m_ui->bbtnZurueck, &QPushButton::clicked, this, &TForm1::bbtnZurueckClick);
    connect(m_ui->bbtnVor, &QPushButton::clicked, this, &TForm1::bbtnVorClick);
    connect(m_ui->BitBtn7, &QPushButton::clicked, this, &TForm1::BitBtn7Click);
    connect(m_ui->BitBtn8, &QPushButton::clicked, this, &TForm1::BitBtn8Click);
    connect(m_ui->BitBtn9, &QPushButton::clicked, this, &TForm1::BitBtn9Click);
    connect(m_ui->BitBtn10, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(m_ui->TabbedNotebook1, &QTabWidget::tabBarClicked, this, [this](int index) {
        if (index < 0 || !m_ui->TabbedNotebook1->isEnabled()) return;
        showPage(index);
        TabbedNotebook1Click();
    });
    // Ctrl+Tab and Ctrl+PgDown change the page without a click; the page is read all the same.
    connect(m_ui->TabbedNotebook1, &QTabWidget::currentChanged, this, [this] {
        if (!m_changingPage && programState().connected) TabbedNotebook1Click();
    });
}

void TForm1::bbtnZurueckClick()
{
    if (!programState().connected) return;
    QTabWidget* book = m_ui->TabbedNotebook1;
    if (book->currentIndex() > 0) showPage(book->currentIndex() - 1);
    TabbedNotebook1Click(); // also on page 0: it is read again
}

void TForm1::bbtnVorClick()
{
    if (!programState().connected) return;
    QTabWidget* book = m_ui->TabbedNotebook1;
    if (book->currentIndex() < LastPage) showPage(book->currentIndex() + 1);
    TabbedNotebook1Click();
}

void TForm1::showPage(int index)
{
    // The caller runs the page-change handler itself, once.
    m_changingPage = true;
    m_ui->TabbedNotebook1->setCurrentIndex(index);
    m_changingPage = false;
}

void TForm1::TabbedNotebook1Click()
{
    const int page = m_ui->TabbedNotebook1->currentIndex();
    switch (page) {
    case 0:
        m_ui->pgSpannen->focusFirstField();
        if (m_params) {
            m_params->ReadSpann();
            m_params->ReadLoes();
        }
        break;
    case 1:
        m_ui->pgZeiten->focusFirstField();
        if (m_params) {
            m_params->ReadLoes();
            m_params->ReadSpann();
        }
        break;
    case 2:
        m_ui->pgPlan->focusFirstField();
        if (m_params) m_params->ReadPlan();
        break;
    case 3:
        m_ui->pgSchwingung->focusFirstField();
        if (m_params) m_params->ReadSchwing();
        break;
    case 4:
        if (m_params) m_params->ReadService();
        break;
    case 5:
        m_ui->pgLogbuch->focusReadButton();
        if (m_history) m_history->pageShown();
        break;
    case 6:
    case 7:
    case 8:
        if (programState().biosVersion >= 300 && m_analog) {
            if (DemoMode)
                m_analog->FillPage6To8();
            else
                m_analog->ReadAnalog(page - 5);
        }
        break;
    case 9:
        if (programState().biosVersion >= 300) {
            if (m_analog) m_analog->ReadGraphR73();
            m_timer4->setEnabled(true);
        }
        break;
    }
    if (DemoMode && m_params) m_params->FillDemoValues();
}

void TForm1::BitBtn7Click()
{
    if (!programState().connected) return;
    const int page = m_ui->TabbedNotebook1->currentIndex();
    withStatus(tr73(0, QStringLiteral("SENDEN")), [this, page] {
        if (page <= 3) {
            if (m_params) m_params->SendPage(page);
        } else if (page >= 6 && page <= 8 && programState().biosVersion >= 300 && m_analog) {
            m_analog->WriteAnalog(page - 5);
        }
    });
}

void TForm1::BitBtn8Click()
{
    if (!programState().connected) return;
    const int page = m_ui->TabbedNotebook1->currentIndex();
    withStatus(tr73(0, QStringLiteral("SPEICHERN")), [this, page] {
        if (page <= 3) {
            if (m_params) m_params->SavePage(page);
        } else if (page >= 6 && page <= 8 && programState().biosVersion >= 300 && m_analog) {
            m_analog->WriteAnalog(page - 5);
        }
    });
    if (!programState().commErrorSeen) emit setsSaved();
}

void TForm1::withStatus(const QString& text, const std::function<void()>& action)
{
    setStatusPanels(text);
    m_timer2->setEnabled(true);
    // While the window stays alive the panels count the exchanges made; the plain text comes
    // back at the end, for Timer2 to clear.
    const QString counting = text + QStringLiteral(" … %1");
    const quint32 first = m_link ? m_link->ExchangeCount() : 0;
    {
        SequenceProgress progress([&] {
            if (m_link) setStatusPanels(counting.arg(m_link->ExchangeCount() - first));
        });
        action();
    }
    if (connectStatus().startsWith(text + QStringLiteral(" … "))) {
        setStatusPanels(text);
        m_timer2->setEnabled(true);
    }
}

void TForm1::BitBtn9Click()
{
    // Not tied to the connection: the logbook states whatever the program knows.
    if (!m_composeLogbook || !m_composeLogbook()) return;
    TFileForm* logbook = FileForm ? FileForm : findChild<TFileForm*>();
    if (!logbook) return;
    logbook->showForSaving();
}
