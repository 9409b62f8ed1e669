#pragma once
/// The window's functions beyond its fixed pages and function keys (backup, report, archive,
/// trend, ...): one menu behind a small button "Extras" in the status area, opened with Alt+X,
/// the menu key or the window's context menu. Each subsystem adds its entries when the
/// program's windows are made; an entry's shortcut works while the menu is closed. Entries are
/// given in German and shown in the window's language each time the menu opens.

#include <QKeySequence>
#include <QObject>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QToolButton;
class QWidget;

namespace r73 {

class ExtrasMenu : public QObject
{
    Q_OBJECT
public:
    /// When an entry can be used.
    enum class When {
        Always,    ///< also before the connect and in demo mode
        Connected, ///< after the connect step (demo mode included)
        Offline    ///< while a backup is open as an offline controller
    };

    /// Places its button on `parent` at `geometry`'s place; the window receives the shortcuts.
    ExtrasMenu(QWidget* window, QWidget* parent, const QRect& geometry);
    ~ExtrasMenu() override;

    QAction* add(const char* germanText, const QKeySequence& keys, std::function<void()> run,
                 When when = When::Connected);
    void addSeparator();

    QMenu* menu() const { return m_menu; }
    QToolButton* button() const { return m_button; }
    /// Whether an entry's condition holds now; false also while a connect or readout runs.
    static bool usable(When when);

private:
    void refresh();
    struct Entry
    {
        QAction* action;
        const char* german;
        When when;
    };
    QWidget* m_window;
    QMenu* m_menu;
    QToolButton* m_button;
    std::vector<Entry> m_entries;
};

} // namespace r73
