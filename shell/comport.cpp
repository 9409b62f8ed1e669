#include "comport.h"

#include "MessageFacade.h"
#include "NorloIni.h"
#include "ProfileFile.h"
#include "TextHook.h"
#include "ui_comport.h"

#include <QDir>
#include <QScreen>

TfrmComPort::TfrmComPort(QWidget* parent) : QDialog(parent), m_ui(new Ui::TfrmComPort)
{
    m_ui->setupUi(this);
    // The form's German captions are the keys into the language table, for every re-captioning.
    m_germanTitle = windowTitle();
    for (QAbstractButton* b : buttons())
        m_germanTexts << b->text();
    translateCaptions();

    // After choosing a port, Enter or Space confirms it.
    for (int n = 1; n <= 4; ++n) {
        connect(portButton(n), &QRadioButton::clicked, m_ui->BtOK,
                [this] { m_ui->BtOK->setFocus(Qt::OtherFocusReason); });
    }
    connect(m_ui->BtOK, &QPushButton::clicked, this, &TfrmComPort::storeChoice);
    connect(m_ui->BtCancel, &QPushButton::clicked, this, &QDialog::reject);

    centreOnScreen();
}

TfrmComPort::~TfrmComPort() = default;

void TfrmComPort::showEvent(QShowEvent* event)
{
    // Read on every showing, so the dialog reflects the file as it is now.
    if (QRadioButton* button = portButton(r73::readComPort())) button->setChecked(true);
    QDialog::showEvent(event);
}

QList<QAbstractButton*> TfrmComPort::buttons() const
{
    return {m_ui->rbCOM1, m_ui->rbCOM2, m_ui->rbCOM3, m_ui->rbCOM4, m_ui->BtOK, m_ui->BtCancel};
}

void TfrmComPort::translateCaptions()
{
    setWindowTitle(r73::tr73(0, m_germanTitle));
    const QList<QAbstractButton*> all = buttons();
    for (qsizetype i = 0; i < all.size(); ++i)
        all[i]->setText(r73::tr73(0, m_germanTexts.value(i)));
}

void TfrmComPort::centreOnScreen()
{
    // Marks the position as chosen, so showing does not move the dialog over its parent instead.
    adjustSize();
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void TfrmComPort::storeChoice()
{
    const int port = checkedPort();
    if (port == 0) return;
    r73::ProfileFile file(r73::configFilePath());
    if (!file.writeInteger(QLatin1String(r73::ComSection), QLatin1String(r73::ComKey), port)) {
        const QString text = r73::tr73(0, QStringLiteral("Die Schnittstelle konnte nicht in "
                                                         "\"%1\" gespeichert werden.\n%2"))
                                 .arg(QDir::toNativeSeparators(file.path()), file.errorString());
        r73::showMessage({this, text, r73::tr73(0, QStringLiteral("Fehler")), r73::MsgIcon::Error,
                          r73::MsgButtons::Ok});
        return;
    }
    accept();
}

QRadioButton* TfrmComPort::portButton(int number) const
{
    switch (number) {
    case 1:
        return m_ui->rbCOM1;
    case 2:
        return m_ui->rbCOM2;
    case 3:
        return m_ui->rbCOM3;
    case 4:
        return m_ui->rbCOM4;
    }
    return nullptr;
}

int TfrmComPort::checkedPort() const
{
    for (int n = 1; n <= 4; ++n) {
        if (portButton(n)->isChecked()) return n;
    }
    return 0;
}
