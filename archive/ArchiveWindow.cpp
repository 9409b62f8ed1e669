#include "ArchiveWindow.h"

#include "ChangesView.h"

#include "MessageFacade.h"
#include "SafeFile.h"
#include "TextHook.h"
#include "Translate.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace r73::archive {

namespace {} // namespace

/// One counter of one controller from visit to visit, as a line with its points.
class CounterChart : public QWidget
{
public:
    explicit CounterChart(QWidget* parent) : QWidget(parent) { setMinimumHeight(120); }

    void setValues(QList<QPair<QDateTime, double>> values)
    {
        m_values = std::move(values);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), palette().base());
        const QRectF area = QRectF(rect()).adjusted(56, 10, -12, -22);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(area);
        if (m_values.isEmpty()) {
            p.drawText(area, Qt::AlignCenter, tr73own("Keine Werte"));
            return;
        }
        double low = m_values.first().second, high = low;
        for (const auto& v : m_values) {
            low = std::min(low, v.second);
            high = std::max(high, v.second);
        }
        if (high == low) high = low + 1;
        const auto point = [&](qsizetype i) {
            const double x = m_values.size() == 1
                                 ? area.center().x()
                                 : area.left() + area.width() * double(i) / (m_values.size() - 1);
            return QPointF(x, area.bottom() -
                                  area.height() * (m_values[i].second - low) / (high - low));
        };
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRectF(0, area.top() - 6, 52, 14), Qt::AlignRight,
                   QString::number(high, 'g', 6));
        p.drawText(QRectF(0, area.bottom() - 8, 52, 14), Qt::AlignRight,
                   QString::number(low, 'g', 6));
        p.drawText(QRectF(area.left(), area.bottom() + 4, area.width(), 16), Qt::AlignLeft,
                   shownTime(m_values.first().first));
        p.drawText(QRectF(area.left(), area.bottom() + 4, area.width(), 16), Qt::AlignRight,
                   shownTime(m_values.last().first));
        QPainterPath path(point(0));
        for (qsizetype i = 1; i < m_values.size(); ++i)
            path.lineTo(point(i));
        p.setPen(QPen(QColor(0x3b, 0x7d, 0xd8), 2));
        p.drawPath(path);
        p.setBrush(QColor(0x3b, 0x7d, 0xd8));
        for (qsizetype i = 0; i < m_values.size(); ++i)
            p.drawEllipse(point(i), 3, 3);
    }

private:
    QList<QPair<QDateTime, double>> m_values;
};

QString shownTime(const QDateTime& at)
{
    const QLocale locale = LanguageLocale();
    return locale.toString(at.toLocalTime(), fullYearFormat(locale));
}

