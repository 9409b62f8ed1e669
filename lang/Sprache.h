#pragma once
/// The language dialog: the operator picks German or English; OK makes the choice current, stores
/// it in the configuration file and re-captions the main window. Its own captions are set once,
/// when it is made, and keep that language until the program starts again.

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

namespace Ui {
class TfrmSprache;
}

class TfrmSprache : public QDialog
{
    Q_OBJECT

public:
    /// A dialog that re-captions nothing until setMainWindow names the main window.
    explicit TfrmSprache(QWidget* parent = nullptr);
    /// form1: the main window that OK re-captions; setCaptionComStat: its port status refresh.
    TfrmSprache(QWidget* form1, std::function<void()> setCaptionComStat, QWidget* parent = nullptr);
    ~TfrmSprache() override;

    /// The main window that OK re-captions (ApplyLanguage) and its port status refresh.
    void setMainWindow(QWidget* form1, std::function<void()> setCaptionComStat);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    /// Preselects the current language, or reports a stored number that names none.
    void FormShow();
    /// Takes over the choice and stores it; the dialog stays open when the file cannot be written.
    void BtOkClick();
    void centreOnScreen();
    void clearChoice();

    std::unique_ptr<Ui::TfrmSprache> m_ui;
    QPointer<QWidget> m_form1;
    std::function<void()> m_setCaptionComStat;
};
