#pragma once
/// The model's values as the window's fields show them, for the documents that state them
/// (report, logbook): each empty while the model does not know it.

#include "ControllerModel.h"

namespace r73::model {

/// A setting as its field shows it; the vibration threshold in mm/s with the decimal
/// separator of the system's locale, as its page writes it.
QString fieldText(const ControllerModel& model, const QString& key);

/// A service value (key of serviceDefs()) by its rule, as the service page shows it.
QString serviceText(const LiveReadings& live, const QString& key);

/// The vibration gauge's position, 0..200, from the latest sensor read.
int sensorGauge(const LiveReadings& live);

/// The vibration as the service page shows it beside its values, in mm/s; empty before the
/// first service read.
QString vibrationText(const LiveReadings& live);

/// A channel's texts in the order and with the captions its page lists them: the unit, range
/// top and bottom, and the limits Max2, Max1, Min1, Min2 (item: the key after "channelN.").
struct ChannelTextItem
{
    const char* caption;
    const char* item;
};
inline constexpr ChannelTextItem ChannelTextItems[] = {{"physikalische Einheit", "unit"},
                                                       {"Maximum", "maximum"},
                                                       {"Minimum", "minimum"},
                                                       {"Max2", "max2"},
                                                       {"Max1", "max1"},
                                                       {"Min1", "min1"},
                                                       {"Min2", "min2"}};

/// "3.14" for "3.14.0", as the window shows the program's version.
QString shownProgramVersion(const ControllerModel& model);

/// The serial number and the BIOS version as the connection panel shows them; empty outside a
/// session.
QString shownSerial(const ControllerModel& model);
QString shownBios(const ControllerModel& model);

} // namespace r73::model
