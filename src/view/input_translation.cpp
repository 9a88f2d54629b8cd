#include "view/input_translation.h"

#include <QAbstractButton>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTreeView>
#include <algorithm>

#include "ui/list_view.h"
#include "ui/popup_menu.h"
#include "ui/status_bar.h"
#include "view/binding.h"
#include "view/file_list_model.h"
#include "view/window_layout.h"

namespace quillet {

namespace {

// Mouse buttons and modifier keys as the model's mouse events count them.
int ButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

bool IsActivationKey(int key) {
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter ||
           key == Qt::Key_Select;
}

using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

void RaiseMouse(const WindowLayout& layout, const MouseHandler& handler, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF at = mouse->position();
    quillet::Raise(handler, ButtonCode(mouse->button()), ShiftCode(mouse->modifiers()),
                   layout.toTwips(static_cast<int>(at.x())),
                   layout.toTwips(static_cast<int>(at.y())));
}

// Watches one widget's events; `filter` returns true for an event it has taken.
class EventTap : public QObject {
  public:
    EventTap(QObject* watched, std::function<bool(QEvent*)> filter)
        : QObject(watched), m_filter(std::move(filter)) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override { return m_filter(event); }

  private:
    std::function<bool(QEvent*)> m_filter;
};

}  // namespace

void TabToTheSelectedOption(QWidget* option) {
    new EventTap(option, [option](QEvent* event) {
        if (event->type() != QEvent::FocusIn) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        auto* self = qobject_cast<QAbstractButton*>(option);
        if (!self || self->isChecked() ||
            (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason))
            return false;
        for (auto* sibling :
             option->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
            if (sibling->autoExclusive() && sibling->isChecked() && sibling->isVisible()) {
                sibling->setFocus(reason);
                break;
            }
        }
        return false;
    });
}

void ClickOnReleaseOrKey(QWidget* widget, std::function<void()> click) {
    new EventTap(widget, [widget, click = std::move(click)](QEvent* event) {
        if (event->type() == QEvent::KeyPress) {
            if (!IsActivationKey(static_cast<QKeyEvent*>(event)->key())) return false;
            click();
            return true;
        }
        if (event->type() != QEvent::MouseButtonRelease) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !widget->rect().contains(mouse->position().toPoint()))
            return false;
        click();
        return true;
    });
}

void TranslateStatusBarInput(WindowLayout& layout, StatusBar& bar, QStatusBar* widget) {
    new EventTap(widget, [&layout, &bar, widget](QEvent* event) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                RaiseMouse(layout, bar.MouseDown, event);
                return true;
            case QEvent::MouseButtonRelease: {
                RaiseMouse(layout, bar.MouseUp, event);
                const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
                if (widget->rect().contains(at)) quillet::Raise(bar.Click);
                return true;
            }
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                if (!IsActivationKey(key->key()) || key->isAutoRepeat()) return false;
                // A press of the key is a click at the bar's start: down, up, click.
                quillet::Raise(bar.MouseDown, 1, 0, 0.0f, 0.0f);
                quillet::Raise(bar.MouseUp, 1, 0, 0.0f, 0.0f);
                quillet::Raise(bar.Click);
                return true;
            }
            default:
                return false;
        }
    });
}

void TranslateListInput(WindowLayout& layout, ListView& list, QTreeView* view, FileListModel* model,
                        PopupPlace& popupPlace) {
    // The program opens its menu on the release; the list still sees the event after.
    new EventTap(view->viewport(), [&layout, &list](QEvent* event) {
        if (event->type() == QEvent::MouseButtonRelease) RaiseMouse(layout, list.MouseUp, event);
        return false;
    });
    new EventTap(view, [&layout, &list, view, model, &popupPlace](QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QModelIndex current = view->currentIndex();
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            if (!current.isValid()) return false;
            // The same path as a click on the check box, so the names are recomputed.
            const QModelIndex box = model->index(current.row(), 0);
            const bool checked =
                box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
            model->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            return true;
        }
        const bool menuKey = key->key() == Qt::Key_Menu ||
                             (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (!menuKey) return false;
        // The program opens its menu when the right button is let go over the list; from the
        // keyboard, that happens at the current row.
        QRect row = current.isValid() ? view->visualRect(current) : QRect();
        if (!row.isValid() || !view->viewport()->rect().intersects(row)) row = QRect(0, 0, 1, 1);
        const QPoint at(row.left() + std::min(row.width(), layout.toPixels(600)), row.center().y());
        popupPlace.at = view->viewport()->mapToGlobal(at);
        popupPlace.fromKeyboard = true;
        quillet::Raise(list.MouseUp, 2, ShiftCode(key->modifiers() & ~Qt::ShiftModifier),
                       layout.toTwips(at.x()), layout.toTwips(at.y()));
        popupPlace.fromKeyboard = false;
        return true;
    });
}

void BindPopupMenu(Binding& binding, PopupMenu& menu, QWidget* owner, PopupPlace& place) {
    std::weak_ptr<int> alive = binding.alive();
    menu.Show = [alive, owner, &place](PopupMenu& shown) {
        if (alive.expired()) return;
        QMenu popup(owner);
        popup.setObjectName(shown.name());
        for (int position = 0; position < shown.entryCount(); ++position) {
            const MenuEntry& entry = shown.entry(position);
            QAction* action =
                entry.isSeparator() ? popup.addSeparator() : popup.addAction(entry.caption);
            action->setObjectName(entry.name);
            action->setData(position);
        }
        QAction* chosen = popup.exec(place.fromKeyboard ? place.at : QCursor::pos());
        if (chosen) shown.choose(chosen->data().toInt());
    };
}

}  // namespace quillet
