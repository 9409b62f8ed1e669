#pragma once
/// The analog channels on the main window: the three channel pages "ANALOG1" .. "ANALOG3"
/// (read, edit, validate, send) and the live page "ANALOGWERTE". It owns the scaling objects
/// Scale1..Scale3 and the raw limit records RawLimits1..RawLimits3.
///
/// The three channels behave alike, so the operations take the channel (1..3) where the window
/// has one name per channel: ReadAnalog(2) is ReadAnalog2, AktWert(3) is AktWert_3,
/// edtMinKeyDown(1, key) is edtMin_1KeyDown, and so on.
///
/// Sources: AnalogPages.cpp (set-up, key and click handlers), ChannelConfig.cpp (reads and
/// writes of a channel), LiveValues.cpp (the live page), DemoAnalog.cpp (demonstration values).

#include "Berechnung.h"
#include "ChannelSequences.h"
#include "PageHost.h"

#include <QObject>
#include <array>

class AnalogPage1;
class AnalogPage2;
class AnalogPage3;
class AnalogwertePage;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class QTabWidget;

namespace r73 {

class TAnalogPages : public QObject, public AnalogApi
{
    Q_OBJECT

public:
    /// Wires the pages' controls; creates the scaling objects with BinMin 0 and BinMax 255.
    TAnalogPages(PageHost& host, AnalogPage1* page1, AnalogPage2* page2, AnalogPage3* page3,
                 AnalogwertePage* live, QTabWidget* notebook, QObject* parent = nullptr);

    // AnalogApi
    /// In demo mode the demonstration channels, whose link only echoes what was written.
    void ReadChannelNames() override;
    void ReadAnalog(int channel) override;
    void WriteAnalog(int channel) override;
    void FillPage6To8() override;
    void ReadGraphR73() override;
    void AktWert(int channel) override;
    void showBios(quint16 bios) override;
    void showUnconnected() override;
    bool channelActive(int channel) const override;

    TUmrechnung& Scale(int channel) { return ch(channel).scale; }
    TRawLimits& RawLimits(int channel) { return ch(channel).raw; }

    // Reading a channel
    void GetParametrierung(int channel);
    void GetBezeichnung(int channel);
    void GetPhysEinh(int channel);
    void GetMinimum(int channel);
    void GetMaximum(int channel);
    void GetBinValue(int channel, Limit limit);

    // Sending
    /// Validates the range and sends its bottom; true when sent.
    bool SendenMinimum(int channel);
    /// Validates the range and sends its top; true when sent.
    bool SendenMaximum(int channel);
    /// Validates and sends one limit typed as text; raw gets its raw value, or −1 when refused.
    bool SendenR73(int channel, Limit limit, const QString& text, qint32& raw);
    /// Validates and sends the channel's name; true when sent.
    bool SendenBezeichnung(int channel);
    /// Sends the unit (a blank for an empty one); true when sent.
    bool SendenPhysEinh(int channel);
    void SendenKanalAktiv(int channel);
    void SendenPos(int channel);

    // Handlers (key: a Qt key code; only Return and Enter act)
    void edtMaxKeyDown(int channel, int key);
    void edtMinKeyDown(int channel, int key);
    void edtBezeichnungKeyDown(int channel, int key);
    void edtPhysEinhKeyDown(int channel, int key);
    void ckbKanalAktivClick(int channel);
    void rbPosAnalogClick(int channel);
    /// Enter in one of the twelve limit fields, told apart by their "Tag" property.
    void MyKeyDown(QLineEdit* sender, int key);

    // Live page
    void InitialisierenGbKanal(int channel);
    void NullSetzenKanal(int channel);

private:
    /// One channel's controls on its page and on the live page, its scaling and raw limits.
    struct Channel
    {
        int n = 0;
        ChannelPlaces at{};
        QLineEdit* edtMax = nullptr;
        QLineEdit* edtMin = nullptr;
        std::array<QLineEdit*, 4> limitEdit{}; ///< by Limit − 1
        QLineEdit* edtBezeichnung = nullptr;
        QLineEdit* edtPhysEinh = nullptr;
        QCheckBox* ckbKanalAktiv = nullptr;
        QRadioButton* rbPos1 = nullptr;
        QRadioButton* rbPos2 = nullptr;
        QGroupBox* gbKanal = nullptr;
        QLineEdit* edtAktWert = nullptr;
        QLabel* lbEinheit = nullptr;
        QProgressBar* liveBar = nullptr;
        std::array<QProgressBar*, 4> limitBar{}; ///< by Limit − 1
        std::array<QLabel*, 4> limitLabel{};     ///< by Limit − 1
        TUmrechnung scale;
        TRawLimits raw;
        int demoTick = 0; ///< demo mode: live refreshes so far, the clock of the live value

        QLineEdit* edit(Limit l) const { return limitEdit[int(l) - 1]; }
        quint16 parameterWord() const;
    };

    Channel& ch(int channel) { return m_channels[qBound(1, channel, 3) - 1]; }
    void wire(Channel& c, QWidget* page);
    void wireLive(Channel& c, QWidget* live);
    /// Page caption: the name with a..z in capitals, everything else as it stands.
    void setTabCaption(int channel, const QString& name);
    /// True when CP1252 can carry text; otherwise names the character in a box titled caption.
    bool sendable(const QString& text, const QString& caption);
    /// Parses both range texts into the scaling; false (after its messages) unless min <= max.
    bool rangeAccepted(Channel& c, const QString& orderText);
    void recomputeRawLimits(Channel& c);
    void setBar(QProgressBar* bar, int position);
    /// The live page's value and bar for a raw reading.
    void showReading(Channel& c, quint16 raw);
    /// The live page's limit labels for a limit flag word.
    void showFlags(Channel& c, quint16 flags);
    /// Demo mode: a live value that moves within the channel's range, with its limit flags.
    void demoAktWert(Channel& c);
    /// texts: maximum, minimum, Max2, Max1, Min1, Min2, name, unit; level 1 or 2 checks
    /// rbPos1 or rbPos2, 0 leaves the input level alone.
    void fillChannel(int channel, const QString& caption, const QStringList& texts, bool active,
                     int level);

    /// The model learns a channel item ("name", "min2", ...): as read, or as read back after the
    /// channel's write.
    void learn(int channel, const QString& item, quint16 word, const QString& text = {});
    /// A sent item that the controller does not give back (the parameter word).
    void learnSent(int channel, const QString& item, quint16 word);

    PageHost& m_host;
    QTabWidget* m_notebook;
    AnalogPage1* m_page1;
    AnalogPage2* m_page2;
    AnalogPage3* m_page3;
    AnalogwertePage* m_live;
    bool m_readingBack = false; ///< the read that follows a channel's write
    std::array<Channel, 3> m_channels;
};

/// The bit of a limit in the controller's limit flag word.
quint16 flagBit(Limit limit);
/// The raw record's field of a limit.
qint32& rawOf(TRawLimits& raw, Limit limit);

} // namespace r73
