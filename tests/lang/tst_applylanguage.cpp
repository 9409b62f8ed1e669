#include "ApplyLanguage.h"
#include "TextTable.h"
#include "Translate.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace r73;

namespace {

/// A stand-in for the main window carrying a representative share of its element names, with
/// the captions its form gives them.
class MiniForm : public QWidget
{
public:
    MiniForm()
    {
        setWindowTitle(QStringLiteral("R73-Controller Demo-Version"));
        // Another window parented to this one, made first, reuses a name of the form.
        dialog = new QDialog(this);
        auto* foreign = new QGroupBox(dialog);
        foreign->setObjectName(QStringLiteral("GroupBox1"));
        foreign->setTitle(QStringLiteral("Sprachauswahl"));
        auto* layout = new QVBoxLayout(this);
        auto* connection = add<QGroupBox>(layout, "GroupBox10");
        connection->setTitle(QStringLiteral("Verbindung"));
        add<QPushButton>(layout, "Button3")->setText(QStringLiteral("&Verbinden"));
        add<QPushButton>(layout, "Button7")->setText(QStringLiteral("&Schnittstelle"));
        add<QLabel>(layout, "Label33")->setText(QStringLiteral("ext. Anwahl"));
        add<QLabel>(layout, "Label34");
        add<QPushButton>(layout, "bbtnZurueck");
        add<QPushButton>(layout, "BitBtn10");
        add<QLabel>(layout, "Label29");
        add<QLabel>(layout, "Label37")->setText(QStringLiteral("1 / 2403"));
        for (const char* name : {"Edit1", "Edit3", "Edit4"})
            add<QLineEdit>(layout, name)->setText(QStringLiteral("208"));

        notebook = add<QTabWidget>(layout, "TabbedNotebook1");
        for (const char* caption : {"SPANNEN", "ZEITEN", "PLANANLAGE", "SCHWINGUNG", "SERVICE",
                                    "LOGBUCH", "ANALOG1", "ANALOG2", "ANALOG3", "ANALOGWERTE"})
            notebook->addTab(new QWidget, QLatin1String(caption));
        // Page elements live deeper in the tree, inside the notebook's pages.
        auto* page0 = new QVBoxLayout(notebook->widget(0));
        add<QGroupBox>(page0, "GroupBox1");
        add<QPushButton>(page0, "Button1");
        auto* page2 = new QVBoxLayout(notebook->widget(2));
        add<QCheckBox>(page2, "cbHydr");
        auto* page4 = new QVBoxLayout(notebook->widget(4));
        add<QLabel>(page4, "Label66");
        auto* page5 = new QVBoxLayout(notebook->widget(5));
        list = add<QTreeWidget>(page5, "ListView1");
        list->setHeaderLabels({QStringLiteral("Nr"), QStringLiteral("Datum"),
                               QStringLiteral("Uhrzeit"), QStringLiteral("Spannen"),
                               QStringLiteral("Ergebnis"), QStringLiteral("Lösen"),
                               QStringLiteral("Ergebnis")});
        auto* page6 = new QVBoxLayout(notebook->widget(6));
        add<QLabel>(page6, "pnAnalog1");
        add<QCheckBox>(page6, "ckbKanalAktiv_1");
    }

    template <class T> T* add(QLayout* layout, const char* name)
    {
        auto* w = new T;
        w->setObjectName(QLatin1String(name));
        layout->addWidget(w);
        return w;
    }

    QString caption(const QString& name) const
    {
        QWidget* w = nullptr;
        for (QWidget* candidate : findChildren<QWidget*>(name))
            if (candidate->window() == this) w = candidate;
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
        return QStringLiteral("<missing %1>").arg(name);
    }

    QTabWidget* notebook = nullptr;
    QTreeWidget* list = nullptr;
    QDialog* dialog = nullptr;
};

} // namespace

class TestApplyLanguage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captions_data();
    void captions();
    void tabs_data();
    void tabs();
    void columns_data();
    void columns();
    void portStatusRefreshedAfterConnectionGroup();
    void otherWindowsUntouched();
    void sparseWindowTolerated();
};

void TestApplyLanguage::init()
{
    BuildTextTable();
}

void TestApplyLanguage::cleanup()
{
    CurrentLanguage = 0;
    ReleaseTextTable();
}

void TestApplyLanguage::captions_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("object"); // empty: the window title
    QTest::addColumn<QString>("expected");

    const auto row = [](int language, const char* object, const char* expected) {
        QTest::addRow("%d %s", language, *object ? object : "title")
            << language << QString::fromUtf8(object) << QString::fromUtf8(expected);
    };
    // The start-up demo suffix is not added again.
    row(0, "", "R73-Controller");
    row(1, "", "R73-Controller");
    row(0, "GroupBox10", "Verbindung");
    row(1, "GroupBox10", "Connection");
    row(1, "Button3", "&Connect");
    row(1, "Label34", "int. State");
    row(1, "bbtnZurueck", "F2: <<"); // no row in the table
    row(1, "BitBtn10", "F7:CONNECT");
    row(0, "Label29", "SW-Version: 3.14");
    row(1, "Label29", "SW-Version: 3.14");
    row(1, "Label37", "xx");
    row(0, "Edit1", "");
    row(1, "Edit3", "");
    row(1, "Edit4", "");
    row(1, "GroupBox1", "RELEASE");
    row(0, "Button1", "Speichern");
    row(1, "Button1", "Save");
    row(1, "cbHydr", "active");
    row(1, "Label66", "Vibration ");
    row(1, "pnAnalog1", "Analoge1 require R73-Bios_Version 3.00");
    row(1, "ckbKanalAktiv_1", "Channel active");
}

