#include "umain.h"

#include "Form_cy.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

TfrmMain::TfrmMain(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("R73"));
    setFixedSize(170, 86);
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    m_btStart = new QPushButton(QStringLiteral("Start"), this);
    m_btStart->setObjectName(QStringLiteral("BtStart"));
    m_btStart->setGeometry(48, 30, 75, 25);
    m_btStart->setVisible(false);
    connect(m_btStart, &QPushButton::clicked, this, &TfrmMain::BtStartClick);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Leave the show event first; the main window then runs its own modal loop.
    if (!m_shown) {
        m_shown = true;
        QTimer::singleShot(0, this, &TfrmMain::FormShow);
    }
}

void TfrmMain::FormShow()
{
    if (m_form) m_form->exec();
    close();
    // This window is never on screen, so its close does not end the loop by itself.
    QCoreApplication::exit(0);
}

void TfrmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The program is not meant to disappear into the task bar.
    if (event->type() == QEvent::WindowStateChange && isActiveWindow() && isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
}
