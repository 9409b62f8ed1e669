#pragma once
/// The service report handed to the customer after a visit: a header with the controller's
/// identity, the technician and the date; the parameter sets, the service counters with their
/// gauges as bars, the analog channels, the last test results and the lamps, the history if it
/// was read; remarks, page numbers and a signature line. Captions arrive already in the
/// window's language; the report's own texts go through the language hook.

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

class QPageSize;
class QPagedPaintDevice;

namespace r73::report {

/// A titled table; a row shorter than the header leaves its last cells empty.
struct Table
{
    QString title;
    QStringList header; ///< empty: a two-column caption / value table without heading
    QList<QStringList> rows;
};

/// A gauge of the service page, drawn as a horizontal bar.
struct Gauge
{
    QString caption;
    QString value;   ///< as the page shows it
    double fraction; ///< bar length, 0..1
};

struct Lamp
{
    QString caption;
    bool on;
};

/// Whom the visit was for, as the technician gives it; printed in the header when given.
struct Customer
{
    QString customer;
    QString site;
    QString machine;
    QString order;
    bool isEmpty() const
    {
        return customer.isEmpty() && site.isEmpty() && machine.isEmpty() && order.isEmpty();
    }
};

struct ServiceReport
{
    QString serialNumber;
    QString biosVersion;
    QString programVersion;
    QString technician;
    Customer customer;
    QImage logo; ///< printed in the header; none when null
    QDateTime when;
    QLocale locale;       ///< writes the dates: the window's language, not only the system's
    QList<Table> tables;  ///< parameter sets, hydraulics, service counters, channels, status
    QList<Gauge> gauges;  ///< drawn right after the service counters' table
    int gaugesAfter = -1; ///< index of the table the gauges follow; -1: after all tables
    QList<Lamp> inputs;
    QList<Lamp> outputs;
    /// A controller replaced during the visit: source, file, settings written, verification;
    /// left out when it has no rows.
    Table replacement;
    Table changes; ///< the writes of the visit with before and after; left out when none
    Table history; ///< left out when it has no rows
    QString remarks;
};

/// The service company's logo: report/logo.png in the working folder, or the file named by
/// "Logo" in section [Servicebericht] of the configuration. A null image when there is none;
/// a file that is no image gives a null image and the reason in problem.
QImage configuredLogo(QString* problem);

/// The report as a rich-text document (the subset QTextDocument knows).
QString reportHtml(const ServiceReport& report);

/// Lays the report out on the device's pages with "Seite n von m" under each.
void renderReport(const ServiceReport& report, QPagedPaintDevice& device);

/// Writes the report as a PDF file in the locale's paper size. False and the reason on failure;
/// a file that could not be completed does not stay behind.
bool writeReportPdf(const ServiceReport& report, const QString& path, QString* error = nullptr);

/// Letter where the locale's country uses it, else A4.
QPageSize paperFor(const QLocale& locale);

/// "1234_20240305_bericht.pdf" style name for a report of serial on a day ("_report.pdf" in
/// English).
QString proposeReportFileName(const QString& serial, const QDate& day);

} // namespace r73::report
