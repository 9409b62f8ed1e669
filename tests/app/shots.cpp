// Renders the program's windows to PNG files, in German and English, so their layout can be
// looked at without clicking through the program: shots <output folder>.

#include "FiPri.h"
#include "Form_cy.h"
#include "HistoryPage.h"
#include "LogFile.h"
#include "LogPrint.h"
#include "MainVer.h"
#include "MessageFacade.h"
#include "ProgramState.h"
#include "Sprache.h"
#include "Translate.h"
#include "VersInfo.h"
#include "comport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void save(QWidget& w, const QString& path)
{
    w.show();
    QApplication::processEvents();
    if (!w.grab().save(path)) std::fprintf(stderr, "shots: cannot write %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString out =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".")).absolutePath();
    QDir().mkpath(out);
    // Demo mode: no port is opened, and nothing asks questions.
    r73::setMessageHandler(
        [](const r73::MessageRequest& r) { return r73::defaultAnswer(r.buttons); });
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    QDir().mkpath("ini");
    for (int language : {0, 1}) {
        const QString suffix = language == 0 ? "de" : "en";
        QFile ini("ini/norlo.ini");
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(
            QStringLiteral("[Comunication]\r\nCOM=1\r\n[DemoMode]\r\nACTIVE=1\r\n[Language]\r\n"
                           "Language=%1\r\n")
                .arg(language)
                .toLatin1());
        ini.close();
        r73::resetProgramState();
        r73::CurrentLanguage = 0;
        TForm1 form;
        save(form, out + "/main-" + suffix + ".png");
        TfrmComPort port(&form);
        save(port, out + "/port-" + suffix + ".png");
        TfrmSprache language_(
            &form, [] {}, &form);
        save(language_, out + "/language-" + suffix + ".png");
        TFileForm logbook(&form);
        save(logbook, out + "/logbook-" + suffix + ".png");
        r73::TVersInfo info(&form);
        auto version = info.CreateInfoForm();
        save(*version, out + "/version-" + suffix + ".png");
        // The logbook of the connected demo window, as a file and as a printed page.
        form.Button3Click();
        bool confirmed = true;
        const QStringList lines = form.findChild<r73::HistoryPage*>()->logbookLines(&confirmed);
        r73::writeLogFile(out + "/logbook-" + suffix + ".log", lines);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out + "/logbook-" + suffix + ".pdf");
        r73::printLines(printer, lines);
    }
    std::printf("screenshots in %s\n", qPrintable(out));
    return 0;
}
