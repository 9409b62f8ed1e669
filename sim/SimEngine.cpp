#include "SimEngine.h"

#include <QtDebug>

namespace r73::sim {

namespace {

constexpr int RecentExchanges = 3;

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

QByteArray status(bool ok)
{
    QByteArray s;
    s.append(char(wire::StatusOk1));
    s.append(char(ok ? wire::StatusOk2 : 0x01));
    return s;
}

} // namespace

SimEngine::SimEngine(const SimConfig& config)
    : m_config(config), m_vocabulary(config.bios),
      m_machine(config.bios, config.serial, config.seed, config.stateFile)
{
    if (!m_machine.stateWarning().isEmpty())
        qWarning().noquote() << "r73-sim: warning:" << m_machine.stateWarning();
    m_machine.setInputWord(config.inputWord);
    m_machine.setOutputWord(config.outputWord);
    for (auto it = config.texts.constBegin(); it != config.texts.constEnd(); ++it)
        m_machine.holdText(it.key(), it.value());
    if (config.stillReadings) m_machine.holdStill(*config.stillReadings);
    if (!config.logFile.isEmpty() && !m_logFile.open(config.logFile, &m_logFileError))
        qWarning().noquote() << "r73-sim:" << m_logFileError;
}

QStringList SimEngine::summaries() const
{
    QStringList out;
    for (const SimExchange& ex : m_log)
        out.append(ex.summary());
    return out;
}

bool SimEngine::lineClosed() const
{
    return m_config.faults.closeAfter >= 0 && m_completed >= m_config.faults.closeAfter;
}

bool SimEngine::answering() const
{
    const int silentAfter = m_config.faults.silentAfter;
    return !lineClosed() && (silentAfter < 0 || m_completed < silentAfter);
}

void SimEngine::resetParser()
{
    m_stage = Stage::Idle;
    m_unstuffer.reset();
    m_text.clear();
}

QStringList SimEngine::takeViolations()
{
    QStringList out;
    out.swap(m_violations);
    return out;
}

void SimEngine::lineQuiet()
{
    if (!midMessage()) return;
    violate(QStringLiteral("message stopped half-sent"));
    resetParser();
}

void SimEngine::violate(const QString& what)
{
    if (m_faultStruck || lineClosed()) return;
    const QString before = m_recent.isEmpty() ? QStringLiteral("(none)") : m_recent.join(" | ");
    m_violations << QStringLiteral("%1; bytes: %2; after: %3").arg(what, hex(m_message), before);
}

void SimEngine::checkRaw(quint8 raw)
{
    if (m_unstuffer.midEscape()) {
        if (raw != 0x3B && raw != 0x31 && raw != 0x33)
            violate(QStringLiteral("escape followed by 0x%1").arg(raw, 2, 16, QChar(u'0')));
    } else if (raw == 0x11 || raw == 0x13) {
        violate(QStringLiteral("unescaped 0x%1 from the host").arg(raw, 2, 16, QChar(u'0')));
    }
}

bool SimEngine::refusedBeforeSession(const QString& what)
{
    if (m_session) return false;
    violate(what + QStringLiteral(" before the handshake"));
    return true;
}

QByteArray SimEngine::feed(const QByteArray& lineBytesFromHost)
{
    for (char c : lineBytesFromHost) {
        if (lineClosed()) break;
        if (!midMessage()) m_message.clear();
        m_message.append(c);
        checkRaw(quint8(c));
        quint8 b = 0;
        if (m_unstuffer.push(quint8(c), b)) consume(b);
    }
    QByteArray out;
    out.swap(m_out);
    return out;
}

void SimEngine::consume(quint8 b)
{
    switch (m_stage) {
    case Stage::Idle:
    case Stage::Opening:
        // Anything but the start of a message is line noise: ignored, but the host sent it.
        if (m_stage == Stage::Opening && b == wire::SessionRequest) {
            m_stage = Stage::Idle;
            completeHandshake();
            break;
        }
        if (m_stage == Stage::Opening)
            violate(QStringLiteral("opening byte 00 not followed by 04"));
        else if (b != wire::OpeningByte && b != wire::CallByte)
            violate(QStringLiteral("stray byte between exchanges"));
        if (b == wire::OpeningByte)
            m_stage = Stage::Opening;
        else if (b == wire::CallByte)
            m_stage = Stage::IdHigh;
        else
            m_stage = Stage::Idle;
        break;
    case Stage::IdHigh:
        m_id = quint16(b << 8);
        m_stage = Stage::IdLow;
        break;
    case Stage::IdLow:
        m_id |= b;
        dispatchId();
        break;
    case Stage::WordHigh:
        m_word = quint16(b << 8);
        m_stage = Stage::WordLow;
        break;
    case Stage::WordLow:
        m_word |= b;
        m_stage = Stage::Idle;
        completeCall(m_vocabulary.byId(m_id));
        break;
    case Stage::StrLength:
        m_textLength = b;
        m_text.clear();
        m_stage = Stage::StrBody;
        if (m_textLength > 0) break;
        [[fallthrough]];
    case Stage::StrBody:
        if (m_text.size() < m_textLength) m_text.append(char(b));
        if (m_text.size() == m_textLength) {
            m_stage = Stage::Idle;
            if (m_id == SessionId)
                completeLookup();
            else
                completeCall(m_vocabulary.byId(m_id));
        }
        break;
    }
}

void SimEngine::dispatchId()
{
    m_stage = Stage::Idle;
    if (m_id == SessionId) {
        m_stage = Stage::StrLength;
        return;
    }
    const SimFunction* f = m_vocabulary.byId(m_id);
    if (f && f->kind == FunctionKind::Get)
        m_stage = Stage::WordHigh;
    else if (f && f->kind == FunctionKind::StrGet)
        m_stage = Stage::StrLength;
    else
        completeCall(f);
}

void SimEngine::completeHandshake()
{
    if (!answering()) {
        m_faultStruck = true;
        return;
    }
    m_session = true;
    SimExchange ex;
    ex.kind = SimExchange::Kind::Session;
    ex.id = SessionId;
    ex.wordsOut = {SessionId};
    QByteArray answer("R7");
    wire::appendWord(answer, SessionId);
    commit(ex, answer, false);
}

void SimEngine::completeLookup()
{
    if (!answering()) {
        m_faultStruck = true;
        return;
    }
    // The controller answers nothing outside a session.
    if (refusedBeforeSession(QStringLiteral("name lookup"))) return;
    SimExchange ex;
    ex.kind = SimExchange::Kind::Lookup;
    ex.textIn = m_text;
    ex.name = textFromWire(m_text);
    const SimFunction* f = m_vocabulary.byName(ex.name);
    ex.known = f && !m_config.faults.unknown.contains(ex.name);
    ex.ok = ex.known;
    ex.id = ex.known ? f->id : 0;
    ex.wordsOut = {ex.id};
    QByteArray answer;
    wire::appendWord(answer, ex.id);
    commit(ex, answer + status(ex.ok), false);
}

void SimEngine::completeCall(const SimFunction* f)
{
    if (!answering()) {
        m_faultStruck = true;
        return;
    }
    const QString id = QStringLiteral("0x%1").arg(m_id, 4, 16, QChar(u'0'));
    if (refusedBeforeSession(QStringLiteral("call of ") + (f ? f->name : id))) return;
    SimExchange ex;
    ex.kind = SimExchange::Kind::Call;
    ex.id = m_id;
    if (!f) {
        violate(
            QStringLiteral("call of %1, which BIOS %2 does not offer").arg(id).arg(m_config.bios));
        ex.known = false;
        ex.ok = false;
        commit(ex, status(false), false);
        return;
    }
    const SimFaults& faults = m_config.faults;
    if (faults.silentOn.contains(f->name)) {
        m_faultStruck = true;
        return; // swallowed: no effect, no answer, not an exchange
    }
    // An empty FIFO means the host's calls and fetches do not pair up; the controller has
    // nothing to send, so the host hears nothing.
    if ((f->kind == FunctionKind::Put && m_machine.valueFifo().isEmpty()) ||
        (f->kind == FunctionKind::StrPut && m_machine.textFifo().isEmpty())) {
        violate(f->name + QStringLiteral(" with nothing queued"));
        return;
    }
    ex.name = f->name;
    QByteArray answer;
    switch (f->kind) {
    case FunctionKind::Get:
        ex.kind = SimExchange::Kind::Get;
        ex.wordsIn = {m_word};
        m_machine.receiveValue(m_word);
        break;
    case FunctionKind::Put:
        ex.kind = SimExchange::Kind::Put;
        ex.wordsOut = {m_machine.takeValue()};
        wire::appendWord(answer, ex.wordsOut.first());
        break;
    case FunctionKind::StrGet:
        ex.kind = SimExchange::Kind::StrGet;
        ex.textIn = m_text;
        m_machine.receiveText(m_text);
        break;
    case FunctionKind::StrPut:
        ex.kind = SimExchange::Kind::StrPut;
        ex.textOut = m_machine.takeText().left(wire::MaxStringLength);
        wire::appendString(answer, ex.textOut);
        break;
    default:
        m_machine.history().setEndless(faults.endlessHistory);
        ex.note = faults.ignoreOn.contains(f->name) ? QStringLiteral("ignored (fault)")
                                                    : m_machine.run(*f);
        break;
    }
    ex.ok = !faults.badStatus.contains(f->name) && m_completed != faults.badStatusAt;
    commit(ex, answer + status(ex.ok), faults.garbageOn.contains(f->name));
}

void SimEngine::commit(const SimExchange& ex, const QByteArray& answer, bool garbage)
{
    if (garbage) m_out.append(GarbageBytes, sizeof GarbageBytes);
    m_out.append(wire::stuff(answer));
    m_log.append(ex);
    m_recent.append(ex.summary());
    if (m_recent.size() > RecentExchanges) m_recent.removeFirst();
    ++m_completed;
    m_logFile.write(ex);
    m_machine.advance(); // the machine's clock is the exchanges, so a seed repeats exactly
}

} // namespace r73::sim
