#pragma once
/// The main window: its creation (folders, configuration, texts, link, initial state of every
/// control), the port display, the error report of every controller call, and closing. The
/// pages' own logic lives beside their layouts in the subsystem folders.

#include <QDialog>
#include <memory>

namespace Ui {
class TForm1;
}

namespace r73 {
class TTarget;
class TTimer;
class TVersInfo;
} // namespace r73

class TForm1 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    Ui::TForm1& form() { return *m_ui; }

    /// The current link; null when no port is usable.
    r73::TTarget* link() const { return m_link; }

    r73::TTimer& Timer1() { return *m_timer1; }
    r73::TTimer& Timer2() { return *m_timer2; }
    r73::TTimer& Timer3() { return *m_timer3; }
    r73::TTimer& Timer4() { return *m_timer4; }

    /// Shows the state of the configured port in Panel17.
    void SetCaptionComStat();
    /// The one error report after every controller call; fatal while connecting or connected.
    void CommErr(quint16 status, quint16 location);

    void Button7Click();
    void BtSpracheClick();
    /// F1 and the logo: the version window.
    void ShowVersionInfo();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void createFolder(const QString& name, const QString& failureText);
    bool FormCloseQuery();
    void FormClose();

    std::unique_ptr<Ui::TForm1> m_ui;
    r73::TTarget* m_link = nullptr;
    r73::TTimer* m_timer1 = nullptr;
    r73::TTimer* m_timer2 = nullptr;
    r73::TTimer* m_timer3 = nullptr;
    r73::TTimer* m_timer4 = nullptr;
    r73::TVersInfo* m_versInfo = nullptr;
};
