#include "ChangeRecords.h"

#include "TextHook.h"

namespace r73::archive {

QList<Change> restoreChanges(const backup::Plan& plan, const backup::Outcome& outcome,
                             const QString& origin, const QString& source)
{
    QList<Change> changes;
    for (const backup::Verified& v : outcome.written) {
        Change c;
        c.origin = origin;
        c.source = source;
        c.setting = v.setting->key;
        c.caption = backup::label(*v.setting, plan.bios);
        for (const backup::PlanItem& item : plan.items)
            if (item.setting == v.setting && item.target)
                c.before = backup::shown(*v.setting, *item.target);
        if (v.readBack) c.after = backup::shown(*v.setting, *v.readBack);
        changes << c;
    }
    return changes;
}

Change saveChange(const QList<SetId>& sets, const QString& origin, const QString& source)
{
    Change c;
    c.origin = origin;
    c.source = source;
    c.setting = QLatin1String(SaveSetting);
    c.caption = tr73own("Dauerhaft gespeichert: %1").arg(backup::setNames(sets));
    return c;
}

void stamp(QList<Change>& changes, const backup::Identity& id, const QString& technician)
{
    for (Change& c : changes) {
        c.serial = QString::number(id.serial);
        c.bios = backup::versionText(id.bios);
        c.technician = technician;
    }
}

} // namespace r73::archive
