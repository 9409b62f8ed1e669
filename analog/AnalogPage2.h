#pragma once
/// Notebook page "ANALOG2": configuration of analog channel 2, or the notice `pnAnalog2`
/// on controllers without analog channels.

#include <QWidget>
#include <memory>

namespace Ui {
class AnalogPage2;
}

class AnalogPage2 : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogPage2(QWidget* parent = nullptr);
    ~AnalogPage2() override;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::AnalogPage2& ui() { return *m_ui; }
    const Ui::AnalogPage2& ui() const { return *m_ui; }

protected:
    /// Keeps `pnAnalog2` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<Ui::AnalogPage2> m_ui;
};