ArchiveWindow::ArchiveWindow(const Location& where, const QString& filesRoot, QWidget* parent)
    : QDialog(parent), m_filesRoot(filesRoot)
{
    setObjectName(QStringLiteral("frmArchiv"));
    setWindowTitle(tr73own("Archiv"));
    resize(960, 560); // the changes list whole, from the date to the technician
    m_controllers = new QTreeWidget(this);
    m_controllers->setHeaderLabels({tr73own("Ser. Nr."), tr73own("Zuletzt gesehen"),
                                    QStringLiteral("BIOS"), tr73own("Besuche")});
    m_controllers->setRootIsDecorated(false);
    m_visits = new QTreeWidget;
    m_visits->setHeaderLabels({tr73own("Datum"), tr73own("Art"), QStringLiteral("BIOS"),
                               tr73own("Techniker"), tr73own("Dateien")});
    m_visits->setRootIsDecorated(false);
    m_files = new QListWidget(this);
    m_counter = new QComboBox(this);
    for (const CounterDef& d : counterDefs())
        m_counter->addItem(tr73own(QString::fromUtf8(d.caption)), QString::fromLatin1(d.key));
    m_chart = new CounterChart(this);
    m_open = new QPushButton(tr73own("Öffnen"), this);
    m_print = new QPushButton(tr73own("Drucken"), this);
    auto* csv = new QPushButton(tr73own("CSV exportieren"), this);
    auto* close = new QPushButton(tr73own("Schliessen"), this);

    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(m_open);
    fileButtons->addWidget(m_print);
    fileButtons->addStretch();
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    // The visits, and beside them every write to the controller.
    m_changes = new ChangesView(right);
    m_pane = new QTabWidget(right);
    m_pane->addTab(m_visits, tr73own("Besuche"));
    m_pane->addTab(m_changes, tr73own("Änderungen"));
    rightLayout->addWidget(m_pane, 3);
    rightLayout->addWidget(new QLabel(tr73own("Dateien des Besuchs"), right));
    rightLayout->addWidget(m_files, 1);
    rightLayout->addLayout(fileButtons);
    auto* split = new QSplitter(this);
    split->addWidget(m_controllers);
    split->addWidget(right);
    split->setSizes({305, 655});
    auto* chartHead = new QHBoxLayout;
    chartHead->addWidget(new QLabel(tr73own("Zähler von Besuch zu Besuch:"), this));
    chartHead->addWidget(m_counter, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(where.describe(), this), 1);
    bottom->addWidget(csv);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 3);
    layout->addLayout(chartHead);
    layout->addWidget(m_chart, 1);
    layout->addLayout(bottom);

    connect(m_controllers, &QTreeWidget::itemSelectionChanged, this,
            &ArchiveWindow::controllerChosen);
    connect(m_visits, &QTreeWidget::itemSelectionChanged, this, &ArchiveWindow::visitChosen);
    connect(m_counter, &QComboBox::currentIndexChanged, this, &ArchiveWindow::counterChosen);
    connect(m_files, &QListWidget::itemDoubleClicked, this, &ArchiveWindow::openFile);
    connect(m_open, &QPushButton::clicked, this, &ArchiveWindow::openFile);
    connect(m_print, &QPushButton::clicked, this, &ArchiveWindow::printFile);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(csv, &QPushButton::clicked, this, [this] {
        if (const QString path = askCsvPath(tr73own("_zaehler.csv")); !path.isEmpty())
            exportCounters(path);
    });

    connect(m_changes, &ChangesView::exportAsked, this, [this] {
        if (const QString path = askCsvPath(tr73own("_aenderungen.csv")); !path.isEmpty())
            writeCsv(path, changesCsv(m_changes->shown()));
    });

    QString error;
    if (!m_archive.open(where, &error)) {
        complain(error);
        return;
    }
    reload();
}

ArchiveWindow::~ArchiveWindow() = default;

QString ArchiveWindow::askCsvPath(const QString& ending)
{
    if (m_serial.isEmpty()) return {};
    return showSaveDialog({this, tr73own("CSV exportieren"),
                           controllerFolder(m_filesRoot, m_serial), m_serial + ending,
                           QStringLiteral("csv"), QStringLiteral("CSV (*.csv)")});
}

void ArchiveWindow::complain(const QString& text)
{
    showMessage({this, text, tr73own("Archiv"), MsgIcon::Error, MsgButtons::Ok});
}

void ArchiveWindow::reload()
{
    QString error;
    const QList<ControllerRow> rows = m_archive.controllers(&error);
    if (!error.isEmpty()) complain(error);
    m_controllers->clear();
    for (const ControllerRow& r : rows)
        m_controllers->addTopLevelItem(new QTreeWidgetItem(
            {r.serial, shownTime(r.lastSeen), r.bios, QString::number(r.visits)}));
    for (int c = 0; c < m_controllers->columnCount(); ++c)
        m_controllers->resizeColumnToContents(c);
    if (m_controllers->topLevelItemCount() > 0)
        m_controllers->setCurrentItem(m_controllers->topLevelItem(0));
}

void ArchiveWindow::showController(const QString& serial)
{
    const QList<QTreeWidgetItem*> found = m_controllers->findItems(serial, Qt::MatchExactly);
    if (!found.isEmpty()) m_controllers->setCurrentItem(found.first());
}

