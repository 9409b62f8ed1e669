#include "ControllerModel.h"

namespace r73::model {

void ControllerModel::begin(backup::Identity id, const QString& programVersion, bool demonstration)
{
    forget();
    m_inSession = true;
    m_id = id;
    m_programVersion = programVersion;
    m_demonstration = demonstration;
    emit sessionChanged();
}

void ControllerModel::end()
{
    forget();
    emit sessionChanged();
}

void ControllerModel::forget()
{
    m_inSession = false;
    m_id = {};
    m_demonstration = false;
    m_settings.clear();
    m_unsaved.clear();
    m_live = {};
    m_channels = {};
    m_history.clear();
}

void ControllerModel::settingRead(const QString& key, const backup::Value& value)
{
    m_settings.insert(key, {value, readOrigin(), QDateTime::currentDateTime()});
    emit settingChanged(key);
}

void ControllerModel::settingSent(const QString& key, const backup::Value& readBack)
{
    const auto known = m_settings.constFind(key);
    const std::optional<backup::Value> before =
        known == m_settings.cend() ? std::nullopt : std::optional(known->value);
    m_settings.insert(key,
                      {readBack, m_demonstration ? Origin::Demonstration : Origin::SentAndReadBack,
                       QDateTime::currentDateTime()});
    // The channels keep what they are sent at once; only the sets wait for their save.
    const backup::Setting* s = backup::settingOf(key);
    if (s && s->savedWith) m_unsaved.insert(key);
    emit settingChanged(key);
    emit settingWritten(key, before, readBack);
}

void ControllerModel::snapshotRead(const backup::Snapshot& snapshot)
{
    for (auto it = snapshot.values.begin(); it != snapshot.values.end(); ++it)
        settingRead(it.key(), it.value());
    if (snapshot.service) serviceRead(*snapshot.service);
}

void ControllerModel::setSaved(SetId set)
{
    for (auto it = m_unsaved.begin(); it != m_unsaved.end();) {
        const backup::Setting* s = backup::settingOf(*it);
        if (s && s->savedWith == set)
            it = m_unsaved.erase(it);
        else
            ++it;
    }
    emit setMadePermanent(set);
}

std::optional<Known> ControllerModel::setting(const QString& key) const
{
    const auto it = m_settings.constFind(key);
    if (it == m_settings.constEnd()) return std::nullopt;
    return *it;
}

backup::Snapshot ControllerModel::snapshot() const
{
    backup::Snapshot s;
    s.id = m_id;
    s.programVersion = m_programVersion;
    s.created = QDateTime::currentDateTime();
    for (auto it = m_settings.begin(); it != m_settings.end(); ++it)
        s.values.insert(it.key(), it->value);
    s.service = m_live.service;
    return s;
}

template <class T>
void ControllerModel::liveRead(std::optional<T> LiveReadings::*field, const T& value)
{
    m_live.*field = value;
    m_live.when = QDateTime::currentDateTime();
    emit liveChanged();
}

void ControllerModel::sensorRead(quint16 sensor)
{
    liveRead(&LiveReadings::sensor, sensor);
}

void ControllerModel::inputRead(quint16 word)
{
    liveRead(&LiveReadings::inputWord, word);
}

void ControllerModel::outputRead(quint16 word)
{
    liveRead(&LiveReadings::outputWord, word);
}

void ControllerModel::statusRead(quint16 word)
{
    liveRead(&LiveReadings::statusWord, word);
}

void ControllerModel::serviceRead(const ServiceWords& words)
{
    liveRead(&LiveReadings::service, words);
}

void ControllerModel::channelRead(int channel, const ChannelLive& reading)
{
    if (channel < 1 || channel > 3) return;
    m_channels[channel - 1] = reading;
    emit liveChanged();
}

std::optional<ChannelLive> ControllerModel::channelLive(int channel) const
{
    if (channel < 1 || channel > 3) return std::nullopt;
    return m_channels[channel - 1];
}

void ControllerModel::historyRead(const HistElement& element)
{
    // As the list keeps them: valid elements only, the first of a number, highest number first.
    if (element.marker != HistElement::HistoryMarker) return;
    qsizetype at = 0;
    for (; at < m_history.size(); ++at) {
        if (m_history[at].number == element.number) return;
        if (m_history[at].number < element.number) break;
    }
    m_history.insert(at, element);
    emit historyChanged();
}

void ControllerModel::historyCleared()
{
    m_history.clear();
    emit historyChanged();
}

backup::Value valueOr(const ControllerModel& model, const QString& key, backup::Value fallback)
{
    const std::optional<Known> k = model.setting(key);
    return k ? k->value : fallback;
}

} // namespace r73::model
