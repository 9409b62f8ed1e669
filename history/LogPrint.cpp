#include "LogPrint.h"

#include "MessageFacade.h"

#include <QFontDatabase>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace r73 {

namespace {

/// The logbook lines up its columns with tabs; on paper they become blanks to the next multiple
/// of eight columns, as a plain-text printout has them.
QString expandTabs(const QString& line)
{
    constexpr int TabWidth = 8;
    QString out;
    for (QChar c : line) {
        if (c == u'\t')
            out += QString(TabWidth - out.size() % TabWidth, u' ');
        else
            out += c;
    }
    return out;
}

} // namespace

bool runPrintDialog(QWidget* owner, QPrinter& printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (const PrintDialogHandler& handler = printDialogHandler()) return handler(owner, printer);
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

bool printLines(QPrinter& printer, const QStringList& lines)
{
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    painter.setFont(font);
    const QRect page = painter.viewport();
    const int height = painter.fontMetrics().lineSpacing();
    int y = 0;
    for (const QString& line : lines) {
        if (y + height > page.height()) {
            if (!printer.newPage()) {
                painter.end();
                return false;
            }
            y = 0;
        }
        painter.drawText(QRect(0, y, page.width(), height), Qt::TextSingleLine, expandTabs(line));
        y += height;
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace r73
