#pragma once
/// A connected main window on the simulated controller, with the parameter pages at hand and
/// the user's ways of typing into them.

#include "ConnectFixture.h"
#include "Forms.h"
#include "ParamPages.h"

#include <QLineEdit>
#include <QRegularExpression>

namespace r73::test {

struct ParamsFixture : ConnectFixture
{
    explicit ParamsFixture(quint16 bios = 310, const QByteArray& extraIni = {})
        : ConnectFixture(bios, extraIni)
    {}

    Ui::TForm1& ui() { return window->form(); }
    TParamPages& pages() { return *window->findChild<TParamPages*>(); }
    QLineEdit* edit(const QString& name) { return window->findChild<QLineEdit*>(name); }

    /// Shows a page as a click on its tab does (which reads it), then forgets the exchanges.
    void showPage(int page)
    {
        if (ui().TabbedNotebook1->currentIndex() == page)
            window->TabbedNotebook1Click();
        else
            ui().TabbedNotebook1->setCurrentIndex(page); // the page change reads it
        engine.clearLog();
    }
    /// Types text over the field's content, as the user does.
    void type(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
    }
    void enter(QLineEdit* e) { QTest::keyClick(e, Qt::Key_Return); }
    void typeAndEnter(const QString& field, const QString& text)
    {
        type(edit(field), text);
        enter(edit(field));
    }

    /// The exchange log with the values the controller answered left out, for sequences whose
    /// values come from the running machine.
    QStringList calls() const
    {
        QStringList out = engine.summaries();
        out.replaceInStrings(QRegularExpression(QStringLiteral("^PUT \\d+$")),
                             QStringLiteral("PUT"));
        return out;
    }
    /// The value answered to the first call of name in the log.
    quint16 answerTo(const QString& name) const
    {
        const QStringList log = engine.summaries();
        const qsizetype i = log.indexOf(QStringLiteral("call ") + name);
        return i < 0 ? 0 : quint16(log.value(i + 1).mid(4).toUInt());
    }
};

} // namespace r73::test
