// The fields of the parameter pages: their table, Enter and the common send with its read-back,
// and F4/F5 for a whole page.

#include "ParamPages.h"

#include "FieldLimit.h"
#include "MessageFacade.h"
#include "ParamFormat.h"
#include "PlanPage.h"
#include "ProgramState.h"
#include "SchwingungPage.h"
#include "ServicePage.h"
#include "SpannenPage.h"
#include "TextHook.h"
#include "TimerWrapper.h"
#include "ZeitenPage.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace r73 {

namespace {

constexpr int FieldLength = 5;

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TParamPages::TParamPages(PageHost& host, SpannenPage* spannen, ZeitenPage* zeiten, PlanPage* plan,
                         SchwingungPage* schwingung, ServicePage* service, QLineEdit* edit2,
                         QObject* parent)
    : QObject(parent), m_host(host), m_spannen(spannen), m_zeiten(zeiten), m_plan(plan),
      m_schwingung(schwingung), m_service(service), m_edit2(edit2)
{
    setUpFields();
    setUpTabOrder();
    for (const Field& f : m_fields) {
        f.edit->installEventFilter(this);
        if (f.edit->maxLength() == FieldLength) limitField(f.edit);
    }
    const Ui::SpannenPage& sp = m_spannen->ui;
    connect(sp.Button1, &QPushButton::clicked, this, &TParamPages::Button1Click);
    connect(m_zeiten->ui.Button2, &QPushButton::clicked, this, &TParamPages::Button1Click);
    connect(m_plan->ui.Button4, &QPushButton::clicked, this, &TParamPages::Button4Click);
    connect(m_schwingung->ui.Button6, &QPushButton::clicked, this, &TParamPages::Button6Click);
    // Every change of state, a read's included, as the platform's click event has it.
    connect(sp.cbHydr, &QCheckBox::toggled, this, &TParamPages::cbHydrClick);
}

TParamPages::~TParamPages() = default;

void TParamPages::setUpFields()
{
    const Ui::SpannenPage& sp = m_spannen->ui;
    const Ui::ZeitenPage& zt = m_zeiten->ui;
    const Ui::PlanPage& pl = m_plan->ui;
    const Ui::SchwingungPage& sw = m_schwingung->ui;
    using C = Conversion;
    // clang-format off
    m_fields = {
        {sp.Edit10, "SPANN", 300, false, "KURZ", "M_ZKLEIN@", 800, "KURZ", sp.Panel11, &ClampChanged, C::Whole},
        {sp.Edit11, "SPANN", 300, false, "LANG", "M_ZGROSS@", 900, "LANG", sp.Panel11, &ClampChanged, C::Whole},
        {sp.Edit16, "SPANN", 300, false, "M_OHNE_TOOL", "F_MIN2@", 900, "LANG", sp.Panel11, &ClampChanged, C::Whole},
        {sp.Edit20, "LOES", 400, false, "KURZ", "M_ZKLEIN@", 1400, "KURZ", sp.Panel11, &ReleaseChanged, C::Whole},
        {sp.Edit21, "LOES", 400, false, "LANG", "M_ZGROSS@", 1500, "LANG", sp.Panel11, &ReleaseChanged, C::Whole},
        {sp.edHydrPulse, nullptr, 0, false, "!HYDR_PULSE", "@HYDR_PULSE", 804, "Pulse Hydraulik", sp.Panel11, &ClampChanged, C::Whole},
        {sp.edHydrDauer, nullptr, 0, false, "!HYDR_DAUER", "@HYDR_DAUER", 808, "Dauer Hydraulik", sp.Panel11, &ClampChanged, C::Whole},
        {zt.Edit12, "SPANN", 300, false, "F_START", "F_MIN1@", 1000, "START", zt.Panel12, &ClampChanged, C::Whole},
        {zt.Edit14, "SPANN", 300, false, "F_STOP", "F_MIN3@", 1200, "STOP", zt.Panel12, &ClampChanged, C::StopFrequency},
        {zt.Edit15, "SPANN", 300, false, "!TIMEOUT", "T_DAUER_TO@", 1300, "TIMEOUT", zt.Panel12, &ClampChanged, C::Whole},
        {zt.Edit22, "LOES", 400, false, "F_START", "F_MIN1@", 1600, "START", zt.Panel12, &ReleaseChanged, C::Whole},
        {zt.Edit24, "LOES", 400, false, "F_STOP", "F_MIN3@", 1800, "STOP", zt.Panel12, &ReleaseChanged, C::StopFrequency},
        {zt.Edit25, "LOES", 400, false, "!TIMEOUT", "T_DAUER_TO@", 1900, "TIMEOUT", zt.Panel12, &ReleaseChanged, C::Whole},
        // The flat-contact and vibration sets are selected by their page's read.
        {pl.Edit30, "PLAN", 500, true, "F_PLAN", "F_MIN1@", 2000, "SCHWELLE", pl.Panel13, &FlatChanged, C::Whole},
        {pl.Edit31, "PLAN", 500, true, "!TIMEOUT", "T_DAUER_TO@", 2100, "TIMEOUT", pl.Panel13, &FlatChanged, C::Whole},
        {sw.Edit40, "SCHWING", 600, true, "MAX_SCHWING", "SCHWING_MAX@", 2200, "SCHWELLE", sw.Panel14, &VibrationChanged, C::Threshold},
        {sw.Edit41, "SCHWING", 600, true, "!TIMEOUT", "T_DAUER_TO@", 2300, "TIMEOUT", sw.Panel14, &VibrationChanged, C::Whole},
    };
    // clang-format on
}

void TParamPages::setUpTabOrder()
{
    // Down each group, then on to the next group, as the hint "Weiter mit TAB" promises.
    const Ui::SpannenPage& sp = m_spannen->ui;
    const Ui::ZeitenPage& zt = m_zeiten->ui;
    const QList<QList<QWidget*>> chains = {
        {sp.Edit10, sp.Edit11, sp.Edit16, sp.Edit20, sp.Edit21, sp.cbHydr, sp.edHydrPulse,
         sp.edHydrDauer},
        {zt.Edit12, zt.Edit14, zt.Edit15, zt.Edit22, zt.Edit24, zt.Edit25},
        {m_plan->ui.Edit30, m_plan->ui.Edit31},
        {m_schwingung->ui.Edit40, m_schwingung->ui.Edit41}};
    for (const QList<QWidget*>& chain : chains)
        for (qsizetype i = 1; i < chain.size(); ++i)
            QWidget::setTabOrder(chain[i - 1], chain[i]);
}

const TParamPages::Field* TParamPages::fieldOf(const QObject* edit) const
{
    for (const Field& f : m_fields)
        if (f.edit == edit) return &f;
    return nullptr;
}

void TParamPages::select(const char* set, quint16 code)
{
    m_host.Exec(QString::fromLatin1(set), code);
    m_selected = QString::fromLatin1(set);
}

quint16 TParamPages::fetch(const char* getter, quint16 code)
{
    m_host.Exec(QString::fromLatin1(getter), code);
    return m_host.Receive(code + 1);
}

bool TParamPages::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && pasteWithinLimit(edit, event)) {
        // A paste is typing too: polling waits for Timer3.
        m_host.Timer1().setEnabled(false);
        m_host.Timer3().setEnabled(true);
        return true;
    }
    // Not consumed: the main window's pause of polling sees the key after the send, as the
    // platform's key-press event follows its key-down event.
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event)->key())) {
        if (const Field* f = fieldOf(watched)) KeyDown(f->edit, VK_RETURN);
    }
    return QObject::eventFilter(watched, event);
}

