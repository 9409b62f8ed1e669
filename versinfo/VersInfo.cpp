#include "VersInfo.h"

#include "MainVer.h"
#include "VersionBlock.h"
#include "VersionResource.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <climits>
#include <cmath>
#include <utility>

namespace r73 {

namespace {

// Fixed texts of the program, not passed through the language table.
const char* const DesignedFor = "Designed for ";
const char* const RunningOn = "running on";
const char* const Unknown = "Unknown";
const char* const CannotObtain = "Cannot obtain version info.";
const char* const NoLanguageInfo = "No language info.";
const char* const NotOnForm = "The version dialog must belong to a form.";

QString osName(quint32 fileOs)
{
    const auto on = [](const char* what, const char* host) {
        return QStringLiteral("%1, %2 %3")
            .arg(QLatin1String(what), QLatin1String(RunningOn), QLatin1String(host));
    };
    switch (fileOs) {
    case 0x00000001:
        return QStringLiteral("16-bit Windows");
    case 0x00000002:
        return QStringLiteral("16-bit PM");
    case 0x00000003:
        return QStringLiteral("32-bit PM");
    case 0x00000004:
        return QStringLiteral("32-bit Windows");
    case 0x00010000:
        return QStringLiteral("MS-DOS");
    case 0x00010001:
        return on("16-bit Windows", "MS-DOS");
    case 0x00010004:
        return on("Win32 API", "MS-DOS");
    case 0x00020000:
        return QStringLiteral("16-bit OS/2");
    case 0x00020002:
        return on("16-bit PM", "16-bit OS/2");
    case 0x00030000:
        return QStringLiteral("32-bit OS/2");
    case 0x00030003:
        return on("32-bit PM", "32-bit OS/2");
    case 0x00040000:
        return QStringLiteral("Windows NT");
    case 0x00040004:
        return on("Win32 API", "Windows/NT");
    default:
        return {};
    }
}

} // namespace

const std::array<const char*, 10> TVersInfo::VersionNames = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"};

TVersInfo::TVersInfo(QObject* owner) : QObject(requireForm(owner)) {}

TVersInfo::~TVersInfo() = default;

QObject* TVersInfo::requireForm(QObject* owner)
{
    const auto* form = qobject_cast<QWidget*>(owner);
    if (!form || !form->isWindow()) throw EInvalidOwner(NotOnForm);
    return owner;
}

void TVersInfo::ShowInfo(QObject* /*sender*/)
{
    const std::unique_ptr<TVersInfoForm> form = CreateInfoForm();
    form->exec();
}

std::unique_ptr<TVersInfoForm> TVersInfo::CreateInfoForm()
{
    auto form = std::make_unique<TVersInfoForm>(qobject_cast<QWidget*>(parent()));
    if (LoadVersionInfo()) {
        // The labels by their index in VersionNames; the other names have none.
        const std::pair<int, QLabel*> labels[] = {{0, form->CompanyName()},
                                                  {2, form->FileVersion()},
                                                  {4, form->Copyright()},
                                                  {7, form->ProductName()},
                                                  {8, form->ProductVersion()}};
        for (const auto& [index, label] : labels)
            label->setText(GetVersionString(index));
        form->OperatingSystem()->setText(GetOsText());
    }
    if (m_onTime != 0) {
        form->tmrClose()->setInterval(closeInterval(m_onTime));
        form->tmrClose()->start();
        form->BtnOk()->hide();
    } else {
        form->tmrClose()->stop();
        form->BtnOk()->show();
    }
    return form;
}

bool TVersInfo::LoadVersionInfo()
{
    m_loadError.clear();
    m_fixedInfo = -1;
    m_translationEntry = -1;
    m_exeFileName = QCoreApplication::applicationFilePath();
    m_versionSize = api().GetFileVersionInfoSize(m_exeFileName, m_versionHandle);
    if (m_versionSize <= 0) return false;
    try {
        if (!api().GetFileVersionInfo(m_exeFileName, m_versionHandle, m_versionSize, m_versionData))
            throw EVerInfoError(CannotObtain);
        // A translation entry is a language id and a code page: at least four bytes.
        const auto translation =
            VerQueryValue(m_versionData, QStringLiteral("\\VarFileInfo\\Translation"));
        if (!translation || translation->length < 4) throw EVerInfoError(NoLanguageInfo);
        m_translationEntry = translation->offset;
    } catch (const EVerInfoError& e) {
        m_loadError = QString::fromUtf8(e.what());
        return false;
    }
    // The fixed information is optional for the result; without it GetOsText says "Unknown".
    if (api().GetFileVersionInfo(m_exeFileName, m_versionHandle, m_versionSize, m_versionData)) {
        const auto root = VerQueryValue(m_versionData, QStringLiteral("\\"));
        if (root && root->length >= FixedFileInfo::FileOsOffset + 4) m_fixedInfo = root->offset;
    }
    return true;
}

QString TVersInfo::GetVersionString(int index) const
{
    if (index < 0 || index >= int(VersionNames.size()) || m_translationEntry < 0) return {};
    const QString block = QString::asprintf(
        "%s%.4x%.4x\\%s", "\\StringFileInfo\\", readWord(m_versionData, m_translationEntry),
        readWord(m_versionData, m_translationEntry + 2), VersionNames[index]);
    const auto value = VerQueryValue(m_versionData, block);
    if (!value) return {};
    // Resource tools store strings with their terminating zero.
    QByteArray text = m_versionData.mid(value->offset, value->length);
    if (const int end = text.indexOf('\0'); end >= 0) text.truncate(end);
    return QString::fromUtf8(text);
}

QString TVersInfo::GetOsText() const
{
    const QString os =
        m_fixedInfo < 0
            ? QString()
            : osName(readDword(m_versionData, m_fixedInfo + FixedFileInfo::FileOsOffset));
    return os.isEmpty() ? QLatin1String(Unknown) : QLatin1String(DesignedFor) + os;
}

int TVersInfo::closeInterval(double onTime)
{
    const double ms = std::trunc(onTime * 1000);
    if (!(ms >= 1)) return 1;
    return ms >= double(INT_MAX) ? INT_MAX : int(ms);
}

void TVersInfo::setResourceApi(const VersionResourceApi* api)
{
    m_api = api;
}

const VersionResourceApi& TVersInfo::api() const
{
    return m_api ? *m_api : BuiltInVersionResource::instance();
}

} // namespace r73
