#pragma once
/// Notebook page "ANALOG3": configuration of analog channel 3, or the notice `pnAnalog3`
/// on controllers without analog channels.

#include <QWidget>
#include <memory>

namespace Ui {
class AnalogPage3;
}

class AnalogPage3 : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogPage3(QWidget* parent = nullptr);
    ~AnalogPage3() override;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::AnalogPage3& ui() { return *m_ui; }
    const Ui::AnalogPage3& ui() const { return *m_ui; }

protected:
    /// Keeps `pnAnalog3` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<Ui::AnalogPage3> m_ui;
};
