#pragma once
/// A main window on the in-process simulated controller, ready to connect with F7.

#include "Form_cy.h"
#include "LinkState.h"
#include "ProgramState.h"
#include "SimEngine.h"
#include "SimPort.h"
#include "StrictLine.h"
#include "TestEnv.h"
#include "Translate.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <memory>

namespace r73::test {

struct ConnectFixture
{
    explicit ConnectFixture(quint16 bios = 310, const QByteArray& extraIni = {})
        : env(1, 300), engine(config(bios))
    {
        QLocale::setDefault(QLocale::c());
        resetProgramState();
        CurrentLanguage = 0;
        if (!extraIni.isEmpty()) {
            QFile f(QStringLiteral("ini/norlo.ini"));
            f.open(QIODevice::Append);
            f.write(extraIni);
        }
        port = &env.install(std::make_unique<SimPort>(engine));
        window = std::make_unique<TForm1>();
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    ~ConnectFixture()
    {
        window.reset();
        QLocale::setDefault(QLocale::system());
    }

    static sim::SimConfig config(quint16 bios)
    {
        sim::SimConfig c;
        c.bios = bios;
        return c;
    }

    void key(Qt::Key k) { QTest::keyClick(window.get(), k); }
    void connect() { key(Qt::Key_F7); }

    TestEnv env;
    sim::SimEngine engine;
    StrictLine strict{engine}; // checked after the window has closed (and sent TEST_STOP)
    SimPort* port = nullptr;
    std::unique_ptr<TForm1> window;
};

} // namespace r73::test
