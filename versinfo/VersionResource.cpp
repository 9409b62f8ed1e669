#include "VersionResource.h"

#include "BuildVersion.h"
#include "VersionBlock.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace r73 {

const QByteArray& builtInVersionBlock()
{
    static const QByteArray block = [] {
        const BuildVersion& v = buildVersion();
        FixedFileInfo fixed;
        fixed.fileVersionMS = quint32(v.major) << 16 | v.minor;
        fixed.fileVersionLS = quint32(v.patch) << 16 | v.tweak;
        fixed.productVersionMS = fixed.fileVersionMS;
        fixed.productVersionLS = fixed.fileVersionLS;
        fixed.fileOS = v.fileOS;

        VersionBlockWriter writer;
        writer.addFixedInfo(fixed);
        writer.addTranslation(v.languageId, v.codePage);
        const auto add = [&](const char* name, const char* text) {
            writer.addString(v.languageId, v.codePage, QLatin1String(name),
                             QString::fromUtf8(text));
        };
        // LegalTrademarks and Comments are left out, as the program has none.
        add("CompanyName", v.companyName);
        add("FileDescription", v.fileDescription);
        add("FileVersion", v.fileVersion);
        add("InternalName", v.internalName);
        add("LegalCopyright", v.legalCopyright);
        add("OriginalFilename", v.originalFilename);
        add("ProductName", v.productName);
        add("ProductVersion", v.productVersion);
        return writer.data();
    }();
    return block;
}

qint32 BuiltInVersionResource::GetFileVersionInfoSize(const QString& fileName,
                                                      quint32& handle) const
{
    handle = 0;
    return isRunningProgram(fileName) ? qint32(builtInVersionBlock().size()) : 0;
}

bool BuiltInVersionResource::GetFileVersionInfo(const QString& fileName, quint32 /*handle*/,
                                                qint32 size, QByteArray& data) const
{
    if (size <= 0 || !isRunningProgram(fileName)) return false;
    data = builtInVersionBlock().left(size);
    return true;
}

const BuiltInVersionResource& BuiltInVersionResource::instance()
{
    static const BuiltInVersionResource resource;
    return resource;
}

bool BuiltInVersionResource::isRunningProgram(const QString& fileName)
{
    // The block is linked into this program, so it can speak for no other file.
    const QFileInfo file(fileName);
    return file.exists() &&
           file.canonicalFilePath() ==
               QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
}

} // namespace r73
