#include "HeadlessReport.h"

#include "MessageFacade.h"
#include "ProgramState.h"
#include "ProgramWindows.h"
#include "ServiceRecord.h"
#include "ServiceReport.h"
#include "ShownValues.h"
#include "Terminate.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace r73 {

HeadlessReport::HeadlessReport(Job job) : m_job(std::move(job))
{
    setMessageHandler([this](const MessageRequest& r) {
        // Later boxes follow from the first (a port that does not open is also not answered).
        if ((r.icon == MsgIcon::Error || r.icon == MsgIcon::Warning) && m_error.isEmpty())
            m_error = (r.text + u' ' + r.detail).simplified();
        return closedAnswer(r.buttons);
    });
}

int HeadlessReport::failed()
{
    if (m_error.isEmpty()) m_error = QStringLiteral("the report was not written");
    QTextStream(stderr) << "r73-service: " << m_error << Qt::endl;
    return 1;
}

int HeadlessReport::run(ProgramWindows& windows)
{
    TForm1& window = windows.mainWindow;
    if (!m_error.isEmpty() || terminateRequested()) return failed();
    // The first visit that reaches the team's server sends what earlier runs kept locally.
    int sent = 0;
    if (archive::Recorder* recorder = windows.serviceRecord->recorder())
        QObject::connect(recorder, &archive::Recorder::sent, recorder,
                         [&sent](int count) { sent += count; });
    window.show();
    window.Button3Click();
    if (!programState().connected || programState().commErrorSeen || !m_error.isEmpty() ||
        terminateRequested())
        return failed();
    QString path = m_job.path;
    if (QFileInfo(path).isDir())
        path = QDir(path).filePath(report::proposeReportFileName(
            model::shownSerial(window.controllerModel()), QDate::currentDate()));
    ServiceRecord& record = *windows.serviceRecord;
    if (!m_job.technician.isEmpty()) record.setTechnician(m_job.technician);

    const bool saved = record.saveReport(path, m_job.remarks);
    window.close(); // "TEST_STOP", as when the technician closes the window
    if (record.recorder()) record.recorder()->flush();
    QCoreApplication::processEvents(); // the archive's problems arrive as signals
    if (!saved || !m_error.isEmpty()) return failed();
    // Beside the file's name, which scripts take from standard output.
    if (sent > 0) QTextStream(stderr) << "r73-service: " << archive::sentNote(sent) << Qt::endl;
    QTextStream(stdout) << QDir::toNativeSeparators(path) << Qt::endl;
    return 0;
}

} // namespace r73
