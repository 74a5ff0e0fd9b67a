#include "platform/ScreenKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace {

// Sees the keys the focused control leaves unused on their way up to the screen.
class EscapePresser : public QObject {
public:
    EscapePresser(QWidget *screen, QAbstractButton *button) : QObject(screen), button_(button) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
            && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier && button_ && button_->isEnabled()
            && button_->isVisible()) {
            button_->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QAbstractButton> button_;
};

} // namespace

namespace ScreenKeys {

void install(QWidget *screen, QAbstractButton *escapeButton)
{
    for (QPushButton *button : screen->findChildren<QPushButton *>())
        button->setAutoDefault(true);
    if (escapeButton)
        screen->installEventFilter(new EscapePresser(screen, escapeButton));
}

} // namespace ScreenKeys
