#include "ExtrasMenu.h"

#include "LinkState.h"
#include "ProgramState.h"
#include "Translate.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

namespace r73 {

namespace {
// Alt+X opens it: the function keys F1 to F10 keep their fixed meaning.
const char* const Caption = "E&xtras";
} // namespace

ExtrasMenu::ExtrasMenu(QWidget* window, QWidget* parent, const QRect& geometry)
    : QObject(window), m_window(window), m_menu(new QMenu(window)),
      m_button(new QToolButton(parent))
{
    m_button->setObjectName(QStringLiteral("btExtras"));
    m_button->setGeometry(geometry);
    m_button->setText(Translate(0, QString::fromUtf8(Caption)));
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setMenu(m_menu);
    // Not in the focus chain: Tab keeps its order through the fields; Alt+X reaches it.
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->show();
    connect(m_menu, &QMenu::aboutToShow, this, &ExtrasMenu::refresh);
    // Greyed only while the menu is open: a disabled action's shortcut would never fire, and
    // the shortcut checks the entry's condition itself.
    connect(m_menu, &QMenu::aboutToHide, this, [this] {
        for (const Entry& e : m_entries)
            e.action->setEnabled(true);
    });

    window->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(window, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        refresh();
        m_menu->popup(m_window->mapToGlobal(at));
    });
}

ExtrasMenu::~ExtrasMenu() = default;

bool ExtrasMenu::usable(When when)
{
    if (programState().connecting || programState().historyReading || programState().paramLoading)
        return false;
    if (when == When::Offline) return OfflineMode && programState().connected;
    return when == When::Always || programState().connected;
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
