#pragma once

#include <QPoint>
#include <functional>

class QStatusBar;
class QTreeView;
class QWidget;

namespace quillet {

class Binding;
class FileListModel;
class ListView;
class PopupMenu;
class StatusBar;
class WindowLayout;

// Where the next pop-up menu appears: at the mouse, or where the keyboard asked for it.
struct PopupPlace {
    QPoint at;
    bool fromKeyboard = false;
};

// The mouse and the keys as the model's events: mouse buttons and modifier keys in the
// model's codes, positions in twips.

// Tabbing into a group of exclusive buttons lands on the one that is selected, from where the
// arrows move the selection.
void TabToTheSelectedOption(QWidget* option);

// A left click (pressed and released on the widget) or an activation key on it runs `click`.
void ClickOnReleaseOrKey(QWidget* widget, std::function<void()> click);

// The whole status bar reports MouseDown, MouseUp and Click, whichever panel is under the
// pointer; an activation key is a click at its start.
void TranslateStatusBarInput(WindowLayout& layout, StatusBar& bar, QStatusBar* widget);

// The list reports MouseUp; the space key checks the current row as its check box does, and
// the menu key is a right button let go at the current row.
void TranslateListInput(WindowLayout& layout, ListView& list, QTreeView* view, FileListModel* model,
                        PopupPlace& popupPlace);

// The model's pop-up menu, shown where `place` says, the chosen entry handed back.
void BindPopupMenu(Binding& binding, PopupMenu& menu, QWidget* owner, PopupPlace& place);

}  // namespace quillet
