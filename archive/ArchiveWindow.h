#pragma once
/// The window "Archiv": the controllers seen (serial, last seen, BIOS, visits); for the one
/// chosen, its visits with their files (open, print), its changes, and a small chart of a service
/// counter from visit to visit; the visits' counters as CSV.

#include "Archive.h"

#include <QDialog>

class QComboBox;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace r73::archive {

class ChangesView;
class CounterChart;

class ArchiveWindow : public QDialog
{
    Q_OBJECT
public:
    /// Reads the archive at where; files lie below filesRoot.
    ArchiveWindow(const Location& where, const QString& filesRoot, QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    /// Reads the list of controllers again.
    void reload();
    /// Chooses the controller with this serial number.
    void showController(const QString& serial);
    /// The chosen controller's visits' counters as CSV into path; false after a message.
    bool exportCounters(const QString& path);
    /// Opens the chosen file with the desktop's program; a file gone says so.
    void openFile();
    void printFile();

    QTreeWidget* controllerList() const { return m_controllers; }
    QTreeWidget* visitList() const { return m_visits; }
    QListWidget* fileList() const { return m_files; }
    ChangesView* changesView() const { return m_changes; }
    QTabWidget* pane() const { return m_pane; }

private:
    void controllerChosen();
    void visitChosen();
    void counterChosen();
    QString chosenFilePath() const;
    void complain(const QString& text);
    /// The file a CSV of the chosen controller goes to, proposed as <serial><ending>; empty
    /// when none is chosen or the dialog was cancelled.
    QString askCsvPath(const QString& ending);
    /// Writes csv whole to path; false after a message.
    bool writeCsv(const QString& path, const QString& csv);

    Archive m_archive;
    QString m_filesRoot;
    QString m_serial;
    QList<Visit> m_visitData;
    QTreeWidget* m_controllers;
    QTreeWidget* m_visits;
    ChangesView* m_changes;
    QTabWidget* m_pane;
    QListWidget* m_files;
    QComboBox* m_counter;
    CounterChart* m_chart;
    QPushButton* m_open;
    QPushButton* m_print;
};

} // namespace r73::archive
