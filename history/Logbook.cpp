#include "Logbook.h"

#include "ControllerModel.h"
#include "HistoryReads.h"
#include "LogFile.h"
#include "MessageFacade.h"
#include "PageHost.h"
#include "PollReads.h"
#include "ProgramState.h"
#include "ProgramVersion.h"
#include "ShownValues.h"
#include "TextHook.h"

#include <QDateTime>
#include <QLocale>
#include <QTreeWidget>

namespace r73 {

namespace {

const QString Tab = QStringLiteral("\t");
const QString Blank = QStringLiteral(" "); // a blank line holds one space
const QString Colon = QStringLiteral(" : ");

/// A caption of the window's fixed pages.
QString page(const char* german)
{
    return tr73(0, QString::fromUtf8(german));
}

QString line(const QString& caption, const QString& value)
{
    return Tab + caption + Colon + value;
}

bool askToGoOn(QWidget* window, const char* german)
{
    return showMessage({window, page(german), QStringLiteral("Information"), MsgIcon::Information,
                        MsgButtons::CancelIgnore}) != MsgAnswer::Cancel;
}

/// One parameter page: its caption, then each field its BIOS offers.
void setLines(const model::ControllerModel& m, const QString& caption,
              std::initializer_list<const char*> keys, QStringList& out)
{
    const quint16 bios = m.identity().bios;
    out << caption;
    for (const char* key : keys) {
        const backup::Setting* s = backup::settingOf(QString::fromLatin1(key));
        if (s && backup::offeredBy(*s, bios))
            out << line(backup::pageCaption(*s, bios),
                        model::fieldText(m, QString::fromLatin1(key)));
    }
}

void serviceLines(const LogbookSources& from, QStringList& out)
{
    const model::LiveReadings& live = from.host.controllerModel().live();
    out << from.host.pageCaption(4);
    if (!from.params) return;
    for (const auto& [key, caption] : from.params->shownServiceRows())
        out << line(caption, key == QLatin1String("vibration") ? model::vibrationText(live)
                                                               : model::serviceText(live, key));
}

void channelLines(const LogbookSources& from, int channel, QStringList& out)
{
    const model::ControllerModel& m = from.host.controllerModel();
    auto text = [&](const char* item) {
        return model::valueOr(m,
                              QStringLiteral("channel%1.%2").arg(channel).arg(QLatin1String(item)))
            .text;
    };
    out << from.host.pageCaption(5 + channel);
    for (const auto& [caption, item] : model::ChannelTextItems)
        out << line(page(caption), text(item));
    const quint16 word =
        model::valueOr(m, QStringLiteral("channel%1.parameters").arg(channel)).word;
    // These two endings are German in every language.
    out << Tab + page("Kanal aktiv") +
               ((word & 1) ? QStringLiteral(" : aktiv") : QStringLiteral(" : inaktiv"));
    out << line(page("Eingangspegel"), backup::inputLevelText(word));
}

void lampLines(const char* prefix, std::optional<quint16> word, QStringList& out)
{
    for (int bit = 0; bit < 8; ++bit) {
        const bool on = word.value_or(0) & (1u << bit);
        out << Tab + QString::fromLatin1(prefix) + QString::number(bit) +
                   page(on ? " : aktiv" : " : inaktiv");
    }
}

void statusLines(const model::LiveReadings& live, QStringList& out)
{
    const QString none = page("---");
    const std::optional<quint16> in = live.inputWord, o = live.outputWord;
    out << Tab + page("ext. Anwahl") << Tab + (in ? selectionText(*in) : none)
        << Tab + page("int.  Zustand") << Tab + (o ? stateText(*o) : none)
        << Tab + page("Ergebnis:") << Tab + (o ? finishedText(*o) : none)
        << Tab + (o ? resultOf(*o, in.value_or(0)).text : none);
}

void historyLines(const LogbookSources& from, bool* confirmed, QStringList& out)
{
    const QList<HistElement>& history = from.host.controllerModel().history();
    QWidget* window = from.host.window();
    if (history.isEmpty()) {
        if (!askToGoOn(window, "LOGBUCH nicht eingeschaltet"))
            *confirmed = false;
        else if (!from.host.state().historyReading && !askToGoOn(window, "LOGBUCH liest nicht"))
            *confirmed = false;
    }
    out << Blank << from.host.pageCaption(5);
    // Type and subtype (columns 1 and 2) are the controller's business.
    auto cellsLine = [](const QStringList& cells) {
        QString l = Tab;
        for (qsizetype c = 0; c < cells.size(); ++c)
            if (c != 1 && c != 2) l += cells[c] + Tab;
        return l;
    };
    const QTreeWidgetItem* header = from.historyList->headerItem();
    QStringList captions;
    for (int c = 0; c < from.historyList->columnCount(); ++c)
        captions << header->text(c);
    out << cellsLine(captions);
    for (const HistElement& e : history)
        out << cellsLine(historyCells(e));
}

} // namespace

QStringList ComposeLogbuch(const LogbookSources& from, bool* confirmed)
{
    *confirmed = true;
    const model::ControllerModel& m = from.host.controllerModel();
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    QStringList out;
    // 1..5: identification, date and time, status word, last error.
    out << page("SW-Version: ") + QLatin1String(ProgramVersionText) + Tab + page("Ser. Nr.") +
               Colon + model::shownSerial(m) + Tab + page("Bios-Version") + Colon +
               model::shownBios(m);
    out << page("Datum : ") + locale.toString(now.date(), shortDateFormat()) + Tab +
               locale.toString(now.time(), longTimeFormat());
    const model::LiveReadings& live = m.live();
    out << line(page("M-Status"), live.statusWord ? QString::number(*live.statusWord) : QString());
    const LastCommError error = from.host.lastCommError();
    out << line(page("Last ComErr:"),
                QString::number(error.status) + QStringLiteral("  ") +
                    (error.location ? QString::number(*error.location) : QStringLiteral("---")));
    out << Blank;

    // 6..10: the parameter pages and the service page.
    setLines(m, from.host.pageCaption(0),
             {"clamp.short", "clamp.long", "clamp.without_tool", "release.short", "release.long"},
             out);
    out << Blank;
    setLines(m, from.host.pageCaption(1),
             {"clamp.min_time", "clamp.stop_frequency", "clamp.timeout", "release.min_time",
              "release.stop_frequency", "release.timeout"},
             out);
    out << Blank;
    setLines(m, from.host.pageCaption(2), {"flat.threshold", "flat.timeout"}, out);
    out << Blank;
    setLines(m, from.host.pageCaption(3), {"vibration.threshold", "vibration.timeout"}, out);
    out << Blank;
    serviceLines(from, out);
    out << Blank;

    // 11, 12: the analog channels, read back from the controller first.
    if (m.identity().bios >= 300) {
        for (int channel = 1; channel <= 3; ++channel)
            if (from.readAnalog) from.readAnalog(channel);
        for (int channel = 1; channel <= 3; ++channel) {
            channelLines(from, channel, out);
            if (channel < 3) out << Blank;
        }
    }
    out << Blank;

    // 13, 14: inputs, outputs and the status area.
    lampLines("E", live.inputWord, out);
    lampLines("A", live.outputWord, out);
    out << Blank;
    statusLines(live, out);

    // 15: the history, where the controller has one.
    if (from.historyList && !from.historyList->isHidden()) historyLines(from, confirmed, out);
    return out;
}

} // namespace r73
