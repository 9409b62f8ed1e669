// Set-up of the analog pages, their key and click handlers and the helpers they share.

#include "AnalogPages.h"

#include "AnalogPage1.h"
#include "AnalogPage2.h"
#include "AnalogPage3.h"
#include "AnalogwertePage.h"
#include "Cp1252.h"
#include "MessageFacade.h"
#include "ProgramState.h"
#include "TextHook.h"
#include "ui_AnalogPage1.h"
#include "ui_AnalogPage2.h"
#include "ui_AnalogPage3.h"
#include "ui_AnalogwertePage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>

namespace r73 {

namespace {

// Names, units, limit and range texts go on the wire as CP1252 strings of at most 255 bytes.
constexpr int MaxWireText = 255;
constexpr int FirstChannelPage = 6;

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

template <class T> T* control(QWidget* parent, const QString& name)
{
    T* w = parent->findChild<T*>(name);
    Q_ASSERT_X(w, "TAnalogPages", qPrintable(name));
    return w;
}

} // namespace

qint32& rawOf(TRawLimits& raw, Limit limit)
{
    switch (limit) {
    case Limit::Min2:
        return raw.Min2;
    case Limit::Min1:
        return raw.Min1;
    case Limit::Max1:
        return raw.Max1;
    default:
        return raw.Max2;
    }
}

quint16 TAnalogPages::Channel::parameterWord() const
{
    return quint16((ckbKanalAktiv->isChecked() ? 1 : 0) | (rbPos2->isChecked() ? 2 : 0));
}

TAnalogPages::TAnalogPages(PageHost& host, AnalogPage1* page1, AnalogPage2* page2,
                           AnalogPage3* page3, AnalogwertePage* live, QTabWidget* notebook,
                           QObject* parent)
    : QObject(parent), m_host(host), m_notebook(notebook), m_page1(page1), m_page2(page2),
      m_page3(page3), m_live(live)
{
    setObjectName(QStringLiteral("analogPages"));
    QWidget* const pages[] = {page1, page2, page3};
    for (int i = 0; i < 3; ++i) {
        Channel& c = m_channels[i];
        c.n = i + 1;
        c.at = channelPlaces(i + 1);
        c.scale = TUmrechnung(host.window());
        c.scale.BinMin = 0;
        c.scale.BinMax = 255;
        wire(c, pages[i]);
        wireLive(c, live);
    }
}

void TAnalogPages::wire(Channel& c, QWidget* page)
{
    const QString n = QString::number(c.n);
    auto edit = [&](const char* stem) { return control<QLineEdit>(page, stem + n); };
    c.edtMax = edit("edtMax_");
    c.edtMin = edit("edtMin_");
    c.limitEdit = {edit("edtMin2_"), edit("edtMin1_"), edit("edtMax1_"), edit("edtMax2_")};
    c.edtBezeichnung = edit("edtBezeichnung_");
    c.edtPhysEinh = edit("edtPhysEinh_");
    c.ckbKanalAktiv = control<QCheckBox>(page, "ckbKanalAktiv_" + n);
    c.rbPos1 = control<QRadioButton>(page, "rbPos1_" + n);
    c.rbPos2 = control<QRadioButton>(page, "rbPos2_" + n);

    const int channel = c.n;
    for (QLineEdit* e : {c.edtMax, c.edtMin, c.edtBezeichnung, c.edtPhysEinh})
        e->setMaxLength(MaxWireText);
    connect(c.edtMax, &QLineEdit::returnPressed, this,
            [this, channel] { edtMaxKeyDown(channel, Qt::Key_Return); });
    connect(c.edtMin, &QLineEdit::returnPressed, this,
            [this, channel] { edtMinKeyDown(channel, Qt::Key_Return); });
    connect(c.edtBezeichnung, &QLineEdit::returnPressed, this,
            [this, channel] { edtBezeichnungKeyDown(channel, Qt::Key_Return); });
    connect(c.edtPhysEinh, &QLineEdit::returnPressed, this,
            [this, channel] { edtPhysEinhKeyDown(channel, Qt::Key_Return); });
    for (QLineEdit* e : c.limitEdit) {
        e->setMaxLength(MaxWireText);
        connect(e, &QLineEdit::returnPressed, this, [this, e] { MyKeyDown(e, Qt::Key_Return); });
    }
    // A check from code runs the handler just as a click does; ParamLoading tells them apart.
    connect(c.ckbKanalAktiv, &QCheckBox::toggled, this,
            [this, channel] { ckbKanalAktivClick(channel); });
    for (QRadioButton* rb : {c.rbPos1, c.rbPos2})
        connect(rb, &QRadioButton::toggled, this, [this, channel](bool checked) {
            if (checked) rbPosAnalogClick(channel);
        });
}

void TAnalogPages::wireLive(Channel& c, QWidget* live)
{
    const QString n = QString::number(c.n);
    c.gbKanal = control<QGroupBox>(live, "gbKanal_" + n);
    c.edtAktWert = control<QLineEdit>(live, "edtAktWert_" + n);
    c.lbEinheit = control<QLabel>(live, "lbEinheit_" + n);
    // Channel 1 has ProgressBar6 (live) and 7..10 (Max2, Max1, Min1, Min2); the others follow.
    const int first = 6 + 5 * (c.n - 1);
    auto bar = [&](int k) {
        return control<QProgressBar>(live, QStringLiteral("ProgressBar%1").arg(first + k));
    };
    c.liveBar = bar(0);
    c.limitBar = {bar(4), bar(3), bar(2), bar(1)};
    auto label = [&](const char* stem) { return control<QLabel>(live, stem + n); };
    c.limitLabel = {label("lbMin2_"), label("lbMin1_"), label("lbMax1_"), label("lbMax2_")};
}

void TAnalogPages::setTabCaption(int channel, const QString& name)
{
    // Only a..z: umlauts and ß stay as they are (Größe gives GRößE).
    QString caption = name;
    for (QChar& ch : caption)
        if (ch >= u'a' && ch <= u'z') ch = QChar(ch.unicode() - 'a' + 'A');
    m_notebook->setTabText(FirstChannelPage + channel - 1, caption);
}

bool TAnalogPages::sendable(const QString& text, const QString& caption)
{
    QByteArray bytes;
    QString bad;
    if (toCp1252(text, bytes, &bad)) return true;
    const QString code =
        QString::number(bad.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0');
    showMessage({m_host.window(),
                 tr73(0, QStringLiteral("Das Zeichen \"%1\" (U+%2) kann nicht zum R73 gesendet "
                                        "werden!"))
                     .arg(bad, code),
                 tr73(0, caption), MsgIcon::Warning, MsgButtons::Ok});
    return false;
}

void TAnalogPages::edtMaxKeyDown(int channel, int key)
{
    if (!isEnter(key) || !SendenMaximum(channel)) return;
    GetMaximum(channel);
    recomputeRawLimits(ch(channel));
    WriteAnalog(channel);
}

void TAnalogPages::edtMinKeyDown(int channel, int key)
{
    if (!isEnter(key) || !SendenMinimum(channel)) return;
    GetMinimum(channel);
    recomputeRawLimits(ch(channel));
    WriteAnalog(channel);
}

void TAnalogPages::recomputeRawLimits(Channel& c)
{
    // The raw limits follow the new range. A field that does not hold a number keeps its old
    // raw value: the write that follows refuses it with its own message.
    for (Limit l : {Limit::Max1, Limit::Max2, Limit::Min1, Limit::Min2}) {
        double value = 0;
        if (parsePhys(c.edit(l)->text(), value)) rawOf(c.raw, l) = qint32(c.scale.PhysToBin(value));
    }
}

void TAnalogPages::edtBezeichnungKeyDown(int channel, int key)
{
    if (isEnter(key)) SendenBezeichnung(channel);
}

void TAnalogPages::edtPhysEinhKeyDown(int channel, int key)
{
    if (isEnter(key)) SendenPhysEinh(channel);
}

void TAnalogPages::ckbKanalAktivClick(int channel)
{
    if (!m_host.state().paramLoading) SendenKanalAktiv(channel);
}

void TAnalogPages::rbPosAnalogClick(int channel)
{
    Channel& c = ch(channel);
    c.scale.BinMin = c.rbPos2->isChecked() ? 51 : 0;
    if (m_host.state().paramLoading) return;
    SendenPos(channel);
    WriteAnalog(channel);
}

void TAnalogPages::MyKeyDown(QLineEdit* sender, int key)
{
    if (!isEnter(key) || !sender) return;
    bool ok = false;
    const int tag = sender->property("Tag").toInt(&ok);
    const int channel = tag / 10;
    const int limit = tag % 10;
    if (!ok || channel < 1 || channel > 3 || limit < 1 || limit > 4) return;
    qint32 raw = -1;
    SendenR73(channel, Limit(limit), sender->text(), raw);
    // A refused limit keeps the raw value the program had.
    if (raw >= 0) rawOf(ch(channel).raw, Limit(limit)) = raw;
}

void TAnalogPages::showBios(quint16 bios)
{
    // Before 3.00 each analog page shows only its notice, filling the page.
    const bool analog = bios >= 300;
    const Ui::AnalogPage1& a1 = m_page1->ui();
    const Ui::AnalogPage2& a2 = m_page2->ui();
    const Ui::AnalogPage3& a3 = m_page3->ui();
    const Ui::AnalogwertePage& live = m_live->ui();
    for (QWidget* group :
         {static_cast<QWidget*>(a1.GroupBox11), static_cast<QWidget*>(a1.GroupBox12),
          static_cast<QWidget*>(a1.GroupBox13), static_cast<QWidget*>(a1.GroupBox14),
          static_cast<QWidget*>(a2.GroupBox15), static_cast<QWidget*>(a2.GroupBox16),
          static_cast<QWidget*>(a2.GroupBox17), static_cast<QWidget*>(a2.GroupBox22),
          static_cast<QWidget*>(a3.GroupBox18), static_cast<QWidget*>(a3.GroupBox19),
          static_cast<QWidget*>(a3.GroupBox20), static_cast<QWidget*>(a3.GroupBox24),
          static_cast<QWidget*>(live.gbKanal_1), static_cast<QWidget*>(live.gbKanal_2),
          static_cast<QWidget*>(live.gbKanal_3)})
        group->setVisible(analog);
    for (QWidget* notice :
         {static_cast<QWidget*>(a1.pnAnalog1), static_cast<QWidget*>(a2.pnAnalog2),
          static_cast<QWidget*>(a3.pnAnalog3), static_cast<QWidget*>(live.pnAnalogwerte)})
        notice->setVisible(!analog);
}

void TAnalogPages::showUnconnected()
{
    for (QLabel* unit :
         {m_live->ui().lbEinheit_1, m_live->ui().lbEinheit_2, m_live->ui().lbEinheit_3})
        unit->clear();
}

bool TAnalogPages::channelActive(int channel) const
{
    return m_channels[qBound(1, channel, 3) - 1].ckbKanalAktiv->isChecked();
}

} // namespace r73
