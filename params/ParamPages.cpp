// The fields of the parameter pages: their table, Enter and the common send with its read-back,
// and F4/F5 for a whole page.

#include "ParamPages.h"

#include "ControllerModel.h"
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
#include "ui_PlanPage.h"
#include "ui_SchwingungPage.h"
#include "ui_ServicePage.h"
#include "ui_SpannenPage.h"
#include "ui_ZeitenPage.h"

#include <QKeyEvent>
#include <QLineEdit>

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
      m_schwingung(schwingung), m_service(service), m_edit2(edit2), m_sets(host)
{
    setUpFields();
    setUpTabOrder();
    for (const Field& f : m_fields) {
        f.edit->installEventFilter(this);
        if (f.edit->maxLength() == FieldLength) limitField(f.edit);
        connect(f.edit, &QLineEdit::textChanged, this, [this, edit = f.edit] {
            if (const Field* typed = fieldOf(edit)) markTyped(*typed);
        });
        refreshField(f);
    }
    const Ui::SpannenPage& sp = m_spannen->ui();
    connect(sp.Button1, &QPushButton::clicked, this, &TParamPages::Button1Click);
    connect(m_zeiten->ui().Button2, &QPushButton::clicked, this, &TParamPages::Button1Click);
    connect(m_plan->ui().Button4, &QPushButton::clicked, this, &TParamPages::Button4Click);
    connect(m_schwingung->ui().Button6, &QPushButton::clicked, this, &TParamPages::Button6Click);
    // Every change of state, a read's included, as the platform's click event has it.
    connect(sp.cbHydr, &QCheckBox::toggled, this, &TParamPages::cbHydrClick);
}

TParamPages::~TParamPages() = default;

void TParamPages::setUpFields()
{
    const Ui::SpannenPage& sp = m_spannen->ui();
    const Ui::ZeitenPage& zt = m_zeiten->ui();
    const Ui::PlanPage& pl = m_plan->ui();
    const Ui::SchwingungPage& sw = m_schwingung->ui();
    struct Edit
    {
        QLineEdit* edit;
        const char* caption; ///< of the input error box
        QLabel* panel;
    };
    // clang-format off
    // In the order of paramDefs(), which holds their controller calls.
    const Edit edits[] = {
        {sp.Edit10, "KURZ", sp.Panel11}, {sp.Edit11, "LANG", sp.Panel11}, {sp.Edit16, "LANG", sp.Panel11},
        {sp.Edit20, "KURZ", sp.Panel11}, {sp.Edit21, "LANG", sp.Panel11},
        {sp.edHydrPulse, "Pulse Hydraulik", sp.Panel11}, {sp.edHydrDauer, "Dauer Hydraulik", sp.Panel11},
        {zt.Edit12, "START", zt.Panel12}, {zt.Edit14, "STOP", zt.Panel12}, {zt.Edit15, "TIMEOUT", zt.Panel12},
        {zt.Edit22, "START", zt.Panel12}, {zt.Edit24, "STOP", zt.Panel12}, {zt.Edit25, "TIMEOUT", zt.Panel12},
        {pl.Edit30, "SCHWELLE", pl.Panel13}, {pl.Edit31, "TIMEOUT", pl.Panel13},
        {sw.Edit40, "SCHWELLE", sw.Panel14}, {sw.Edit41, "TIMEOUT", sw.Panel14},
    };
    // clang-format on
    bool* const changed[] = {&m_host.state().clampChanged, &m_host.state().releaseChanged,
                             &m_host.state().flatChanged, &m_host.state().vibrationChanged};
    const std::span<const ParamDef> defs = paramDefs();
    Q_ASSERT(defs.size() == std::size(edits));
    for (size_t i = 0; i < defs.size(); ++i)
        m_fields.push_back({edits[i].edit, &defs[i], edits[i].caption, edits[i].panel,
                            changed[int(defs[i].savedWith)]});
}

void TParamPages::setUpTabOrder()
{
    // Down each group, then on to the next group, as the hint "Weiter mit TAB" promises.
    const Ui::SpannenPage& sp = m_spannen->ui();
    const Ui::ZeitenPage& zt = m_zeiten->ui();
    const QList<QList<QWidget*>> chains = {
        {sp.Edit10, sp.Edit11, sp.Edit16, sp.Edit20, sp.Edit21, sp.cbHydr, sp.edHydrPulse,
         sp.edHydrDauer},
        {zt.Edit12, zt.Edit14, zt.Edit15, zt.Edit22, zt.Edit24, zt.Edit25},
        {m_plan->ui().Edit30, m_plan->ui().Edit31},
        {m_schwingung->ui().Edit40, m_schwingung->ui().Edit41}};
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

QLineEdit* TParamPages::editOf(const ParamDef& def) const
{
    for (const Field& f : m_fields)
        if (f.def == &def) return f.edit;
    return nullptr;
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
    // The tooltip tells what is known now, in the language of now.
    if (event->type() == QEvent::ToolTip)
        if (const Field* f = fieldOf(watched)) refreshField(*f);
    // Esc abandons what was typed and not sent.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (const Field* f = fieldOf(watched); f && f->edit->isModified()) showHeld(f->edit);
    }
    return QObject::eventFilter(watched, event);
}

