#pragma once
/// The main window connected to the simulated controller, with its analog pages at hand.

#include "AnalogPages.h"
#include "ConnectFixture.h"
#include "Forms.h"

namespace r73::test {

struct AnalogFixture : ConnectFixture
{
    explicit AnalogFixture(const QByteArray& extraIni = {}) : ConnectFixture(310, extraIni)
    {
        connect();
        pages = window->findChild<TAnalogPages*>();
    }

    Ui::TForm1& ui() { return window->form(); }
    /// Selects a notebook page as a click on its tab does.
    void show(int page)
    {
        ui().TabbedNotebook1->setCurrentIndex(page);
        window->TabbedNotebook1Click();
    }
    /// Runs a setter on the simulated controller directly, as if the program had sent value.
    void store(const char* setter, const QByteArray& text)
    {
        engine.machine().receiveText(text);
        run(setter);
    }
    void store(const char* setter, quint16 value)
    {
        engine.machine().receiveValue(value);
        run(setter);
    }
    void run(const char* name)
    {
        sim::SimFunction f;
        f.name = QString::fromLatin1(name);
        f.kind = sim::SimVocabulary::kindOf(f.name);
        engine.machine().run(f);
    }
    /// Captions and texts of the boxes shown since the last call.
    QStringList takeBoxes()
    {
        QStringList shown;
        for (const MessageRequest& r : env.boxes)
            shown << r.caption + ": " + r.text;
        env.boxes.clear();
        return shown;
    }

    TAnalogPages* pages = nullptr;
};

} // namespace r73::test