void TParamPages::KeyDown(QLineEdit* edit, quint16 key)
{
    if (key != VK_RETURN) return;
    if (edit == m_spannen->ui.Edit11) {
        Edit11KeyDown();
        return;
    }
    if (edit == m_spannen->ui.Edit16) {
        Edit16KeyDown();
        return;
    }
    const Field* f = fieldOf(edit);
    if (!f) return;
    if (const std::optional<qint64> value = valueOrComplain(*f)) sendParsed(*f, *value);
}

void TParamPages::inputError(const char* caption)
{
    showMessage({m_host.window(), tr73(0, QStringLiteral("Nur Zahlen erlaubt")),
                 tr73(0, QString::fromUtf8(caption)), MsgIcon::None, MsgButtons::Ok});
}

std::optional<int> TParamPages::wholeOrComplain(const QLineEdit* edit, const char* caption)
{
    const std::optional<int> value = parseWhole(edit->text());
    if (!value) inputError(caption);
    return value;
}

std::optional<qint64> TParamPages::valueOrComplain(const Field& f)
{
    // A value the word cannot carry would travel as its low 16 bits: 66000 would be stored as
    // 464, a threshold of -1 mm/s as 3275.80 mm/s. Such a value is refused, not wrapped.
    switch (f.conversion) {
    case Conversion::Whole: {
        const std::optional<int> value = wholeOrComplain(f.edit, f.caption);
        if (value && !fitsWord(*value)) {
            rangeError(f.caption, QString::number(WordMin), QString::number(WordMax));
            return std::nullopt;
        }
        return value;
    }
    case Conversion::StopFrequency:
        return wholeOrComplain(f.edit, f.caption); // held within 1..1000 when sent
    case Conversion::Threshold:
        break;
    }
    const std::optional<qint64> raw = parseThreshold(f.edit->text(), QLocale());
    if (!raw) {
        inputError(f.caption);
    } else if (*raw < 0 || *raw > 0xFFFF) {
        rangeError(f.caption, mmPerSecond(0, QLocale()), mmPerSecond(0xFFFF, QLocale()));
        return std::nullopt;
    }
    return raw;
}

