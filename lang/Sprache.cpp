#include "Sprache.h"

#include "ApplyLanguage.h"
#include "Flags.h"
#include "MessageFacade.h"
#include "NorloIni.h"
#include "ProfileFile.h"
#include "Translate.h"
#include "ui_Sprache.h"

#include <QDir>
#include <QScreen>
#include <QShowEvent>

using r73::Translate;

TfrmSprache::TfrmSprache(QWidget* parent) : TfrmSprache(nullptr, {}, parent) {}

TfrmSprache::TfrmSprache(QWidget* form1, std::function<void()> setCaptionComStat, QWidget* parent)
    : QDialog(parent), m_ui(new Ui::TfrmSprache), m_form1(form1),
      m_setCaptionComStat(std::move(setCaptionComStat))
{
    m_ui->setupUi(this);
    setFixedSize(size());
    FormCreate();
    connect(m_ui->BtOk, &QPushButton::clicked, this, &TfrmSprache::BtOkClick);
    connect(m_ui->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    centreOnScreen();
}

TfrmSprache::~TfrmSprache() = default;

void TfrmSprache::setMainWindow(QWidget* form1, std::function<void()> setCaptionComStat)
{
    m_form1 = form1;
    m_setCaptionComStat = std::move(setCaptionComStat);
}

void TfrmSprache::showEvent(QShowEvent* event)
{
    // A spontaneous show (the window system restoring the window) is no new opening.
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TfrmSprache::FormCreate()
{
    m_ui->Image1->setPixmap(r73::germanFlag());
    m_ui->Image2->setPixmap(r73::usFlag());
    setWindowTitle(Translate(0, windowTitle()));
    m_ui->GroupBox1->setTitle(Translate(0, m_ui->GroupBox1->title()));
    for (QAbstractButton* b :
         {static_cast<QAbstractButton*>(m_ui->rbDeutsch),
          static_cast<QAbstractButton*>(m_ui->rbEnglisch),
          static_cast<QAbstractButton*>(m_ui->BtOk), static_cast<QAbstractButton*>(m_ui->BtCancel)})
        b->setText(Translate(0, b->text()));
}

void TfrmSprache::FormShow()
{
    // The place of a third language; no third language is offered.
    m_ui->RadioButton3->hide();
    switch (r73::CurrentLanguage) {
    case 0:
        m_ui->rbDeutsch->setChecked(true);
        m_ui->rbDeutsch->setFocus(Qt::OtherFocusReason);
        break;
    case 1:
        m_ui->rbEnglisch->setChecked(true);
        m_ui->rbEnglisch->setFocus(Qt::OtherFocusReason);
        break;
    default:
        // A choice left over from an earlier showing would suggest a language that is not set.
        clearChoice();
        r73::showMessage({this, QStringLiteral("Falsche Sprachwahl!"), windowTitle(),
                          r73::MsgIcon::None, r73::MsgButtons::Ok});
        break;
    }
}

void TfrmSprache::BtOkClick()
{
    const int previous = r73::CurrentLanguage;
    if (m_ui->rbDeutsch->isChecked()) r73::CurrentLanguage = 0;
    if (m_ui->rbEnglisch->isChecked()) r73::CurrentLanguage = 1;

    // Written even when unchanged, which also repairs a stored number that names no language.
    r73::ProfileFile file(r73::configFilePath());
    if (!file.writeInteger(QLatin1String(r73::LanguageSection), QLatin1String(r73::LanguageKey),
                           r73::CurrentLanguage)) {
        // Switching only for this run would be undone silently at the next start.
        r73::CurrentLanguage = previous;
        const QString text = Translate(0, QStringLiteral("Die Sprache konnte nicht in \"%1\" "
                                                         "gespeichert werden.\n%2"))
                                 .arg(QDir::toNativeSeparators(file.path()), file.errorString());
        r73::showMessage({this, text, Translate(0, QStringLiteral("Fehler")), r73::MsgIcon::Error,
                          r73::MsgButtons::Ok});
        return;
    }
    r73::ApplyLanguage(m_form1, m_setCaptionComStat);
    accept();
}

void TfrmSprache::centreOnScreen()
{
    // Marks the position as chosen, so showing does not move the dialog over its parent instead.
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void TfrmSprache::clearChoice()
{
    // Exclusive radio buttons refuse to be unchecked one by one.
    for (QRadioButton* rb : {m_ui->rbDeutsch, m_ui->rbEnglisch, m_ui->RadioButton3}) {
        rb->setAutoExclusive(false);
        rb->setChecked(false);
        rb->setAutoExclusive(true);
    }
}