void TestApplyLanguage::captions()
{
    QFETCH(int, language);
    QFETCH(QString, object);
    QFETCH(QString, expected);

    MiniForm form;
    CurrentLanguage = language;
    ApplyLanguage(&form, {});
    QCOMPARE(object.isEmpty() ? form.windowTitle() : form.caption(object), expected);
    // Qt's own buttons follow the window's language.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
             language == 0 ? QStringLiteral("Abbrechen") : QStringLiteral("Cancel"));
}

void TestApplyLanguage::tabs_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("expected");

    const char* const english[] = {"CLAMP", "TIMES", "FLAT",       "VIBRATION", "SERVICE",
                                   "LOG",   "Druck", "Temperatur", "Weg",       "ANALOGE VALUES"};
    for (int page = 0; page < 10; ++page)
        QTest::addRow("page %d", page) << page << QString::fromLatin1(english[page]);
}

void TestApplyLanguage::tabs()
{
    QFETCH(int, page);
    QFETCH(QString, expected);

    MiniForm form;
    // The channel tabs carry names read from the controller, which must survive.
    form.notebook->setTabText(6, QStringLiteral("Druck"));
    form.notebook->setTabText(7, QStringLiteral("Temperatur"));
    form.notebook->setTabText(8, QStringLiteral("Weg"));
    CurrentLanguage = 1;
    ApplyLanguage(&form, {});
    QCOMPARE(form.notebook->tabText(page), expected);
}

void TestApplyLanguage::columns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");

    const char* const english[] = {"No",     "Datum",   "Uhrzeit", "Clamp",
                                   "Result", "RELEASE", "Result"};
    for (int column = 0; column < 7; ++column)
        QTest::addRow("column %d", column) << column << QString::fromLatin1(english[column]);
}

void TestApplyLanguage::columns()
{
    QFETCH(int, column);
    QFETCH(QString, expected);

    MiniForm form;
    CurrentLanguage = 1;
    ApplyLanguage(&form, {});
    QCOMPARE(form.list->columnCount(), 7);
    QCOMPARE(form.list->headerItem()->text(column), expected);
}

void TestApplyLanguage::portStatusRefreshedAfterConnectionGroup()
{
    MiniForm form;
    CurrentLanguage = 1;
    int calls = 0;
    QString button7AtCall;
    QString label33AtCall;
    ApplyLanguage(&form, [&] {
        ++calls;
        button7AtCall = form.caption(QStringLiteral("Button7"));
        label33AtCall = form.caption(QStringLiteral("Label33"));
    });
    QCOMPARE(calls, 1);
    QCOMPARE(button7AtCall, QStringLiteral("&Interface"));
    QCOMPARE(label33AtCall, QStringLiteral("ext. Anwahl"));
    QCOMPARE(form.caption(QStringLiteral("Label33")), QStringLiteral("ext. State"));
}

void TestApplyLanguage::otherWindowsUntouched()
{
    MiniForm form;
    CurrentLanguage = 1;
    ApplyLanguage(&form, {});
    auto* foreign = form.dialog->findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
    QVERIFY(foreign);
    QCOMPARE(foreign->title(), QStringLiteral("Sprachauswahl"));
}

void TestApplyLanguage::sparseWindowTolerated()
{
    // A window with few of the elements, a notebook of two pages and a list of two columns.
    QWidget form;
    auto* notebook = new QTabWidget(&form);
    notebook->setObjectName(QStringLiteral("TabbedNotebook1"));
    notebook->addTab(new QWidget, QStringLiteral("SPANNEN"));
    notebook->addTab(new QWidget, QStringLiteral("ZEITEN"));
    auto* list = new QTreeWidget(&form);
    list->setObjectName(QStringLiteral("ListView1"));
    list->setHeaderLabels({QStringLiteral("Nr"), QStringLiteral("Datum")});
    CurrentLanguage = 1;
    int calls = 0;
    ApplyLanguage(&form, [&calls] { ++calls; });
    QCOMPARE(calls, 1);
    QCOMPARE(form.windowTitle(), QStringLiteral("R73-Controller"));
    QCOMPARE(notebook->count(), 2);
    QCOMPARE(notebook->tabText(1), QStringLiteral("TIMES"));
    QCOMPARE(list->columnCount(), 2); // no columns added for the captions it lacks
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("No"));

    ApplyLanguage(nullptr, [&calls] { ++calls; });
    QCOMPARE(calls, 1);
}

QTEST_MAIN(TestApplyLanguage)
#include "tst_applylanguage.moc"
