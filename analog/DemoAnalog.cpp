// Demonstration values on the three channel pages in demo mode.

#include "AnalogPages.h"

#include "ProgramState.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace r73 {

void TAnalogPages::FillPage6To8()
{
    // Checking the boxes below runs their handlers. Left to send, they would write the parameter
    // word and, for a changed input level, the whole channel through the demo link, whose echoes
    // would then stand in the page instead of the demonstration texts. So the fill loads like a
    // channel read: nothing is sent, and BinMin still follows the input level.
    const bool loading = ParamLoading;
    ParamLoading = true;
    fillChannel(1, QStringLiteral("TEMPERATUR"),
                {"100", "-100", "75", "60", "-80", "-60", "Temperatur", "Grad C"}, true, 1);
    fillChannel(2, QStringLiteral("DRUCK"),
                {"9000", "300", "8670", "8300", "320", "350", "Druck", "Bar"}, true, 2);
    fillChannel(3, QStringLiteral("GROESSE"),
                {"9000", "300", "8670", "8300", "320", "350", QStringLiteral("Größe"), "mm"}, false,
                0);
    ParamLoading = loading;
}

void TAnalogPages::fillChannel(int channel, const QString& caption, const QStringList& texts,
                               bool active, int level)
{
    Channel& c = ch(channel);
    m_notebook->setTabText(5 + channel, caption);
    QLineEdit* const fields[] = {c.edtMax,
                                 c.edtMin,
                                 c.edit(Limit::Max2),
                                 c.edit(Limit::Max1),
                                 c.edit(Limit::Min1),
                                 c.edit(Limit::Min2),
                                 c.edtBezeichnung,
                                 c.edtPhysEinh};
    for (int i = 0; i < 8; ++i)
        fields[i]->setText(texts.value(i));
    c.ckbKanalAktiv->setChecked(active);
    if (level == 1) c.rbPos1->setChecked(true);
    if (level == 2) c.rbPos2->setChecked(true);
}

} // namespace r73
