#pragma once
/// The version component placed on the main window: reads the program's own version resource
/// and shows it in the "Product Information" window. Reads afresh on every showing.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <stdexcept>

class TVersInfoForm;

namespace r73 {

class VersionResourceApi;

/// The component was given an owner that is not a form.
class EInvalidOwner : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// The version resource could not be read or has no translation table; caught within
/// LoadVersionInfo and never shown.
class EVerInfoError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TVersInfo : public QObject
{
    Q_OBJECT
    /// Seconds after which the window closes by itself; 0 = it stays until "Ok" is pressed.
    Q_PROPERTY(double OnTime READ OnTime WRITE setOnTime)

public:
    /// The ten standard string names of a version resource; GetVersionString takes an index.
    static const std::array<const char*, 10> VersionNames;

    /// The owner must be a form (a window widget); anything else throws EInvalidOwner.
    explicit TVersInfo(QObject* owner);
    ~TVersInfo() override;

    /// Builds the window, shows it modally and frees it. The sender (the main window's handler)
    /// plays no part: the window always belongs to the component's owner.
    void ShowInfo(QObject* sender = nullptr);
    /// The window as ShowInfo shows it, filled and with its close timer set, but not yet shown.
    std::unique_ptr<TVersInfoForm> CreateInfoForm();

    /// True when the resource and its translation table were read.
    bool LoadVersionInfo();
    /// The string at index 0..9 of VersionNames; empty when the resource has none.
    QString GetVersionString(int index) const;
    /// "Designed for " and the target operating system of the resource, or "Unknown".
    QString GetOsText() const;

    double OnTime() const { return m_onTime; }
    void setOnTime(double seconds) { m_onTime = seconds; }

    /// The close timer's interval for OnTime: cut to whole milliseconds, at least 1 so that a
    /// window without "Ok" still closes.
    static int closeInterval(double onTime);

    /// Replaces where the resource is read from (tests); nullptr restores the generated block.
    void setResourceApi(const VersionResourceApi* api);

    const QString& ExeFileName() const { return m_exeFileName; }
    /// Why the last LoadVersionInfo failed; empty after success or when there was no resource.
    const QString& LoadError() const { return m_loadError; }

private:
    static QObject* requireForm(QObject* owner);
    const VersionResourceApi& api() const;

    /// Offset of the fixed file information in m_versionData; -1 when there is none.
    int m_fixedInfo = -1;
    QByteArray m_versionData;
    /// Offset of the first translation entry in m_versionData; -1 when there is none.
    int m_translationEntry = -1;
    qint32 m_versionSize = 0;
    QString m_exeFileName;
    quint32 m_versionHandle = 0;
    double m_onTime = 0;

    const VersionResourceApi* m_api = nullptr;
    QString m_loadError;
};

} // namespace r73
