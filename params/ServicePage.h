#pragma once
/// Notebook page "SERVICE": the controller's counters of the last motions (group "Service
/// Information") and the vibration and frequency gauges.

#include <QWidget>
#include <memory>

namespace Ui {
class ServicePage;
}

class ServicePage : public QWidget
{
    Q_OBJECT

public:
    explicit ServicePage(QWidget* parent = nullptr);
    ~ServicePage() override;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::ServicePage& ui() { return *m_ui; }
    const Ui::ServicePage& ui() const { return *m_ui; }

private:
    std::unique_ptr<Ui::ServicePage> m_ui;
};
