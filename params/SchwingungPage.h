#pragma once
/// Notebook page "SCHWINGUNG": threshold and time-out of the vibration check, with the
/// threshold as a bar (`ProgressBar3`, 0..200 = 0..10 mm/s).

#include <QWidget>
#include <memory>

namespace Ui {
class SchwingungPage;
}

class SchwingungPage : public QWidget
{
    Q_OBJECT

public:
    explicit SchwingungPage(QWidget* parent = nullptr);
    ~SchwingungPage() override;

    /// The focus on the page's first field, as a page change and the connect leave it.
    void focusFirstField();
    /// The fields whose keys and focus hold the live poll back.
    QList<QWidget*> parameterFields() const;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::SchwingungPage& ui() { return *m_ui; }
    const Ui::SchwingungPage& ui() const { return *m_ui; }

private:
    std::unique_ptr<Ui::SchwingungPage> m_ui;
};
