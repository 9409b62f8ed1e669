#pragma once
/// Records the trend's rows to CSV files as they arrive: a file per session in the folder
/// "Log", a new one when a file reaches its size limit or a channel's name or unit changes (so
/// every header is right for its rows). The file is flushed at most a second after a row, so a
/// crash or a pulled cable loses at most that second. Every write is checked: a failed one (a
/// full disk) stops the recording with its reason in words; what was written stays.

#include "SafeFile.h"
#include "TrendCsv.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace r73 {

class TrendFeed;

struct RecorderSettings
{
    QString folder = QStringLiteral("Log");
    qint64 fileLimit = 20 * 1024 * 1024; ///< bytes; the file that would pass it is closed
    CsvFormat format;
    /// Section "Trend" of the configuration file: "LocaleDecimal" (0: point and comma, 1: the
    /// locale's decimal separator) and "FileLimitMB" (20), written back.
    static RecorderSettings fromConfig();
};

class TrendRecorder : public QObject
{
    Q_OBJECT
public:
    /// Rows come from the feed once started; without a feed, through write().
    explicit TrendRecorder(TrendFeed* feed = nullptr, QObject* parent = nullptr);
    ~TrendRecorder() override;

    /// Opens the session's first file; false with the reason when it cannot be made.
    bool start(const RecorderSettings& settings, const ChannelInfos& channels, QString& error);
    /// Opens exactly this file as the session's first (named files rotate to "-2", "-3", ...).
    /// An existing file is refused (Mode::New), never emptied, unless mode says otherwise;
    /// Mode::Append adds rows and writes the header only into an empty file.
    bool startFile(const QString& path, const RecorderSettings& settings,
                   const ChannelInfos& channels, QString& error,
                   GrowingFile::Mode mode = GrowingFile::Mode::New);
    void stop();
    bool recording() const { return m_file.isOpen(); }
    /// The file being written, or the last one.
    QString fileName() const { return m_file.path(); }
    /// Files of this session so far.
    const QStringList& files() const { return m_files; }

    /// Writes one row (the feed's rows come here); false after a failed write.
    bool write(const TrendRow& row);
    /// Starts a new file when the channels' names or units changed.
    void setChannels(const ChannelInfos& channels);

signals:
    /// Writing failed and the recording stopped; the text says why.
    void failed(const QString& message);
    void recordingChanged(bool on);

private:
    bool open(const QString& path, GrowingFile::Mode mode, QString& error);
    bool rotate();
    bool flush();
    void fail(const QString& why);
    QString nextName() const;

    RecorderSettings m_settings;
    ChannelInfos m_channels;
    GrowingFile m_file;
    QByteArray m_pending; ///< rows not yet handed to the system, at most a second's
    QString m_base;       ///< path of the session's first file without ".csv"
    QStringList m_files;
    qint64 m_size = 0;
    qint64 m_rowsInFile = 0;
    QElapsedTimer m_sinceFlush;
    QTimer m_flushTimer;
};

} // namespace r73
