#pragma once
/// Notebook page "SPANNEN": the clamp and release travel limits (groups "SPANNEN",
/// "LÖSEN") and the hydraulic monitoring group `gbHydr`.

#include <QWidget>
#include <memory>

namespace Ui {
class SpannenPage;
}

class SpannenPage : public QWidget
{
    Q_OBJECT

public:
    explicit SpannenPage(QWidget* parent = nullptr);
    ~SpannenPage() override;

    /// The focus on the page's first field, as a page change and the connect leave it.
    void focusFirstField();
    /// The fields whose keys and focus hold the live poll back.
    QList<QWidget*> parameterFields() const;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::SpannenPage& ui() { return *m_ui; }
    const Ui::SpannenPage& ui() const { return *m_ui; }

private:
    std::unique_ptr<Ui::SpannenPage> m_ui;
};
