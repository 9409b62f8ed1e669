#include "MainVer.h"

#include "ui_MainVer.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

// The logo lives in this static library's resources, which the linker would otherwise drop.
// Global scope, as the registration function's declaration inside the macro requires.
static void initLogoResource()
{
    Q_INIT_RESOURCE(MainVer);
}

TVersInfoForm::TVersInfoForm(QWidget* owner) : QDialog(owner), m_ui(new Ui::TVersInfoForm)
{
    initLogoResource();
    m_ui->setupUi(this);
    // Title only: no system menu and no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());

    m_tmrClose = new QTimer(this);
    m_tmrClose->setObjectName(QStringLiteral("tmrClose"));
    connect(m_tmrClose, &QTimer::timeout, this, &TVersInfoForm::tmrCloseTimer);
    connect(m_ui->BtnOk, &QPushButton::clicked, this, &TVersInfoForm::BtnOkClick);

    centreOnScreen();
    FormCreate();
}

TVersInfoForm::~TVersInfoForm() = default;

QLabel* TVersInfoForm::CompanyName() const
{
    return m_ui->CompanyName;
}

QLabel* TVersInfoForm::ProductName() const
{
    return m_ui->ProductName;
}

QLabel* TVersInfoForm::FileVersion() const
{
    return m_ui->FileVersion;
}

QLabel* TVersInfoForm::ProductVersion() const
{
    return m_ui->ProductVersion;
}

QLabel* TVersInfoForm::Copyright() const
{
    return m_ui->Copyright;
}

QLabel* TVersInfoForm::OperatingSystem() const
{
    return m_ui->OperatingSystem;
}

QPushButton* TVersInfoForm::BtnOk() const
{
    return m_ui->BtnOk;
}

void TVersInfoForm::FormCreate()
{
    m_tmrClose->stop();
}

void TVersInfoForm::BtnOkClick()
{
    close();
}

void TVersInfoForm::tmrCloseTimer()
{
    close();
}

void TVersInfoForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TVersInfoForm::centreOnScreen()
{
    // Marks the position as chosen, so showing does not move the window over its owner instead.
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}
