#pragma once
/// Notebook page "LOGBUCH": the controller's history list `ListView1` with its read and
/// delete buttons, and the notice `Panel18` that stands in for them on old controllers.

#include <QWidget>
#include <memory>

namespace Ui {
class LogbuchPage;
}

class LogbuchPage : public QWidget
{
    Q_OBJECT

public:
    explicit LogbuchPage(QWidget* parent = nullptr);
    ~LogbuchPage() override;

    /// The focus on the read button where the page shows it.
    void focusReadButton();

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::LogbuchPage& ui() { return *m_ui; }
    const Ui::LogbuchPage& ui() const { return *m_ui; }

protected:
    /// Keeps `Panel18` filling the page, whatever size the notebook gives it.
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<Ui::LogbuchPage> m_ui;
};
