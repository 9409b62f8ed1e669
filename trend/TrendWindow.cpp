#include "TrendWindow.h"

#include "Decimate.h"
#include "MessageFacade.h"
#include "SafeFile.h"
#include "TextHook.h"
#include "TrendFeed.h"
#include "TrendRecorder.h"
#include "ui_TrendWindow.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace r73 {

namespace {

constexpr qint64 Minute = 60 * 1000;
constexpr qint64 Spans[] = {Minute, 5 * Minute, 10 * Minute, 30 * Minute, 60 * Minute};
/// The live rows kept for scrolling back: half a day at the poll's pace.
constexpr qint64 LiveKept = 12 * 60 * Minute;
constexpr int Lanes = 16; // E0..E7, A0..A7

using Getter = bool (*)(const TrendRow&, int, double&);

/// Reads of one value further apart than this are not joined: the channel's page was not shown,
/// the poll paused or the recording stopped. The poll reads every second, the page every three.
constexpr qint64 GapAfter = 10 * 1000;

/// The points of one value over rows [lo, hi), with the nearest one outside on each side so the
/// line reaches the edges; step: held until the next read (words, limits), else a straight line.
/// A NaN point between reads GapAfter apart breaks the line there.
QList<QPointF> gather(const std::vector<TrendRow>& rows, size_t lo, size_t hi, Getter get, int arg,
                      bool step)
{
    QList<QPointF> points;
    double y = 0;
    for (size_t i = lo; i-- > 0;)
        if (get(rows[i], arg, y)) {
            points << QPointF(double(rows[i].msecs), y);
            break;
        }
    for (size_t i = lo; i < rows.size(); ++i) {
        if (!get(rows[i], arg, y)) continue;
        const double t = double(rows[i].msecs);
        if (!points.isEmpty() && t - points.last().x() > GapAfter)
            points << QPointF((points.last().x() + t) / 2, qQNaN());
        else if (step && !points.isEmpty() && points.last().y() != y)
            points << QPointF(t, points.last().y());
        points << QPointF(t, y);
        if (i >= hi) break;
    }
    return points;
}

bool channelValue(const TrendRow& r, int k, double& y)
{
    const ChannelSample& c = r.channels[k / 8];
    const int limit = k % 8 - 1; // 0: the value, 1..4: Min2..Max2
    y = limit < 0 ? c.phys : c.limits[limit];
    return c.read && !std::isnan(y);
}

bool sensorValue(const TrendRow& r, int, double& y)
{
    y = r.sensor * 0.05; // 1 unit = 0.05 mm/s
    return r.sensor >= 0;
}

bool laneValue(const TrendRow& r, int lane, double& y)
{
    const qint32 word = lane < 8 ? r.input : r.output;
    y = lane + 0.15 + ((word >> (lane % 8)) & 1) * 0.7;
    return word >= 0;
}

QString bits(qint32 word)
{
    return word < 0 ? QStringLiteral("-") : QString::number(word & 0xFF, 2).rightJustified(8, u'0');
}

} // namespace