void TParamPages::rangeError(const char* caption, const QString& low, const QString& high)
{
    showMessage({m_host.window(),
                 tr73(0, QStringLiteral("Der Wert passt nicht in das Feld. Erlaubt sind %1 bis %2."))
                     .arg(low, high),
                 tr73(0, QString::fromUtf8(caption)), MsgIcon::None, MsgButtons::Ok});
}

void TParamPages::showSending(QLabel* panel)
{
    panel->setText(tr73(0, QStringLiteral("SENDEN")));
    m_host.Timer2().setEnabled(true);
}

void TParamPages::sendParsed(const Field& f, qint64 value)
{
    showSending(f.panel);
    if (!f.edit->isModified()) return;
    if (f.conversion == Conversion::StopFrequency) value = std::clamp<qint64>(value, 1, 1000);
    // A page shown without its read (the notebook's own keys switch pages too) would leave
    // another set selected, and the value would land in that set.
    if (f.selector && (!f.selectedByRead || m_selected != QLatin1String(f.selector)))
        select(f.selector, f.selectorCode);
    // The value travels as its low 16 bits.
    m_host.Send(quint16(value), f.code);
    m_host.Exec(QString::fromLatin1(f.setter), f.code + 1);
    m_host.Exec(QString::fromLatin1(f.getter), f.code + 2);
    const quint16 word = m_host.Receive(f.code + 3);
    showReadBack(f, word);
    *f.changed = true;
}

void TParamPages::showReadBack(const Field& f, quint16 word)
{
    if (f.conversion == Conversion::Threshold)
        showThreshold(word);
    else
        f.edit->setText(signedText(word));
    f.edit->setModified(false);
}

void TParamPages::SendPage(int page)
{
    const Ui::SpannenPage& sp = m_spannen->ui;
    const Ui::ZeitenPage& zt = m_zeiten->ui;
    QList<QLineEdit*> fields;
    switch (page) {
    case 0:
        // Edit16 is sent by Enter in the field only.
        fields = {sp.Edit10, sp.Edit11, sp.Edit20, sp.Edit21};
        if (BiosVersion >= 310) fields << sp.edHydrPulse << sp.edHydrDauer;
        break;
    case 1:
        fields = {zt.Edit12, zt.Edit14, zt.Edit15, zt.Edit22, zt.Edit24, zt.Edit25};
        break;
    case 2:
        fields = {m_plan->ui.Edit30, m_plan->ui.Edit31};
        break;
    case 3:
        fields = {m_schwingung->ui.Edit40, m_schwingung->ui.Edit41};
        break;
    default:
        return;
    }
    for (QLineEdit* edit : fields)
        KeyDown(edit, VK_RETURN);
}

void TParamPages::SavePage(int page)
{
    switch (page) {
    case 0:
    case 1:
        Button1Click();
        break;
    case 2:
        Button4Click();
        break;
    case 3:
        Button6Click();
        break;
    default:
        break;
    }
}

QStringList TParamPages::UnsavedSets() const
{
    QStringList sets;
    const std::pair<bool, const char*> flags[] = {{ClampChanged, "SPANNEN"},
                                                  {ReleaseChanged, "LÖSEN"},
                                                  {FlatChanged, "PLANANLAGE"},
                                                  {VibrationChanged, "SCHWINGUNG"}};
    for (const auto& [changed, caption] : flags)
        if (changed) sets << QString::fromUtf8(caption);
    return sets;
}

void TParamPages::SaveUnsaved()
{
    if (ClampChanged || ReleaseChanged) Button1Click();
    if (FlatChanged) Button4Click();
    if (VibrationChanged) Button6Click();
}

void TParamPages::saveSet(bool& changed, const char* selector, quint16 selectorCode,
                          quint16 memModeCode, quint16 saveCode, const QString& doneText)
{
    if (!changed) {
        m_edit2->setText(tr73(0, QString::fromUtf8("Nicht geändert")));
        return;
    }
    select(selector, selectorCode);
    // From BIOS 2.00 on the controller stores only after the memory mode was set.
    if (BiosVersion >= 200) m_host.Exec(QStringLiteral("SET_MEM_MODE"), memModeCode);
    m_host.Exec(QStringLiteral("SPEICHERN"), saveCode);
    changed = false;
    m_edit2->setText(tr73(0, doneText));
}

} // namespace r73
