#pragma once
/// The two platform calls that fetch a program file's version resource, shaped like the ones
/// they replace: a size query that also yields a handle, then a read of that many bytes. The
/// look-up within the bytes is VerQueryValue of VersionBlock.h.

#include <QByteArray>
#include <QString>

namespace r73 {

class VersionResourceApi
{
public:
    virtual ~VersionResourceApi() = default;

    /// Size in bytes of the file's version resource, 0 when it has none; handle is set to 0,
    /// as the platform does, and is only passed on to the read.
    virtual qint32 GetFileVersionInfoSize(const QString& fileName, quint32& handle) const = 0;
    /// Reads up to size bytes of the file's version resource into data; false when it cannot be
    /// read (data is then left as it was).
    virtual bool GetFileVersionInfo(const QString& fileName, quint32 handle, qint32 size,
                                    QByteArray& data) const = 0;
};

/// The version resource as the build generated it: the running program's only. Any other file
/// has none, as a file without a resource on the platform.
class BuiltInVersionResource : public VersionResourceApi
{
public:
    qint32 GetFileVersionInfoSize(const QString& fileName, quint32& handle) const override;
    bool GetFileVersionInfo(const QString& fileName, quint32 handle, qint32 size,
                            QByteArray& data) const override;

    /// The process-wide instance, used unless a component is given another.
    static const BuiltInVersionResource& instance();

private:
    static bool isRunningProgram(const QString& fileName);
};

/// The generated block itself (built from the project version and the fixed strings).
const QByteArray& builtInVersionBlock();

} // namespace r73
