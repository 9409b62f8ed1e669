#include "ServiceReport.h"

#include "NorloIni.h"
#include "ProfileFile.h"
#include "SafeFile.h"
#include "TextHook.h"
#include "Translate.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

namespace r73::report {

namespace {

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

/// The logo's name in the document.
constexpr char LogoName[] = "r73-logo";

const char* const Grid = "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                         "style=\"border-color:#888; border-style:solid\">";

QString heading(const QString& title)
{
    // A paragraph of its own keeps the space above: a heading's margin is lost after a table
    // that ran onto a new page.
    return QStringLiteral("<p style=\"margin:0; font-size:5pt\">&nbsp;</p><h3 style=\"margin-top:"
                          "4px; margin-bottom:4px; color:#1f3f66\">%1</h3>")
        .arg(esc(title));
}

QString tableHtml(const Table& t)
{
    QString html = heading(t.title) + QLatin1String(Grid);
    const qsizetype columns = t.header.isEmpty() ? 2 : t.header.size();
    if (!t.header.isEmpty()) {
        // A table's head, repeated on each page it runs onto.
        html += QStringLiteral("<thead><tr style=\"background-color:#dde4ee\">");
        for (const QString& h : t.header)
            html += QStringLiteral("<th align=\"left\">%1</th>").arg(esc(h));
        html += QStringLiteral("</tr></thead>");
    }
    for (qsizetype r = 0; r < t.rows.size(); ++r) {
        html += r % 2 ? QStringLiteral("<tr style=\"background-color:#f4f6f9\">")
                      : QStringLiteral("<tr>");
        for (qsizetype c = 0; c < columns; ++c) {
            const QString cell = c < t.rows[r].size() ? t.rows[r][c] : QString();
            // In a caption / value table the caption is the first column, the value the rest.
            html += t.header.isEmpty() && c == 0
                        ? QStringLiteral("<td width=\"45%\">%1</td>").arg(esc(cell))
                        : QStringLiteral("<td>%1</td>").arg(esc(cell));
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString barHtml(double fraction)
{
    const int filled = qBound(0, qRound(fraction * 100), 100);
    QString cells;
    if (filled > 0)
        cells += QStringLiteral("<td width=\"%1%\" style=\"background-color:#3b7dd8\">&nbsp;</td>")
                     .arg(filled);
    if (filled < 100)
        cells += QStringLiteral("<td width=\"%1%\" style=\"background-color:#e6e9ee\">&nbsp;</td>")
                     .arg(100 - filled);
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>") +
           cells + QStringLiteral("</tr></table>");
}

QString gaugesHtml(const QList<Gauge>& gauges)
{
    if (gauges.isEmpty()) return {};
    QString html = QLatin1String(Grid);
    for (const Gauge& g : gauges)
        html += QStringLiteral("<tr><td width=\"30%\">%1</td><td width=\"15%\" align=\"right\">%2"
                               "</td><td>%3</td></tr>")
                    .arg(esc(g.caption), esc(g.value), barHtml(g.fraction));
    return html + QStringLiteral("</table>");
}

QString lampsRow(const QList<Lamp>& lamps)
{
    QString html = QStringLiteral("<tr>");
    for (const Lamp& l : lamps)
        html +=
            QStringLiteral("<td align=\"center\" style=\"background-color:%1\">%2</td>")
                .arg(l.on ? QStringLiteral("#ffff00") : QStringLiteral("#e6e9ee"), esc(l.caption));
    return html + QStringLiteral("</tr>");
}

QString identityHtml(const ServiceReport& r)
{
    const QString date = r.locale.toString(r.when, fullYearFormat(r.locale));
    const auto row = [](const QString& a, const QString& va, const QString& b, const QString& vb) {
        return QStringLiteral("<tr><td width=\"20%\"><b>%1</b></td><td width=\"30%\">%2</td>"
                              "<td width=\"20%\"><b>%3</b></td><td width=\"30%\">%4</td></tr>")
            .arg(esc(a), esc(va), esc(b), esc(vb));
    };
    return QLatin1String(Grid) +
           row(tr73own("Seriennummer"), r.serialNumber, tr73own("BIOS-Version"), r.biosVersion) +
           row(tr73own("Datum"), date, tr73own("Programmversion"), r.programVersion) +
           row(tr73own("Techniker"), r.technician, QString(), QString()) +
           (r.customer.isEmpty()
                ? QString()
                : row(tr73own("Kunde"), r.customer.customer, tr73own("Standort"), r.customer.site) +
                      row(tr73own("Maschine"), r.customer.machine, tr73own("Auftragsnummer"),
                          r.customer.order)) +
           QStringLiteral("</table>");
}

QString remarksHtml(const QString& remarks)
{
    QString body = esc(remarks.trimmed()).replace(u'\n', QStringLiteral("<br>"));
    if (body.isEmpty()) body = QStringLiteral("&nbsp;<br>&nbsp;");
    return heading(tr73own("Bemerkungen")) + QLatin1String(Grid) +
           QStringLiteral("<tr><td>%1</td></tr></table>").arg(body);
}

QString signatureHtml()
{
    const QString line = QStringLiteral("_______________________________");
    return QStringLiteral("<p>&nbsp;</p><p>&nbsp;</p><table width=\"100%\" cellpadding=\"4\"><tr>"
                          "<td width=\"50%\">%1<br>%2</td><td width=\"50%\">%1<br>%3</td>"
                          "</tr></table>")
        .arg(line, esc(tr73own("Ort, Datum, Unterschrift Techniker")),
             esc(tr73own("Ort, Datum, Unterschrift Kunde")));
}

} // namespace

QString reportHtml(const ServiceReport& r)
{
    QString html = QStringLiteral("<html><body>");
    const QString title = QStringLiteral("<h1 style=\"color:#1f3f66\">%1</h1>")
                              .arg(esc(tr73own("Servicebericht R73-Controller")));
    if (r.logo.isNull()) {
        html += title;
    } else {
        // The company's logo beside the title, at most 18 mm high at the report's resolution.
        const int height = qMin(r.logo.height(), 64);
        html += QStringLiteral("<table width=\"100%\"><tr><td>%1</td><td align=\"right\">"
                               "<img src=\"%2\" height=\"%3\"></td></tr></table>")
                    .arg(title, QLatin1String(LogoName))
                    .arg(height);
    }
    html += identityHtml(r);
    for (qsizetype i = 0; i < r.tables.size(); ++i) {
        html += tableHtml(r.tables[i]);
        if (i == r.gaugesAfter) html += gaugesHtml(r.gauges);
    }
    if (r.gaugesAfter < 0 || r.gaugesAfter >= r.tables.size()) html += gaugesHtml(r.gauges);
    if (!r.inputs.isEmpty() || !r.outputs.isEmpty()) {
        html += heading(tr73own("Eingänge und Ausgänge")) + QLatin1String(Grid) +
                lampsRow(r.inputs) + lampsRow(r.outputs) + QStringLiteral("</table>");
    }
    if (!r.replacement.rows.isEmpty()) html += tableHtml(r.replacement);
    if (!r.changes.rows.isEmpty()) html += tableHtml(r.changes);
    if (!r.history.rows.isEmpty()) html += tableHtml(r.history);
    html += remarksHtml(r.remarks) + signatureHtml();
    return html + QStringLiteral("</body></html>");
}

void renderReport(const ServiceReport& r, QPagedPaintDevice& device)
{
    QPainter painter(&device);
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    const qreal footer = QFontMetricsF(font, &device).height() * 2.5;

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&device);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    if (!r.logo.isNull())
        doc.addResource(QTextDocument::ImageResource, QUrl(QLatin1String(LogoName)), r.logo);
    doc.setHtml(reportHtml(r));
    doc.setPageSize(QSizeF(page.width(), page.height() - footer));

    const int pages = doc.pageCount();
    const qreal bodyHeight = page.height() - footer;
    const QString left = tr73own("Servicebericht") + QStringLiteral(" · ") + r.serialNumber +
                         QStringLiteral(" · ") +
                         r.locale.toString(r.when.date(), fullYearFormat(r.locale, false));
    for (int p = 0; p < pages; ++p) {
        if (p > 0) device.newPage();
        painter.save();
        painter.translate(0, -p * bodyHeight);
        doc.drawContents(&painter, QRectF(0, p * bodyHeight, page.width(), bodyHeight));
        painter.restore();
        painter.setFont(font);
        painter.setPen(QColor(0x55, 0x55, 0x55));
        const QRectF foot(0, page.height() - footer * 0.6, page.width(), footer * 0.6);
        painter.drawLine(foot.topLeft(), foot.topRight());
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, left);
        painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom,
                         tr73own("Seite %1 von %2").arg(p + 1).arg(pages));
    }
}

QImage configuredLogo(QString* problem)
{
    QString path = ProfileFile(configFilePath())
                       .readString(QStringLiteral("Servicebericht"), QStringLiteral("Logo"), {});
    const bool named = !path.isEmpty();
    if (!named) path = QDir::current().filePath(QStringLiteral("report/logo.png"));
    if (!named && !QFileInfo::exists(path)) return {};
    QImage logo;
    if (!logo.load(path) && problem)
        *problem = tr73own("Das Logo %1 ist kein lesbares Bild; der Bericht wird ohne Logo "
                           "gedruckt.")
                       .arg(QDir::toNativeSeparators(path));
    return logo;
}

QPageSize paperFor(const QLocale& locale)
{
    const bool letter = locale.measurementSystem() == QLocale::ImperialUSSystem ||
                        locale.territory() == QLocale::Canada;
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

bool writeReportPdf(const ServiceReport& r, const QString& path, QString* error)
{
    // Rendered in memory, then written as one checked file: a full disk leaves no torn PDF.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setTitle(tr73own("Servicebericht") + u' ' + r.serialNumber);
        writer.setCreator(QStringLiteral("R73 Service ") + r.programVersion);
        writer.setPageSize(paperFor(QLocale()));
        writer.setPageMargins(QMarginsF(18, 15, 15, 12), QPageLayout::Millimeter);
        renderReport(r, writer);
    }
    return writeFileAtomically(path, buffer.data(), error);
}

QString proposeReportFileName(const QString& serial, const QDate& day)
{
    return serial + u'_' + day.toString(QStringLiteral("yyyyMMdd")) +
           tr73own(QStringLiteral("_bericht.pdf"));
}

} // namespace r73::report
