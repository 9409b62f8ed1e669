#include "FiPri.h"

#include "ui_FiPri.h"

#include "LogFile.h"
#include "LogPrint.h"
#include "MessageFacade.h"
#include "TextHook.h"

#include <QDir>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPrinter>
#include <QScreen>

using namespace r73;

TFileForm::TFileForm(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFileForm>())
{
    m_ui->setupUi(this);
    // The logbook's columns are made with tabs and blanks; they line up only in a fixed pitch.
    m_ui->Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    translateCaptions();
    connect(m_ui->BtSave, &QPushButton::clicked, this, &TFileForm::BtSaveClick);
    connect(m_ui->BtPrint, &QPushButton::clicked, this, &TFileForm::BtPrintClick);
    connect(m_ui->BtClose, &QPushButton::clicked, this, &TFileForm::BtCloseClick);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

TFileForm::~TFileForm() = default;

void TFileForm::translateCaptions()
{
    setWindowTitle(tr73(0, QStringLiteral("R73-Controller: Speichern und Drucken")));
    m_ui->BtSave->setText(tr73(0, QStringLiteral("S&peichern")));
    m_ui->BtPrint->setText(tr73(0, QStringLiteral("&Drucken")));
    m_ui->BtClose->setText(tr73(0, QStringLiteral("&Schliessen")));
}

void TFileForm::setLines(const QStringList& lines)
{
    m_ui->Memo1->setPlainText(lines.join(u'\n'));
}

QStringList TFileForm::lines() const
{
    const QString text = m_ui->Memo1->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

void TFileForm::showForSaving()
{
    show();
    m_ui->BtSave->setFocus(Qt::OtherFocusReason);
}

void TFileForm::BtSaveClick()
{
    const QString name = ProposeLogFileName(m_serial);
    const QString path = showSaveDialog({this, QString(), QDir::current().absoluteFilePath("Log"),
                                         name, QStringLiteral("log"), QStringLiteral("*.log;;*")});
    if (!path.isEmpty()) SaveFile(path);
}

bool TFileForm::SaveFile(const QString& path)
{
    // "Datei " has no row in the language table: it stays German in every language.
    const QString file = tr73(0, QStringLiteral("Datei ")) + path;
    QString reason;
    int replaced = 0;
    if (writeLogFile(path, lines(), &reason, &replaced)) {
        QString text = file + tr73(0, QStringLiteral(" gespeichert !"));
        if (replaced > 0)
            text += tr73(0, QStringLiteral(" (%1 Zeichen durch \"?\" ersetzt)")).arg(replaced);
        emit saved(path);
        showMessage(
            {this, text, QStringLiteral("Information"), MsgIcon::Information, MsgButtons::Ok});
        return true;
    }
    showMessage({this,
                 file + tr73(0, QStringLiteral(" kann nicht gespeichert werden!")) + u'\n' + reason,
                 tr73(0, QStringLiteral("Fehler")), MsgIcon::Error, MsgButtons::Ok});
    return false;
}

void TFileForm::BtPrintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!runPrintDialog(this, printer)) return;
    if (printLines(printer, lines())) {
        showMessage({this, tr73(0, QStringLiteral("Daten werden gedruckt !")),
                     QStringLiteral("Information"), MsgIcon::Information, MsgButtons::Ok});
        return;
    }
    // A printer that fails gets its own box, not the general message of an unhandled error.
    const QString target =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    showMessage({this, tr73(0, QStringLiteral("Fehler beim Drucken: ")) + target,
                 tr73(0, QStringLiteral("Fehler")), MsgIcon::Error, MsgButtons::Ok});
}