void TParamPages::KeyDown(QLineEdit* edit, quint16 key)
{
    if (key != VK_RETURN) return;
    if (edit == m_spannen->ui().Edit11) {
        Edit11KeyDown();
        return;
    }
    if (edit == m_spannen->ui().Edit16) {
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
    const FieldCheck check = checkField(f.def->conversion, f.edit->text(), QLocale());
    if (!check.value)
        showMessage({m_host.window(), check.message, tr73(0, QString::fromUtf8(f.caption)),
                     MsgIcon::None, MsgButtons::Ok});
    return check.value;
}

void TParamPages::rangeError(const char* caption, const QString& low, const QString& high)
{
    showMessage(
        {m_host.window(),
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
    const QString typed = f.edit->text().trimmed();
    const quint16 readBack = m_sets.send(*f.def, value);
    learnSent(f.def->key, readBack);
    showReadBack(f, readBack);
    if (quint16(value) != readBack) {
        m_typedAway.insert(f.edit, typed);
        markField(f.def->key, FieldMark::Differs);
    }
    *f.changed = true;
    tellSent(f.def->key, typed, f.edit->text());
}

void TParamPages::tellSent(const char* key, const QString& typed, const QString& readBack)
{
    if (m_host.state().commErrorSeen) return; // the failure has been said
    const backup::Setting* s = backup::settingOf(QLatin1String(key));
    const QString caption = s ? backup::pageCaption(*s, m_host.state().biosVersion) : QString();
    m_host.showDone(tr73own("%1 = %2 gesendet, gelesen %3 — noch nicht dauerhaft gespeichert (F5)")
                        .arg(caption, typed, readBack));
}

void TParamPages::learnRead(const char* key, quint16 word)
{
    m_host.controllerModel().settingRead(QLatin1String(key), {word, {}});
    markField(key, FieldMark::Held);
}

void TParamPages::learnSent(const char* key, quint16 word)
{
    m_host.controllerModel().settingSent(QLatin1String(key), {word, {}});
    markField(key, FieldMark::Unsaved);
}

void TParamPages::showHeld(QLineEdit* edit)
{
    const Field* f = fieldOf(edit);
    if (!f) return;
    const std::optional<model::Known> held =
        m_host.controllerModel().setting(QLatin1String(f->def->key));
    if (!held) return; // nothing read yet: the text stays for the operator to mend
    showReadBack(*f, held->value.word);
    const QString key = QLatin1String(f->def->key);
    markField(f->def->key,
              m_host.controllerModel().unsaved(key) ? FieldMark::Unsaved : FieldMark::Held);
}

void TParamPages::showReadBack(const Field& f, quint16 word)
{
    if (f.def->conversion == ParamConversion::Threshold)
        showThreshold(word);
    else if (shownUnsigned(*f.def)) // the same word must not read 40000 here, -25536 there
        f.edit->setText(QString::number(word));
    else
        f.edit->setText(signedText(word));
    f.edit->setModified(false);
}

void TParamPages::SendPage(int page)
{
    const Ui::SpannenPage& sp = m_spannen->ui();
    const Ui::ZeitenPage& zt = m_zeiten->ui();
    QList<QLineEdit*> fields;
    switch (page) {
    case 0:
        // Edit16 is sent by Enter in the field only.
        fields = {sp.Edit10, sp.Edit11, sp.Edit20, sp.Edit21};
        if (m_host.state().biosVersion >= 310) fields << sp.edHydrPulse << sp.edHydrDauer;
        break;
    case 1:
        fields = {zt.Edit12, zt.Edit14, zt.Edit15, zt.Edit22, zt.Edit24, zt.Edit25};
        break;
    case 2:
        fields = {m_plan->ui().Edit30, m_plan->ui().Edit31};
        break;
    case 3:
        fields = {m_schwingung->ui().Edit40, m_schwingung->ui().Edit41};
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
    const std::pair<bool, const char*> flags[] = {{m_host.state().clampChanged, "SPANNEN"},
                                                  {m_host.state().releaseChanged, "LÖSEN"},
                                                  {m_host.state().flatChanged, "PLANANLAGE"},
                                                  {m_host.state().vibrationChanged, "SCHWINGUNG"}};
    for (const auto& [changed, caption] : flags)
        if (changed) sets << QString::fromUtf8(caption);
    return sets;
}

void TParamPages::SaveUnsaved()
{
    if (m_host.state().clampChanged || m_host.state().releaseChanged) Button1Click();
    if (m_host.state().flatChanged) Button4Click();
    if (m_host.state().vibrationChanged) Button6Click();
}

void TParamPages::saveSet(bool& changed, SetId set, const QString& doneText)
{
    if (!changed) {
        m_edit2->setText(tr73(0, QString::fromUtf8("Nicht geändert")));
        return;
    }
    m_sets.save(set, m_host.state().biosVersion);
    changed = false;
    m_edit2->setText(tr73(0, doneText));
    // A save the line broke off is no save to know of or to record.
    if (m_host.state().commErrorSeen) return;
    m_host.controllerModel().setSaved(set);
    markSaved(set);
    static const char* const captions[] = {"SPANNEN", "LÖSEN", "PLANANLAGE", "SCHWINGUNG"};
    m_savedNow << tr73(0, QString::fromUtf8(captions[int(set)]));
    m_host.showDone(tr73own("%1 dauerhaft gespeichert").arg(m_savedNow.join(tr73own(" und "))));
}

} // namespace r73