TrendWindow::TrendWindow(TrendFeed& feed, TrendRecorder& recorder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::TrendWindow>()), m_recorder(recorder)
{
    m_ui->setupUi(this);
    const Qt::PenStyle limitStyles[4] = {Qt::DotLine, Qt::DashLine, Qt::DashLine, Qt::DotLine};
    const QColor limitColours[4] = {QColor(0x00, 0x60, 0xC0), QColor(0x00, 0x60, 0xC0),
                                    QColor(0xD0, 0x00, 0x00), QColor(0xD0, 0x00, 0x00)};
    for (int k = 0; k < TrendChannels; ++k) {
        m_channel[k] = new TrendPlot(nullptr, m_ui->pnPlots);
        m_channel[k]->addSeries({}, QPen(QColor(0x20, 0x20, 0x20), 1));
        for (int l = 0; l < 4; ++l)
            m_channel[k]->addSeries(QString::fromLatin1(TrendLimitNames[l]),
                                    QPen(limitColours[l], 1, limitStyles[l]));
        m_channel[k]->setTimeLabels(false);
        m_channel[k]->hide();
    }
    m_sensor = new TrendPlot(nullptr, m_ui->pnPlots);
    m_sensor->addSeries({}, QPen(QColor(0x00, 0x80, 0x80), 1));
    m_sensor->setTimeLabels(false);
    auto* laneAxis = new QValueAxis;
    laneAxis->setRange(-0.1, Lanes + 0.1); // as the lanes are drawn
    QStringList laneNames;
    for (int lane = 0; lane < Lanes; ++lane)
        laneNames << QStringLiteral("%1%2").arg(QChar(lane < 8 ? u'E' : u'A')).arg(lane % 8);
    m_lines = new TrendPlot(laneAxis, m_ui->pnPlots);
    m_lines->setLaneLabels(laneNames);
    for (int lane = 0; lane < Lanes; ++lane)
        m_lines->addSeries({},
                           QPen(lane < 8 ? QColor(0x00, 0x80, 0x00) : QColor(0x00, 0x40, 0xC0), 1));
    m_lines->chart()->legend()->hide();
    m_lines->setMinimumHeight(16 * 13 + 60);
    for (TrendPlot* p : {m_channel[0], m_channel[1], m_channel[2], m_sensor, m_lines}) {
        m_ui->vlPlots->addWidget(p, p == m_lines ? 0 : 1);
        p->setMarkers(&m_markers, false);
        connect(p, &TrendPlot::cursorMoved, this, &TrendWindow::setCursorAt);
        connect(p, &TrendPlot::wheelZoom, this, &TrendWindow::zoom);
    }
    for (qint64 s : Spans)
        m_ui->cbSpan->addItem(
            s < 60 * Minute ? QStringLiteral("%1 min").arg(s / Minute) : QStringLiteral("1 h"), s);
    m_ui->cbSpan->setCurrentIndex(1);

    connect(m_ui->cbSpan, &QComboBox::activated, this,
            [this](int i) { setSpan(m_ui->cbSpan->itemData(i).toLongLong()); });
    connect(m_ui->btPause, &QPushButton::toggled, this, [this](bool on) {
        if (on) m_end = viewEnd();
        m_paused = on;
        redraw();
    });
    connect(m_ui->btZoomIn, &QPushButton::clicked, this, [this] { zoom(1); });
    connect(m_ui->btZoomOut, &QPushButton::clicked, this, [this] { zoom(-1); });
    connect(m_ui->btLive, &QPushButton::clicked, this, &TrendWindow::showLive);
    connect(m_ui->btRecord, &QPushButton::clicked, this, &TrendWindow::recordClicked);
    connect(m_ui->btOpen, &QPushButton::clicked, this, &TrendWindow::askOpen);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this,
            &TrendWindow::askOpen);
    connect(m_ui->btPng, &QPushButton::clicked, this, &TrendWindow::askSavePicture);
    connect(m_ui->btCsv, &QPushButton::clicked, this, &TrendWindow::askSaveSpan);
    connect(m_ui->sbTime, &QScrollBar::valueChanged, this, [this](int seconds) {
        if (m_updatingScroll || rows().empty()) return;
        setViewEnd(rows().front().msecs + qint64(seconds) * 1000);
    });
    connect(&feed, &TrendFeed::rowReady, this, &TrendWindow::appendLive);
    connect(&feed, &TrendFeed::channelsChanged, this,
            [this](const ChannelInfos& c) { m_liveInfo = c; });
    connect(&recorder, &TrendRecorder::recordingChanged, this, [this](bool on) {
        m_ui->btRecord->setChecked(on);
        m_ui->lbStatus->setText(
            on ? tr73own("Aufzeichnung in %1").arg(QDir::toNativeSeparators(m_recorder.fileName()))
               : QString());
    });
    m_liveInfo = feed.channels();
    resize(900, 680);
    applyLanguage();
}

TrendWindow::~TrendWindow() = default;

void TrendWindow::applyLanguage()
{
    setWindowTitle(m_replaying ? tr73own("Trend - %1").arg(QFileInfo(m_replayPath).fileName())
                               : tr73own("Trend"));
    m_ui->lbSpan->setText(tr73own("Zeitfenster"));
    m_ui->btPause->setText(tr73own("Pause"));
    m_ui->btLive->setText(tr73own("Live"));
    m_ui->btRecord->setText(tr73own("Aufzeichnen"));
    m_ui->btOpen->setText(tr73own("Öffnen..."));
    m_ui->btPng->setText(tr73own("Bild speichern..."));
    m_ui->btCsv->setText(tr73own("Ausschnitt speichern..."));
    m_lines->setTimeLabels(true, tr73own("Zeit"));
    m_sensor->setSeriesName(0, tr73own("Schwingung [mm/s]"));
    redraw();
}

bool TrendWindow::following() const
{
    return !m_replaying && !m_paused;
}

