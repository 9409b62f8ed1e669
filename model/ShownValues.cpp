#include "ShownValues.h"

#include "ParamFormat.h"

#include <QLocale>

namespace r73::model {

QString fieldText(const ControllerModel& model, const QString& key)
{
    const std::optional<Known> known = model.setting(key);
    const backup::Setting* s = backup::settingOf(key);
    if (!known || !s) return {};
    if (s->kind == backup::Kind::Param && s->param->conversion == ParamConversion::Threshold)
        return mmPerSecond(known->value.word, QLocale());
    return backup::shown(*s, known->value);
}

QString serviceText(const LiveReadings& live, const QString& key)
{
    const ServiceDef* d = serviceDef(key);
    if (!live.service || !d) return {};
    return QString::number(serviceNumber(*d, (*live.service).*(d->word)));
}

int sensorGauge(const LiveReadings& live)
{
    return qBound(0, int(live.sensor.value_or(0)), 200);
}

QString vibrationText(const LiveReadings& live)
{
    return live.service ? mmPerSecond(sensorGauge(live), QLocale()) : QString();
}

QString shownProgramVersion(const ControllerModel& model)
{
    return model.programVersion().section(u'.', 0, 1);
}

QString shownSerial(const ControllerModel& model)
{
    return model.inSession() ? QString::number(model.identity().serial) : QString();
}

QString shownBios(const ControllerModel& model)
{
    return model.inSession() ? backup::shownVersionText(model.identity().bios) : QString();
}

} // namespace r73::model
