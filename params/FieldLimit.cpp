#include "FieldLimit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <memory>

namespace r73 {

namespace {

const FieldLimit* limitOf(const QLineEdit* edit)
{
    return dynamic_cast<const FieldLimit*>(edit->validator());
}

void insertWithinLimit(QLineEdit* edit, const QString& text)
{
    const FieldLimit* limit = limitOf(edit);
    const qsizetype room = limit->length() - (edit->text().size() - edit->selectedText().size());
    // One line only: the rest of a pasted block would not be a number of this field anyway.
    const QString line = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    edit->insert(line.left(qMax<qsizetype>(room, 0)));
}

} // namespace

void limitField(QLineEdit* edit)
{
    const int length = edit->maxLength();
    edit->setMaxLength(32767);
    edit->setValidator(new FieldLimit(length, edit));
}

bool pasteWithinLimit(QLineEdit* edit, QEvent* event)
{
    if (!limitOf(edit) || edit->isReadOnly()) return false;
    QClipboard* clipboard = QApplication::clipboard();
    switch (event->type()) {
    case QEvent::KeyPress:
        if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) return false;
        insertWithinLimit(edit, clipboard->text());
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
            !clipboard->supportsSelection())
            return false;
        insertWithinLimit(edit, clipboard->text(QClipboard::Selection));
        return true;
    case QEvent::ContextMenu: {
        std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->objectName() != QLatin1String("edit-paste")) continue;
            action->disconnect();
            QObject::connect(action, &QAction::triggered, edit,
                             [edit, clipboard] { insertWithinLimit(edit, clipboard->text()); });
        }
        menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    default:
        return false;
    }
}

} // namespace r73
