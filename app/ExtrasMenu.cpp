#include "ExtrasMenu.h"

#include "ProgramState.h"
#include "Translate.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

namespace r73 {

namespace {
const char* const Caption = "Extras";
}

ExtrasMenu::ExtrasMenu(QWidget* window, QWidget* parent, const QRect& geometry)
    : QObject(window), m_window(window), m_menu(new QMenu(window)),
      m_button(new QToolButton(parent))
{
    m_button->setObjectName(QStringLiteral("btExtras"));
    m_button->setGeometry(geometry);
    m_button->setText(Translate(0, QString::fromUtf8(Caption)));
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setMenu(m_menu);
    // The function keys keep the focus order of the window; the button is reached by F10.
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->show();
    connect(m_menu, &QMenu::aboutToShow, this, &ExtrasMenu::refresh);
    // Greyed out only while the menu shows: a disabled action's shortcut would not fire at all,
    // and the shortcut checks the entry's condition itself.
    connect(m_menu, &QMenu::aboutToHide, this, [this] {
        for (const Entry& e : m_entries)
            e.action->setEnabled(true);
    });

    auto* open = new QAction(window);
    open->setShortcut(Qt::Key_F10);
    open->setShortcutContext(Qt::WindowShortcut);
    connect(open, &QAction::triggered, this, [this] {
        refresh();
        m_menu->popup(m_button->mapToGlobal(QPoint(0, m_button->height())));
    });
    window->addAction(open);
    window->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(window, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        refresh();
        m_menu->popup(m_window->mapToGlobal(at));
    });
}

ExtrasMenu::~ExtrasMenu() = default;

bool ExtrasMenu::usable(When when)
{
    if (Connecting || HistoryReading || ParamLoading) return false;
    return when == When::Always || Connected;
}

QAction* ExtrasMenu::add(const char* germanText, const QKeySequence& keys,
                         std::function<void()> run, When when)
{
    auto* action = new QAction(m_window);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    // A shortcut may fire while the entry's condition does not hold: it is then ignored.
    connect(action, &QAction::triggered, this, [when, run = std::move(run)] {
        if (usable(when)) run();
    });
    m_window->addAction(action);
    m_menu->addAction(action);
    m_entries.push_back({action, germanText, when});
    action->setText(Translate(0, QString::fromUtf8(germanText)));
    return action;
}

void ExtrasMenu::addSeparator()
{
    m_menu->addSeparator();
}

void ExtrasMenu::refresh()
{
    m_button->setText(Translate(0, QString::fromUtf8(Caption)));
    for (const Entry& e : m_entries) {
        e.action->setText(Translate(0, QString::fromUtf8(e.german)));
        e.action->setEnabled(usable(e.when));
    }
}

} // namespace r73
