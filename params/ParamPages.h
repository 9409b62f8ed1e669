#pragma once
/// The parameter pages "SPANNEN", "ZEITEN", "PLANANLAGE", "SCHWINGUNG" and the page "SERVICE" as
/// parts of the main window: the controller's sets read into the fields, a field sent on Enter
/// (or F4) and read back at once, the permanent saves, the hydraulic switch, the service values
/// with their gauges, and the demonstration values.
///
/// The class is split over several sources: ParamPages.cpp (fields, keys, the common send,
/// F4/F5), ClampPages.cpp (clamping and release sets), FlatVibration.cpp (flat contact and
/// vibration), Hydraulics.cpp, ServiceGauges.cpp and DemoValues.cpp.

#include "PageHost.h"

#include <QObject>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class SpannenPage;
class ZeitenPage;
class PlanPage;
class SchwingungPage;
class ServicePage;

namespace r73 {

/// Virtual key code of Enter, as the key handlers receive it and F4 passes it.
inline constexpr quint16 VK_RETURN = 13;

class TParamPages : public QObject, public ParamPagesApi
{
    Q_OBJECT
public:
    /// One service read, as the controller delivered it.
    struct ServiceValues
    {
        quint16 frequency = 0; ///< "F@", 0.1 Hz
        quint16 clampPulses = 0;
        quint16 releasePulses = 0;
        quint16 releaseDeviation = 0;
        quint16 creepFrequency = 0; ///< "F_SCHLEICH@"
        quint16 maxFrequency = 0;   ///< "F_MAX@"
        quint16 duration = 0;       ///< "T_DAUER@", ms
    };

    /// edit2 is the main window's hidden save-status field.
    TParamPages(PageHost& host, SpannenPage* spannen, ZeitenPage* zeiten, PlanPage* plan,
                SchwingungPage* schwingung, ServicePage* service, QLineEdit* edit2,
                QObject* parent = nullptr);
    ~TParamPages() override;

    // ParamPagesApi
    void ReadSpann() override;
    void ReadLoes() override;
    void ReadPlan() override;
    void ReadSchwing() override;
    void ReadService() override;
    void SendPage(int page) override;
    void SavePage(int page) override;
    void FillDemoValues() override;
    QStringList UnsavedSets() const override;
    void SaveUnsaved() override;

    /// The key handler of every parameter field (Edit10KeyDown ... edHydrDauerKeyDown): acts on
    /// Enter only, every other key is ignored.
    void KeyDown(QLineEdit* field, quint16 key);
    /// Permanent save of the clamping and release sets (also Button2).
    void Button1Click();
    /// Permanent save of the flat-contact set.
    void Button4Click();
    /// Permanent save of the vibration set.
    void Button6Click();
    /// The hydraulic switch changed state, by the user or by a read.
    void cbHydrClick();
    /// Sends the switch's state.
    void SendEnHydr();
    /// Writes one service read into the page; the display half of ReadService.
    void ShowService(const ServiceValues& values);
    /// The analog channel pages' part of the demonstration values.
    void setFillPage6To8(std::function<void()> fill) { m_fillPage6To8 = std::move(fill); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// How a field's text becomes the word sent and the read-back becomes text again.
    enum class Conversion {
        Whole,         ///< whole number, read-back signed
        StopFrequency, ///< whole number held within 1..1000
        Threshold,     ///< mm/s × 20, read-back in mm/s and on the bar
    };

    struct Field
    {
        QLineEdit* edit;
        const char* selector; ///< null: the values are not part of a set
        quint16 selectorCode;
        bool selectedByRead; ///< the page's read selects the set; the send selects only if lost
        const char* setter;
        const char* getter;
        quint16 code; ///< SendValue's code; setter, getter and ReceiveValue follow in turn
        const char* caption;
        QLabel* panel;
        bool* changed;
        Conversion conversion;
    };

    struct HydraulicValues
    {
        quint16 enabled = 0;
        quint16 duration = 0;
        quint16 pulses = 0;
    };

    void setUpFields();
    void setUpTabOrder();
    const Field* fieldOf(const QObject* edit) const;
    /// Executes a set's selector and remembers which set the controller now works on.
    void select(const char* set, quint16 code);
    /// Executes a getter and receives its value, under code and code + 1.
    quint16 fetch(const char* getter, quint16 code);

    /// Parses a whole number, or shows the input error box with caption and gives nullopt.
    std::optional<int> wholeOrComplain(const QLineEdit* edit, const char* caption);
    std::optional<qint64> valueOrComplain(const Field& f);
    void inputError(const char* caption);
    /// The box for a number the field's word cannot carry, naming the range that fits.
    void rangeError(const char* caption, const QString& low, const QString& high);
    /// "SENDEN" in the page's status panel, cleared by Timer2.
    void showSending(QLabel* panel);
    /// Common steps after parsing: status text, then the send and read-back if modified.
    void sendParsed(const Field& f, qint64 value);
    void showReadBack(const Field& f, quint16 word);

    void Edit11KeyDown();
    void Edit16KeyDown();
    /// Enter in "Lang" found the clamp-without-tool limit not beyond it: raises and sends it.
    void raiseWithoutTool(qint64 longLimit, int withoutTool, int releaseLong);
    void showThreshold(quint16 raw);
    void saveSet(bool& changed, const char* selector, quint16 selectorCode, quint16 memModeCode,
                 quint16 saveCode, const QString& doneText);
    HydraulicValues readHydraulics();
    void showHydraulics(const HydraulicValues& values);

    PageHost& m_host;
    SpannenPage* m_spannen;
    ZeitenPage* m_zeiten;
    PlanPage* m_plan;
    SchwingungPage* m_schwingung;
    ServicePage* m_service;
    QLineEdit* m_edit2;
    std::vector<Field> m_fields;
    QString m_selected; ///< the set last selected; empty before the first
    /// The long and clamp-without-tool limits for which a raise was found impossible and said.
    std::optional<std::pair<qint64, int>> m_unraisableTold;
    std::function<void()> m_fillPage6To8;
};

} // namespace r73
