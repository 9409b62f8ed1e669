#pragma once
/// Notebook page "PLANANLAGE": threshold and time-out of the flat-contact check.

#include <QWidget>
#include <memory>

namespace Ui {
class PlanPage;
}

class PlanPage : public QWidget
{
    Q_OBJECT

public:
    explicit PlanPage(QWidget* parent = nullptr);
    ~PlanPage() override;

    /// The focus on the page's first field, as a page change and the connect leave it.
    void focusFirstField();
    /// The fields whose keys and focus hold the live poll back.
    QList<QWidget*> parameterFields() const;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::PlanPage& ui() { return *m_ui; }
    const Ui::PlanPage& ui() const { return *m_ui; }

private:
    std::unique_ptr<Ui::PlanPage> m_ui;
};
