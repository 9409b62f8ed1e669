#include "NorloIni.h"

#include "ProfileFile.h"
#include "SafeFile.h"

#include <QDir>

namespace r73 {

namespace {

bool g_useFile = true;
QString g_device; ///< named on the command line, in place of the configured port

ProfileFile configFile()
{
    return ProfileFile(configFilePath());
}

// Write-back failures stay silent: the reads only make missing keys visible to the user, and the
// program creates the "ini" folder at start.
int readIntegerWrittenBack(const char* section, const char* key, int def)
{
    if (!g_useFile) return def;
    ProfileFile file = configFile();
    const int value = file.readInteger(QLatin1String(section), QLatin1String(key), def);
    if (g_device.isEmpty()) file.writeInteger(QLatin1String(section), QLatin1String(key), value);
    return value;
}

} // namespace

void useConfigFile(bool use)
{
    g_useFile = use;
}

void useDevice(const QString& path)
{
    g_device = path;
}

QString configFilePath()
{
    return QDir::current().filePath(QStringLiteral("ini/norlo.ini"));
}

QString configFileProblem()
{
    if (!g_useFile || !g_device.isEmpty()) return {};
    QString reason;
    return canWriteFile(configFilePath(), &reason) ? QString() : reason;
}

int readComPort()
{
    if (!g_device.isEmpty()) return 1;
    return readIntegerWrittenBack(ComSection, ComKey, 1);
}

bool writeComPort(int number)
{
    if (!g_useFile || !g_device.isEmpty()) return false;
    return configFile().writeInteger(QLatin1String(ComSection), QLatin1String(ComKey), number);
}

bool readDemoMode()
{
    if (!g_useFile || !g_device.isEmpty()) return false;
    ProfileFile file = configFile();
    const bool active = file.readBool(QLatin1String(DemoSection), QLatin1String(DemoKey), false);
    file.writeBool(QLatin1String(DemoSection), QLatin1String(DemoKey), active);
    return active;
}

int readLanguage(int current)
{
    return readIntegerWrittenBack(LanguageSection, LanguageKey, current);
}

bool writeLanguage(int number)
{
    if (!g_useFile || !g_device.isEmpty()) return false;
    return configFile().writeInteger(QLatin1String(LanguageSection), QLatin1String(LanguageKey),
                                     number);
}

QString deviceNameForPort(int number)
{
    if (number < 1 || number > 4) return QString();
    if (!g_device.isEmpty()) return number == 1 ? g_device : QString();
    // An empty entry would name no device at all, so it counts as absent.
    const QString configured =
        !g_useFile ? QString()
                   : configFile().readString(QLatin1String(ComSection),
                                             QStringLiteral("Device%1").arg(number), QString());
    return configured.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(number - 1) : configured;
}

} // namespace r73