qint64 TrendWindow::viewEnd() const
{
    if (!following()) return m_end;
    return m_live.empty() ? QDateTime::currentMSecsSinceEpoch() : m_live.back().msecs;
}

void TrendWindow::setSpan(qint64 msecs)
{
    m_span = qBound<qint64>(5000, msecs, LiveKept);
    const int choice = m_ui->cbSpan->findData(m_span);
    if (choice >= 0) m_ui->cbSpan->setCurrentIndex(choice);
    redraw();
}

void TrendWindow::setViewEnd(qint64 msecs)
{
    if (!m_replaying && !m_paused) {
        m_paused = true;
        m_ui->btPause->setChecked(true);
    }
    m_end = msecs;
    redraw();
}

void TrendWindow::zoom(int steps)
{
    const qint64 end = viewEnd();
    const qint64 centre = end - m_span / 2;
    const qint64 span = qBound<qint64>(5000, qint64(m_span * std::pow(0.5, steps)), LiveKept);
    if (steps > 0 || !following()) setViewEnd(centre + span / 2);
    setSpan(span);
}

void TrendWindow::appendLive(const TrendRow& row)
{
    m_live.push_back(row);
    if (m_live.front().msecs < row.msecs - LiveKept - 60 * Minute) {
        // Dropped in bulk, an hour at a time, so the vector moves rarely.
        const auto keep = std::lower_bound(m_live.begin(), m_live.end(), row.msecs - LiveKept,
                                           [](const TrendRow& r, qint64 t) { return r.msecs < t; });
        m_live.erase(m_live.begin(), keep);
        if (!m_replaying) rebuildMarkers();
    }
    if (!m_replaying) addMarker(row);
    if (isVisible() && following()) redraw();
}

void TrendWindow::addMarker(const TrendRow& row)
{
    // "--" is no result: a marker where one result follows another that differs.
    if (row.result.isEmpty() || row.result == u"--") return;
    if (!m_lastResult.isEmpty() && row.result != m_lastResult)
        m_markers << ResultMarker{row.msecs, row.result};
    m_lastResult = row.result;
}

void TrendWindow::rebuildMarkers()
{
    m_markers.clear();
    m_lastResult.clear();
    for (const TrendRow& row : rows())
        addMarker(row);
}