void ArchiveWindow::controllerChosen()
{
    const QTreeWidgetItem* item = m_controllers->currentItem();
    m_serial = item ? item->text(0) : QString();
    QString error;
    m_visitData = m_serial.isEmpty() ? QList<Visit>() : m_archive.visits(m_serial, &error);
    if (!error.isEmpty()) complain(error);
    m_visits->clear();
    // Newest on top, as in the history list.
    for (qsizetype i = m_visitData.size() - 1; i >= 0; --i) {
        const Visit& v = m_visitData[i];
        auto* row = new QTreeWidgetItem({shownTime(v.at), kindName(v.kind), v.bios, v.technician,
                                         QString::number(v.files.size())});
        row->setData(0, Qt::UserRole, int(i));
        m_visits->addTopLevelItem(row);
    }
    for (int c = 0; c < m_visits->columnCount(); ++c)
        m_visits->resizeColumnToContents(c);
    m_files->clear();
    counterChosen();
    m_changes->setChanges(m_serial.isEmpty() ? QList<Change>()
                                             : m_archive.changes(m_serial, &error));
    if (!error.isEmpty()) complain(error);
}

void ArchiveWindow::visitChosen()
{
    m_files->clear();
    const QTreeWidgetItem* item = m_visits->currentItem();
    if (!item) return;
    const Visit& v = m_visitData[item->data(0, Qt::UserRole).toInt()];
    const QDir folder(controllerFolder(m_filesRoot, v.serial));
    for (const QString& name : v.files) {
        auto* file = new QListWidgetItem(name, m_files);
        file->setData(Qt::UserRole, folder.filePath(name));
        if (!QFile::exists(folder.filePath(name))) {
            file->setText(name + QStringLiteral(" — ") + tr73own("fehlt"));
            file->setForeground(Qt::gray);
        }
    }
    if (m_files->count() > 0) m_files->setCurrentRow(0);
}

void ArchiveWindow::counterChosen()
{
    const QString key = m_counter->currentData().toString();
    QList<QPair<QDateTime, double>> values;
    for (const Visit& v : m_visitData)
        for (const auto& [name, value] : v.counters)
            if (name == key) values.append({v.at, value});
    m_chart->setValues(values);
}

QString ArchiveWindow::chosenFilePath() const
{
    const QListWidgetItem* item = m_files->currentItem();
    if (!item) return {};
    const QString path = item->data(Qt::UserRole).toString();
    if (QFile::exists(path)) return path;
    const_cast<ArchiveWindow*>(this)->complain(
        tr73own("Die Datei %1 fehlt im Archiv; sie wurde wohl von Hand gelöscht.")
            .arg(QDir::toNativeSeparators(path)));
    return {};
}

void ArchiveWindow::openFile()
{
    const QString path = chosenFilePath();
    if (path.isEmpty()) return;
    // Without a viewer the desktop only tells standard error.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        complain(tr73own("Kein Programm zum Öffnen von %1 gefunden; bitte einen PDF- bzw. "
                         "Textbetrachter installieren.")
                     .arg(QDir::toNativeSeparators(path)));
}

void ArchiveWindow::printFile()
{
    const QString path = chosenFilePath();
    if (path.isEmpty()) return;
    // The system's print queue takes the PDF reports and the text logbooks alike.
    const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (lp.isEmpty() || !QProcess::startDetached(lp, {path}))
        complain(tr73own("Kein Druckbefehl (lp) gefunden; bitte die Datei öffnen und von dort "
                         "drucken."));
}

bool ArchiveWindow::exportCounters(const QString& path)
{
    return writeCsv(path, countersCsv(m_visitData));
}

bool ArchiveWindow::writeCsv(const QString& path, const QString& csv)
{
    QString reason;
    if (writeFileAtomically(path, csv.toUtf8(), &reason)) return true;
    complain(tr73own("Datei %1 kann nicht gespeichert werden: %2")
                 .arg(QDir::toNativeSeparators(path), reason));
    return false;
}

} // namespace r73::archive
