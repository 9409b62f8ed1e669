#pragma once
/// The main window's notebook: a tab widget whose tabs stand in rows of five, each row spread
/// over the full width, with the row of the shown page next to the page (the look of a
/// multi-row notebook). Everything else is plain QTabWidget.

#include <QTabWidget>

class TwoRowTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    /// Tabs per row.
    static constexpr int TabsPerRow = 5;

    explicit TwoRowTabWidget(QWidget* parent = nullptr);

    /// Where tab `index` is drawn, in tab bar coordinates; QTabBar::tabRect knows nothing of
    /// the rows. An empty rectangle for an index out of range.
    QRect tabRectAt(int index) const;
};