bool TrendWindow::openFile(const QString& path)
{
    TrendFile file = readTrendFile(path);
    if (!file.error.isEmpty()) {
        error(file.error);
        return false;
    }
    if (file.rows.empty()) {
        error(tr73own("Die Datei %1 enthält keine lesbaren Zeilen.")
                  .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    m_replay = std::move(file.rows);
    std::stable_sort(m_replay.begin(), m_replay.end(),
                     [](const TrendRow& a, const TrendRow& b) { return a.msecs < b.msecs; });
    m_replayInfo = file.channels;
    m_replayPath = path;
    m_replaying = true;
    rebuildMarkers();
    m_ui->lbStatus->setText(tr73own("Wiedergabe von %1").arg(QDir::toNativeSeparators(path)));
    // The whole recording when it fits the longest window, else its first hour.
    const qint64 first = m_replay.front().msecs;
    const qint64 length = m_replay.back().msecs - first;
    m_span = qBound<qint64>(Minute, length, 60 * Minute);
    m_end = first + m_span;
    applyLanguage();
    if (!file.problems.isEmpty()) {
        const QStringList shown = file.problems.mid(0, 10);
        showMessage(
            {this,
             tr73own("Einige Zeilen der Datei konnten nicht gelesen werden und fehlen in der "
                     "Darstellung:") +
                 u'\n' + shown.join(u'\n') +
                 (file.problems.size() > shown.size()
                      ? tr73own("\n... und %1 weitere").arg(file.problems.size() - shown.size())
                      : QString()),
             tr73own("Trend"), MsgIcon::Warning, MsgButtons::Ok});
    }
    return true;
}

void TrendWindow::showLive()
{
    m_replaying = false;
    m_paused = false;
    m_ui->btPause->setChecked(false);
    m_replay.clear();
    rebuildMarkers();
    m_ui->lbStatus->setText(
        m_recorder.recording()
            ? tr73own("Aufzeichnung in %1").arg(QDir::toNativeSeparators(m_recorder.fileName()))
            : QString());
    applyLanguage();
}

void TrendWindow::redraw()
{
    if (!m_lines) return;
    const std::vector<TrendRow>& all = rows();
    const ChannelInfos& info = channels();
    const qint64 to = viewEnd();
    const qint64 from = to - m_span;
    const auto before = [](const TrendRow& r, qint64 t) { return r.msecs < t; };
    const size_t lo = std::lower_bound(all.begin(), all.end(), from, before) - all.begin();
    const size_t hi = std::lower_bound(all.begin() + lo, all.end(), to + 1, before) - all.begin();
    const int columns = m_lines->columns();
    for (int k = 0; k < TrendChannels; ++k) {
        TrendPlot* plot = m_channel[k];
        bool any = false;
        for (size_t i = lo; i < hi && !any; ++i)
            any = all[i].channels[k].read;
        plot->setVisible(any);
        if (!any) continue;
        double low = qInf(), high = -qInf();
        for (int s = 0; s < 5; ++s) {
            const QList<QPointF> points =
                decimate(gather(all, lo, hi, channelValue, k * 8 + s, s > 0), double(from),
                         double(to), columns);
            for (const QPointF& p : points) {
                if (std::isnan(p.y())) continue; // a gap
                low = qMin(low, p.y());
                high = qMax(high, p.y());
            }
            plot->setPoints(s, points);
        }
        const double pad = high > low ? (high - low) * 0.05 : 1.0;
        const QString name = info[k].name.isEmpty() ? tr73own("Kanal%1").arg(k + 1) : info[k].name;
        plot->setSeriesName(0, name);
        plot->setValueAxis(QStringLiteral("[%1]").arg(info[k].unit), low - pad, high + pad);
        plot->setSpan(from, to);
    }
    const QList<QPointF> vibration =
        decimate(gather(all, lo, hi, sensorValue, 0, false), double(from), double(to), columns);
    double top = 1.0;
    for (const QPointF& p : vibration)
        if (!std::isnan(p.y())) top = qMax(top, p.y() * 1.1);
    m_sensor->setPoints(0, vibration);
    m_sensor->setValueAxis(QStringLiteral("[mm/s]"), 0, top);
    m_sensor->setSpan(from, to);
    for (int lane = 0; lane < Lanes; ++lane)
        m_lines->setPoints(lane, decimate(gather(all, lo, hi, laneValue, lane, true), double(from),
                                          double(to), columns));
    m_lines->setSpan(from, to);
    // The result's text at the top strip only.
    bool first = true;
    for (TrendPlot* p : {m_channel[0], m_channel[1], m_channel[2], m_sensor}) {
        p->setMarkers(&m_markers, first && !p->isHidden());
        first = first && p->isHidden();
    }
    // Once the charts have laid out their new labels.
    if (!m_aligning) {
        m_aligning = true;
        QTimer::singleShot(0, this, &TrendWindow::alignPlots);
    }
    updateScrollBar();
}

void TrendWindow::alignPlots()
{
    m_aligning = false;
    const QList<TrendPlot*> all{m_channel[0], m_channel[1], m_channel[2], m_sensor, m_lines};
    // Left: where the widest value labels end. Right: where the widest legend begins; the
    // chart puts it inside the margins, so that edge does not depend on the margins set here.
    double left = 0, right = width();
    for (TrendPlot* p : all) {
        if (p->isHidden()) continue;
        left = qMax(left, double(p->labelSpace()));
        right = qMin(right, p->chart()->plotArea().right() + p->chart()->margins().right() - 6);
    }
    for (TrendPlot* p : all)
        if (!p->isHidden()) p->alignPlotArea(left, right);
}

void TrendWindow::updateScrollBar()
{
    const std::vector<TrendRow>& all = rows();
    m_updatingScroll = true;
    const qint64 first = all.empty() ? 0 : all.front().msecs;
    const qint64 last = all.empty() ? 0 : all.back().msecs;
    m_ui->sbTime->setRange(int(qMin(m_span, last - first) / 1000), int((last - first) / 1000));
    m_ui->sbTime->setPageStep(int(m_span / 1000));
    m_ui->sbTime->setValue(int((viewEnd() - first) / 1000));
    m_updatingScroll = false;
}

void TrendWindow::setCursorAt(qint64 msecs)
{
    m_cursor = msecs;
    for (TrendPlot* p : {m_channel[0], m_channel[1], m_channel[2], m_sensor, m_lines})
        p->setCursor(msecs);
    m_ui->lbCursor->setText(cursorText(msecs));
}

QString TrendWindow::cursorText(qint64 msecs) const
{
    const std::vector<TrendRow>& all = rows();
    const auto end = std::upper_bound(all.begin(), all.end(), msecs,
                                      [](qint64 t, const TrendRow& r) { return t < r.msecs; });
    // The last value read up to the cursor, each on its own.
    const TrendRow* words[4] = {};
    const TrendRow* channel[TrendChannels] = {};
    for (auto it = end; it != all.begin();) {
        --it;
        if (!words[0] && it->sensor >= 0) words[0] = &*it;
        if (!words[1] && it->input >= 0) words[1] = &*it;
        if (!words[2] && it->output >= 0) words[2] = &*it;
        for (int k = 0; k < TrendChannels; ++k)
            if (!channel[k] && it->channels[k].read) channel[k] = &*it;
        if (words[0] && words[1] && words[2] && channel[0] && channel[1] && channel[2]) break;
        if (end - it > 20000) break; // far enough back for any poll
    }
    QStringList parts{
        QDateTime::fromMSecsSinceEpoch(msecs).toString(QStringLiteral("HH:mm:ss.zzz"))};
    const QLocale locale;
    for (int k = 0; k < TrendChannels; ++k)
        if (channel[k]) {
            // As the file has it; two decimals, as the analog page, where the scale was unknown.
            const ChannelSample& c = channel[k]->channels[k];
            parts << QStringLiteral("%1: %2 %3")
                         .arg(channels()[k].name,
                              locale.toString(c.phys, 'f', c.decimals < 0 ? 2 : c.decimals),
                              channels()[k].unit);
        }
    if (words[0])
        parts
            << tr73own("Schwingung: %1 mm/s").arg(locale.toString(words[0]->sensor * 0.05, 'f', 2));
    if (words[1]) parts << QStringLiteral("E: %1").arg(bits(words[1]->input));
    if (words[2])
        parts << QStringLiteral("A: %1").arg(bits(words[2]->output))
              << tr73own("Ergebnis: %1").arg(words[2]->result);
    return parts.join(QStringLiteral("   "));
}

void TrendWindow::error(const QString& text)
{
    showMessage({this, text, tr73own("Trend"), MsgIcon::Error, MsgButtons::Ok});
}

void TrendWindow::recordClicked(bool on)
{
    if (!on) {
        m_recorder.stop();
        return;
    }
    QString why;
    if (!m_recorder.start(RecorderSettings::fromConfig(), m_liveInfo, why)) {
        m_ui->btRecord->setChecked(false);
        error(why);
    }
}

void TrendWindow::askOpen()
{
    const QString path = showOpenDialog({this,
                                         tr73own("Aufzeichnung öffnen"),
                                         QStringLiteral("Log"),
                                         {},
                                         QStringLiteral("csv"),
                                         tr73own("CSV-Dateien (*.csv)")});
    if (!path.isEmpty()) openFile(path);
}

bool TrendWindow::savePicture(const QString& path)
{
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QString reason;
    if (m_ui->pnPlots->grab().save(&png, "PNG") && writeFileAtomically(path, png.data(), &reason))
        return true;
    error(tr73own("Das Bild kann nicht als %1 gespeichert werden: %2")
              .arg(QDir::toNativeSeparators(path), reason));
    return false;
}

bool TrendWindow::saveSpan(const QString& path)
{
    const qint64 to = viewEnd();
    const qint64 from = to - m_span;
    const CsvFormat format = RecorderSettings::fromConfig().format;
    QString text = csvHeader(channels(), format);
    for (const TrendRow& r : rows())
        if (r.msecs >= from && r.msecs <= to) text += csvLine(r, format);
    QString reason;
    if (writeFileAtomically(path, text.toUtf8(), &reason)) return true;
    error(tr73own("Der Ausschnitt kann nicht als %1 gespeichert werden: %2")
              .arg(QDir::toNativeSeparators(path), reason));
    return false;
}

void TrendWindow::askSavePicture()
{
    const QString path = showSaveDialog({this, tr73own("Bild speichern"), QStringLiteral("Log"),
                                         QStringLiteral("trend.png"), QStringLiteral("png"),
                                         tr73own("PNG-Bilder (*.png)")});
    if (!path.isEmpty()) savePicture(path);
}

void TrendWindow::askSaveSpan()
{
    const QString path =
        showSaveDialog({this, tr73own("Ausschnitt speichern"), QStringLiteral("Log"),
                        QStringLiteral("trend-ausschnitt.csv"), QStringLiteral("csv"),
                        tr73own("CSV-Dateien (*.csv)")});
    if (!path.isEmpty()) saveSpan(path);
}

void TrendWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    redraw();
}

void TrendWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    redraw();
}

} // namespace r73
