#pragma once
/// Notebook page "ANALOG1": configuration of analog channel 1, or the notice `pnAnalog1`
/// on controllers without analog channels.

#include <QWidget>
#include <memory>

namespace Ui {
class AnalogPage1;
}

class AnalogPage1 : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogPage1(QWidget* parent = nullptr);
    ~AnalogPage1() override;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::AnalogPage1& ui() { return *m_ui; }
    const Ui::AnalogPage1& ui() const { return *m_ui; }

protected:
    /// Keeps `pnAnalog1` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<Ui::AnalogPage1> m_ui;
};
