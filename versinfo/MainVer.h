#pragma once
/// The "Product Information" window: a logo, the company and product lines of the version
/// resource and "Ok". TVersInfo fills it; it closes on "Ok" or when its timer runs out.

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;

namespace Ui {
class TVersInfoForm;
}

class TVersInfoForm : public QDialog
{
    Q_OBJECT

public:
    explicit TVersInfoForm(QWidget* owner = nullptr);
    ~TVersInfoForm() override;

    // The controls that the version component fills and sets.
    QLabel* CompanyName() const;
    QLabel* ProductName() const;
    QLabel* FileVersion() const;
    QLabel* ProductVersion() const;
    QLabel* Copyright() const;
    QLabel* OperatingSystem() const;
    QPushButton* BtnOk() const;
    QTimer* tmrClose() const { return m_tmrClose; }

    void FormCreate();
    void BtnOkClick();
    void tmrCloseTimer();

protected:
    /// The window has no cancel: only "Ok" or the timer close it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void centreOnScreen();

    std::unique_ptr<Ui::TVersInfoForm> m_ui;
    QTimer* m_tmrClose = nullptr;
};
