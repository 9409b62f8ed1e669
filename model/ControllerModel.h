#pragma once
/// One controller as the program knows it: its identity, every setting as the controller's
/// word or text, the latest readings of the live poll, the channels' live values and the
/// history read, each with how and when it was obtained. The pages show it, and every document
/// and file (report, logbook, backup, archive, recorder) states what it holds, never what a
/// field shows. It learns only from the read and send sequences, through the calls below.
/// Qt Core only.

#include "HistoryReads.h"
#include "PollReads.h"
#include "Settings.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <array>
#include <optional>

namespace r73::model {

/// How a value came to be known.
enum class Origin {
    Read,            ///< read from the controller
    SentAndReadBack, ///< sent, and this is what the controller gave back
    Demonstration,   ///< a demonstration value, no controller behind it
};

/// A setting's value with its origin.
struct Known
{
    backup::Value value;
    Origin origin = Origin::Read;
    QDateTime when;
};

/// The readings of the live poll cycle; each empty until first read in the session.
struct LiveReadings
{
    std::optional<quint16> sensor; ///< 1 unit = 0.05 mm/s
    std::optional<quint16> inputWord;
    std::optional<quint16> outputWord;
    std::optional<quint16> statusWord;
    std::optional<ServiceWords> service;
    QDateTime when; ///< of the latest of them
};

/// One channel's latest live reading.
struct ChannelLive
{
    quint16 raw = 0;
    quint16 flags = 0; ///< the limit flag word
    double phys = 0;
    QDateTime when;
};

class ControllerModel : public QObject
{
    Q_OBJECT
public:
    explicit ControllerModel(QObject* parent = nullptr) : QObject(parent) {}

    /// A session begins: everything known of an earlier controller is forgotten.
    void begin(backup::Identity id, const QString& programVersion, bool demonstration);
    /// The session ended: nothing is known any more.
    void end();
    bool inSession() const { return m_inSession; }
    backup::Identity identity() const { return m_id; }
    /// The version of this program, as files and documents name it.
    QString programVersion() const { return m_programVersion; }
    bool demonstration() const { return m_demonstration; }

    /// A setting as a read delivered it (in a demonstration: as demonstration value).
    void settingRead(const QString& key, const backup::Value& value);
    /// A setting as the controller gave it back after a send; its set counts as unsaved.
    void settingSent(const QString& key, const backup::Value& readBack);
    /// Every setting and the service values of a complete read.
    void snapshotRead(const backup::Snapshot& snapshot);
    /// The permanent save of a set: its settings are no longer unsaved.
    void setSaved(SetId set);

    std::optional<Known> setting(const QString& key) const;
    const QMap<QString, Known>& settings() const { return m_settings; }
    /// Sent since the last permanent save of its set.
    bool unsaved(const QString& key) const { return m_unsaved.contains(key); }
    /// The settings as a backup file holds them, with identity and service values.
    backup::Snapshot snapshot() const;

    void sensorRead(quint16 sensor);
    void inputRead(quint16 word);
    void outputRead(quint16 word);
    void statusRead(quint16 word);
    void serviceRead(const ServiceWords& words);
    const LiveReadings& live() const { return m_live; }

    void channelRead(int channel, const ChannelLive& reading);
    std::optional<ChannelLive> channelLive(int channel) const;

    /// An element of the history readout: a valid one with a number not yet known.
    void historyRead(const HistElement& element);
    void historyCleared();
    /// Highest number first, as the list shows them.
    const QList<HistElement>& history() const { return m_history; }

signals:
    void sessionChanged();
    void settingChanged(const QString& key);
    void liveChanged();
    void historyChanged();
    /// A send: the value known before (none when not read yet) and the one read back.
    void settingWritten(const QString& key, const std::optional<r73::backup::Value>& before,
                        const r73::backup::Value& after);
    /// A set saved permanently.
    void setMadePermanent(r73::SetId set);

private:
    /// Everything known of a controller, gone.
    void forget();
    Origin readOrigin() const { return m_demonstration ? Origin::Demonstration : Origin::Read; }
    /// One live reading, stamped, and told to the observers.
    template <class T> void liveRead(std::optional<T> LiveReadings::*field, const T& value);

    bool m_inSession = false;
    backup::Identity m_id;
    QString m_programVersion;
    bool m_demonstration = false;
    QMap<QString, Known> m_settings;
    QSet<QString> m_unsaved;
    LiveReadings m_live;
    std::array<std::optional<ChannelLive>, 3> m_channels;
    QList<HistElement> m_history;
};

/// The setting's value, or a default one when the model does not know it.
backup::Value valueOr(const ControllerModel& model, const QString& key,
                      backup::Value fallback = {});

} // namespace r73::model
