#pragma once
/// "r73-service --report": the service report without a window on screen, for scripts. It
/// connects as F7 does, saves the report as the menu does (and so archives it),
/// and ends the session as closing the window does.

#include <QString>

class ProgramWindows;

namespace r73 {

class HeadlessReport
{
public:
    struct Job
    {
        QString path; ///< the PDF, or a folder for the name the program proposes
        QString remarks;
        QString technician; ///< empty: the configured one
    };

    /// From here on every message box is answered as if closed without a choice; the first
    /// error or warning becomes the one line on standard error.
    explicit HeadlessReport(Job job);

    /// 0 when the report was written and nothing went wrong, else 1.
    int run(ProgramWindows& windows);

    /// Prints the first error on standard error and returns 1.
    int failed();

private:
    Job m_job;
    QString m_error;
};

} // namespace r73
