#pragma once
/// The backup, compare and restore of the main window (menu "Extras"): the comparison dialog,
/// the verification report (saved or printed), and the permanent save after a clean
/// verification. While one runs, the poll cycle waits and the window stays alive; in demo mode
/// they work against the demonstration values.

#include "Controller.h"
#include "Restore.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace r73 {

class PageHost;
class TParamPages;
class TAnalogPages;

class TBackupActions : public QObject
{
public:
    /// reread: shows the current page again from the controller (its set selected again).
    TBackupActions(PageHost& host, TParamPages* params, TAnalogPages* analog,
                   std::function<void()> reread, QObject* parent = nullptr);
    ~TBackupActions() override;

    void Backup();
    void Compare();
    void Restore();
    /// Adds files made after its visit was recorded to that visit.
    using AttachFiles = std::function<void(const QStringList& files)>;
    /// Told of every backup file written and every restore run (with its journal), so the
    /// service record can keep them; returns what adds a restore's verification report, saved
    /// later, to the same visit (empty when no visit was recorded).
    void setRecorder(std::function<AttachFiles(bool restore, const QStringList& files)> recorder)
    {
        m_recorder = std::move(recorder);
    }

    /// Told of a restore's writes and of the permanent save after it, for the controller's
    /// record of changes.
    struct ChangeRecorder
    {
        std::function<void(const QString& file, const backup::Plan&, const backup::Outcome&)>
            written;
        std::function<void(const QList<SetId>& sets, const QString& file)> saved;
    };
    void setChangeRecorder(ChangeRecorder recorder) { m_changes = std::move(recorder); }

    /// The demonstration values of the pages as a controller's settings.
    backup::Snapshot demoSnapshot() const;

private:
    backup::Controller& controller();
    /// Reads the controller with polling held; false after the error box when it failed.
    bool readController(backup::Snapshot& out, const QString& step);
    /// Runs f as one sequence: the poll timers wait, the status panels count the exchanges.
    void held(const QString& step, const std::function<void()>& f);
    bool chooseFile(QString& path, backup::Snapshot& file);
    /// The comparison; with restore: true when the operator chose to write.
    bool showComparison(const backup::Plan& plan, const QString& fileName, bool restore);
    bool confirmIdentity(const backup::Plan& plan);
    void showReport(backup::Controller& controller, const backup::Outcome& outcome,
                    backup::Journal& journal, const QString& fileName, const AttachFiles& attach);

    PageHost& m_host;
    TParamPages* m_params;
    TAnalogPages* m_analog;
    std::function<void()> m_reread;
    std::function<AttachFiles(bool restore, const QStringList& files)> m_recorder;
    ChangeRecorder m_changes;
    std::unique_ptr<backup::Controller> m_controller;
};

} // namespace r73
