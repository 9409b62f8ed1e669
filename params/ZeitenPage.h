#pragma once
/// Notebook page "ZEITEN": the measuring times, stop frequency times and time-outs of the
/// clamping and the release set.

#include <QWidget>
#include <memory>

namespace Ui {
class ZeitenPage;
}

class ZeitenPage : public QWidget
{
    Q_OBJECT

public:
    explicit ZeitenPage(QWidget* parent = nullptr);
    ~ZeitenPage() override;

    /// The focus on the page's first field, as a page change and the connect leave it.
    void focusFirstField();
    /// The fields whose keys and focus hold the live poll back.
    QList<QWidget*> parameterFields() const;

    /// The page's controls by their form names, for its own folder and its tests.
    Ui::ZeitenPage& ui() { return *m_ui; }
    const Ui::ZeitenPage& ui() const { return *m_ui; }

private:
    std::unique_ptr<Ui::ZeitenPage> m_ui;
};
