#pragma once
/// The small start window: the application's own main window. It stays off screen and out of
/// the task bar; its one job is to show the main window modally and end the program after it.

#include <QWidget>

class QPushButton;
class TForm1;

class TfrmMain : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);

    /// The main window that FormShow shows modally.
    void setMainForm(TForm1* form) { m_form = form; }
    QPushButton* BtStart() const { return m_btStart; }

    /// Shows the main window modally; closes this window (and so the application) afterwards.
    void FormShow();
    void BtStartClick() { FormShow(); }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TForm1* m_form = nullptr;
    QPushButton* m_btStart = nullptr;
    bool m_shown = false;
};
