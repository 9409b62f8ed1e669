#pragma once
/// The parameter pages "SPANNEN", "ZEITEN", "PLANANLAGE", "SCHWINGUNG" and the page "SERVICE" as
/// parts of the main window: the controller's sets read into the fields, a field sent on Enter
/// (or F4) and read back at once, the permanent saves, the hydraulic switch, the service values
/// with their gauges, and the demonstration values.
///
/// The class is split over several sources: ParamPages.cpp (fields, keys, the common send,
/// F4/F5), ClampPages.cpp (clamping and release sets), FlatVibration.cpp (flat contact and
/// vibration), Hydraulics.cpp, ServiceGauges.cpp and DemoValues.cpp.

#include "FieldMarks.h"
#include "PageHost.h"
#include "ParamSets.h"

#include <QHash>
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
    using ServiceValues = ServiceWords;

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
    QList<QPair<QString, QString>> shownServiceRows() const override;
    QStringList UnsavedSets() const override;
    void selectionLost() override { m_sets.forgetSelection(); }
    void SaveUnsaved() override;
    void showBios(quint16 bios) override;
    void showUnconnected() override;
    void showSensor(quint16 sensor) override;
    void showRunningFunction(quint16 outputWord) override;
    void showConnectStatus(const QString& text) override;
    QString connectStatus() const override;
    void showStatusPanels(const QString& text) override;

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
    /// The field of a parameter (paramDefs()), or null.
    QLineEdit* editOf(const ParamDef& def) const;
    /// The analog channel pages' part of the demonstration values.
    void setFillPage6To8(std::function<void()> fill) { m_fillPage6To8 = std::move(fill); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// A field of the pages: its controller calls are those of its row in paramDefs().
    /// The status line after a field's send and read-back.
    void tellSent(const char* key, const QString& typed, const QString& readBack);
    struct Field
    {
        QLineEdit* edit;
        const ParamDef* def;
        const char* caption;
        QLabel* panel;
        bool* changed;
    };

    void setUpFields();
    void setUpTabOrder();
    const Field* fieldOf(const QObject* edit) const;

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
    void saveSet(bool& changed, SetId set, const QString& doneText);
    void showHydraulics(const HydraulicWords& values);

    /// The model learns what a read delivered, or what the controller gave back after a send.
    void learnRead(const char* key, quint16 word);
    void learnSent(const char* key, quint16 word);
    /// Esc on a draft: the field shows what the controller holds again. A refused text stays for
    /// the operator to mend; only the model's value reaches the documents.
    void showHeld(QLineEdit* edit);

    /// The fields' states and tooltips (FieldMarks.cpp).
    void markField(const char* key, FieldMark mark);
    void markSaved(SetId set);
    void markAllHeld();
    void markTyped(const Field& f);
    void refreshField(const Field& f);
    QString fieldTip(const Field& f) const;

    PageHost& m_host;
    SpannenPage* m_spannen;
    ZeitenPage* m_zeiten;
    PlanPage* m_plan;
    SchwingungPage* m_schwingung;
    ServicePage* m_service;
    QLineEdit* m_edit2;
    /// The sets one save button or F5 has saved so far, for the status line.
    QStringList m_savedNow;
    std::vector<Field> m_fields;
    TParamSets m_sets; ///< the sequences, and the set last selected
    /// The long and clamp-without-tool limits for which a raise was found impossible and said.
    std::optional<std::pair<qint64, int>> m_unraisableTold;
    std::function<void()> m_fillPage6To8;
    QHash<const QLineEdit*, FieldMark> m_marks; ///< Held when absent
    /// What was typed into a field whose read-back differed.
    QHash<const QLineEdit*, QString> m_typedAway;
};

} // namespace r73
