#pragma once
/// Reads the main window's controls by their form names, as the logbook and the service report
/// take what the window shows.

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace r73 {

/// Value lines of one page: label and field.
struct Pair
{
    const char* label;
    const char* field;
};

/// Reads the main window's controls by their form names. The language dialog and the version
/// window are children of the main window and reuse some names, so only controls of the main
/// window itself count.
class WindowReader
{
public:
    explicit WindowReader(QWidget* window) : m_window(window) {}

    template <class T> T* find(const char* name) const
    {
        for (T* w : m_window->findChildren<T*>(QString::fromLatin1(name)))
            if (w->window() == m_window) return w;
        return nullptr;
    }

    QString text(const char* name) const
    {
        const QWidget* w = find<QWidget>(name);
        if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
        if (auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
        if (auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
        return {};
    }

    /// Not hidden by the program (the page it sits on need not be the one shown).
    bool shown(const char* name) const
    {
        const QWidget* w = find<QWidget>(name);
        return w && !w->isHidden();
    }

    bool checked(const char* name) const
    {
        const auto* button = find<QAbstractButton>(name);
        return button && button->isChecked();
    }

    QString pageCaption(int page) const
    {
        const auto* book = find<QTabWidget>("TabbedNotebook1");
        return book ? book->tabText(page) : QString();
    }

private:
    QWidget* m_window;
};

/// One channel's controls: the unit, range top and bottom and the four limits (Max2, Max1,
/// Min1, Min2) with their labels, the active box and the input level's group and buttons.
struct Channel
{
    Pair values[7];
    const char* active;
    const char* level;
    const char* firstLevel;
    const char* secondLevel;
};

inline constexpr Channel ChannelControls[3] = {
    {{{"Label74", "edtPhysEinh_1"},
      {"Label77", "edtMax_1"},
      {"Label78", "edtMin_1"},
      {"Label70", "edtMax2_1"},
      {"Label69", "edtMax1_1"},
      {"Label75", "edtMin1_1"},
      {"Label68", "edtMin2_1"}},
     "ckbKanalAktiv_1",
     "GroupBox21",
     "rbPos1_1",
     "rbPos2_1"},
    {{{"Label84", "edtPhysEinh_2"},
      {"Label79", "edtMax_2"},
      {"Label76", "edtMin_2"},
      {"Label83", "edtMax2_2"},
      {"Label82", "edtMax1_2"},
      {"Label81", "edtMin1_2"},
      {"Label80", "edtMin2_2"}},
     "ckbKanalAktiv_2",
     "GroupBox23",
     "rbPos1_2",
     "rbPos2_2"},
    {{{"Label92", "edtPhysEinh_3"},
      {"Label87", "edtMax_3"},
      {"Label86", "edtMin_3"},
      {"Label91", "edtMax2_3"},
      {"Label90", "edtMax1_3"},
      {"Label89", "edtMin1_3"},
      {"Label88", "edtMin2_3"}},
     "ckbKanalAktiv_3",
     "GroupBox25",
     "rbPos1_3",
     "rbPos2_3"},
};

} // namespace r73
