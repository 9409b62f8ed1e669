#pragma once
/// The service record of the main window: the service report (PDF or printer), the archive
/// that records every connect, logbook save and report (and, through recordVisit, any other
/// visit such as a backup) and every change written to a controller, its window, and the history
/// list as CSV.

#include "ArchiveWindow.h"
#include "Recorder.h"
#include "Restore.h"
#include "ServiceReport.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class TForm1;
class TFileForm;

namespace r73 {

class ServiceRecord : public QObject
{
    Q_OBJECT
public:
    ServiceRecord(TForm1& window, TFileForm& logbook, QObject* parent = nullptr);
    ~ServiceRecord() override;

    /// "Servicebericht": the technician's name (asked once), the remarks, then PDF or printer.
    void makeReport();
    /// Writes the report with these remarks to path and records it; false after a message.
    bool saveReport(const QString& path, const QString& remarks);
    /// The technician of this session's reports and visits in place of the configured one;
    /// not written to the configuration file.
    void setTechnician(const QString& name) { m_technician = name; }
    /// Prints the report with these remarks through the print dialog.
    bool printReport(const QString& remarks);
    /// "Archiv": the window of the archive, on the connected controller.
    void showArchive();
    /// The history list of the page "LOGBUCH" as CSV into path; false after a message.
    bool exportHistory(const QString& path);
    /// Asks for a file, then exportHistory.
    void exportHistoryAsked();

    /// Adds files made after a visit to it, whatever the session has come to since: they belong
    /// to what was done then.
    using AddFiles = std::function<void(const QStringList& files)>;
    /// Records a visit of the connected controller (serial number, BIOS version and the
    /// service counters as the window shows them) with the files it produced. Returns at once,
    /// with what adds the files made later (a restore's verification report); empty when no
    /// visit is made.
    AddFiles recordVisit(const char* kind, const QStringList& files = {});

    /// Records writes to the connected controller (serial, BIOS, technician filled in); none
    /// in a demonstration or without an archive. Returns at once.
    void recordChanges(QList<archive::Change> changes);
    /// A restore's writes: each with the controller's value before it and the one read back.
    void recordRestore(const QString& file, const backup::Plan& plan,
                       const backup::Outcome& outcome);
    /// Sets saved permanently, from a page or after a restore of file.
    void recordSaves(const QList<SetId>& sets, const QString& file = {});

    /// Whom this session's reports are for; the report dialog asks, proposing the last values
    /// the archive holds for the controller.
    void setCustomer(const report::Customer& customer) { m_customer = customer; }
    report::Customer customer() const { return m_customer; }
    /// The report of the window with technician, customer, remarks, and what this session wrote
    /// and replaced.
    report::ServiceReport currentReport(const QString& remarks) const;

    /// The recorder; null when the archive's settings could not be used.
    archive::Recorder* recorder() const { return m_recorder.get(); }
    archive::ArchiveWindow* archiveWindow() const { return m_archiveWindow; }

private:
    void problem(const QString& message);
    bool technicianKnown();
    QString technician() const;
    void refreshPages();
    /// A send from a page, as the model learnt it.
    void pageWrite(const QString& key, const std::optional<backup::Value>& before,
                   const backup::Value& after);
    QString currentPage() const;
    /// The customer of the controller's last report in the archive, once per controller.
    void proposeCustomer();
    /// The configured logo into the report; one that is no image is said and left out.
    void addLogo(report::ServiceReport& r);

    TForm1& m_window;
    std::unique_ptr<archive::Recorder> m_recorder;
    QPointer<archive::ArchiveWindow> m_archiveWindow;
    QString m_settingsProblem;
    QString m_technician;
    report::Customer m_customer;
    QString m_customerOf;                    ///< the serial whose last customer was proposed
    QList<archive::Change> m_sessionChanges; ///< oldest first
    report::Table m_replacement;
    QMap<QString, archive::Change> m_lastChanges; ///< by setting, the newest
};

} // namespace r73
