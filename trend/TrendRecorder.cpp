#include "TrendRecorder.h"

#include "NorloIni.h"
#include "ProfileFile.h"
#include "TextHook.h"
#include "TrendFeed.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace r73 {

RecorderSettings RecorderSettings::fromConfig()
{
    RecorderSettings s;
    ProfileFile ini(configFilePath());
    const QString section = QStringLiteral("Trend");
    const int locale = ini.readInteger(section, QStringLiteral("LocaleDecimal"), 0);
    const int limitMb = ini.readInteger(section, QStringLiteral("FileLimitMB"), 20);
    ini.writeInteger(section, QStringLiteral("LocaleDecimal"), locale);
    ini.writeInteger(section, QStringLiteral("FileLimitMB"), limitMb);
    if (locale) s.format = CsvFormat::localeDecimal();
    s.fileLimit = qint64(qBound(1, limitMb, 2000)) * 1024 * 1024;
    return s;
}

TrendRecorder::TrendRecorder(TrendFeed* feed, QObject* parent) : QObject(parent)
{
    m_flushTimer.setInterval(1000);
    connect(&m_flushTimer, &QTimer::timeout, this, [this] { flush(); });
    if (feed) {
        connect(feed, &TrendFeed::rowReady, this, [this](const TrendRow& row) {
            if (recording()) write(row);
        });
        connect(feed, &TrendFeed::channelsChanged, this, &TrendRecorder::setChannels);
    }
}

TrendRecorder::~TrendRecorder()
{
    stop();
}

bool TrendRecorder::start(const RecorderSettings& settings, const ChannelInfos& channels,
                          QString& error)
{
    QDir dir;
    if (!dir.mkpath(settings.folder)) {
        error = tr73own(QStringLiteral("Der Ordner %1 kann nicht angelegt werden."))
                    .arg(QDir::toNativeSeparators(settings.folder));
        return false;
    }
    m_settings = settings;
    m_base = QDir(settings.folder)
                 .filePath(QDateTime::currentDateTime().toString(
                     QStringLiteral("'trend_'yyyy-MM-dd_HH-mm-ss")));
    return startFile(nextName(), settings, channels, error);
}

bool TrendRecorder::startFile(const QString& path, const RecorderSettings& settings,
                              const ChannelInfos& channels, QString& error, GrowingFile::Mode mode)
{
    stop();
    m_settings = settings;
    m_channels = channels;
    m_files.clear();
    if (m_base.isEmpty() || !path.startsWith(m_base))
        m_base = path.chopped(path.endsWith(QStringLiteral(".csv")) ? 4 : 0);
    if (!open(path, mode, error)) return false;
    m_flushTimer.start();
    emit recordingChanged(true);
    return true;
}

QString TrendRecorder::nextName() const
{
    QString name = m_base + QStringLiteral(".csv");
    for (int n = 2; QFileInfo::exists(name) || m_files.contains(name); ++n)
        name = m_base + QStringLiteral("-%1.csv").arg(n);
    return name;
}

bool TrendRecorder::open(const QString& path, GrowingFile::Mode mode, QString& error)
{
    m_pending.clear();
    bool ok = m_file.open(path, mode);
    // Appending to rows already there: their header stands.
    const bool header = mode != GrowingFile::Mode::Append || QFileInfo(path).size() == 0;
    const QByteArray bytes =
        header ? csvHeader(m_channels, m_settings.format).toUtf8() : QByteArray();
    ok = ok && m_file.write(bytes);
    if (!ok) {
        error = tr73own(QStringLiteral("Die Aufzeichnung kann nicht in %1 geschrieben werden: %2"))
                    .arg(QDir::toNativeSeparators(path), m_file.reason());
        m_file.close();
        return false;
    }
    m_files << path;
    m_size = bytes.size();
    m_rowsInFile = 0;
    m_sinceFlush.start();
    return true;
}

void TrendRecorder::stop()
{
    if (!m_file.isOpen()) return;
    if (!flush()) return; // stopped and told why
    m_file.close();
    m_flushTimer.stop();
    emit recordingChanged(false);
}

bool TrendRecorder::rotate()
{
    if (!flush()) return false;
    m_file.close();
    QString error;
    if (open(nextName(), GrowingFile::Mode::New, error)) return true;
    fail(error);
    return false;
}

void TrendRecorder::setChannels(const ChannelInfos& channels)
{
    if (channels == m_channels) return;
    m_channels = channels;
    if (recording() && m_rowsInFile > 0)
        rotate();
    else if (recording()) {
        // Nothing recorded under the old header yet: the file starts over with the new one.
        const QString path = m_file.path();
        m_files.removeAll(path);
        m_file.close();
        QString error;
        if (!open(path, GrowingFile::Mode::Truncate, error)) fail(error);
    }
}

bool TrendRecorder::write(const TrendRow& row)
{
    if (!recording()) return false;
    const QByteArray line = csvLine(row, m_settings.format).toUtf8();
    if (m_rowsInFile > 0 && m_size + line.size() > m_settings.fileLimit && !rotate()) return false;
    m_pending += line;
    m_size += line.size();
    ++m_rowsInFile;
    return m_sinceFlush.elapsed() < 1000 || flush();
}

bool TrendRecorder::flush()
{
    if (!m_file.isOpen()) return true;
    m_sinceFlush.restart();
    if (m_file.write(m_pending)) {
        m_pending.clear();
        return true;
    }
    fail(m_file.reason());
    return false;
}

void TrendRecorder::fail(const QString& why)
{
    const QString path = QDir::toNativeSeparators(m_file.path());
    m_pending.clear();
    m_file.close();
    m_flushTimer.stop();
    emit recordingChanged(false);
    emit failed(tr73own(QStringLiteral("Die Aufzeichnung wurde beendet: %1 kann nicht geschrieben "
                                       "werden (%2). Das bisher Aufgezeichnete bleibt erhalten."))
                    .arg(path, why));
}

} // namespace r73
