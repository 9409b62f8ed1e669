#pragma once
/// Notebook page "ANALOGWERTE": the live values of the three analog channels
/// (`gbKanal_1` .. `gbKanal_3`), or the notice `pnAnalogwerte` on controllers without them.

#include <QWidget>
#include <memory>

namespace Ui {
class AnalogwertePage;
}

class AnalogwertePage : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogwertePage(QWidget* parent = nullptr);
    ~AnalogwertePage() override;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::AnalogwertePage& ui() { return *m_ui; }
    const Ui::AnalogwertePage& ui() const { return *m_ui; }

protected:
    /// Keeps `pnAnalogwerte` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<Ui::AnalogwertePage> m_ui;
};
