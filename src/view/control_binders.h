#pragma once

#include <functional>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QWidget;

namespace quillet {

class Binding;
class Button;
class CheckBox;
class ComboBox;
class Control;
class OptionButton;
class ProgressBar;
class StatusBar;
class TabStrip;
class TextBox;
class Toolbar;

// One binder per control type: each makes the widget that shows its control, keeps it in line
// with the model and hands what changes on screen back to the model, through `binding`.

void BindTitle(Binding& binding, Control& form, QWidget* window);
QGroupBox* BindFrame(Binding& binding, Control& frame, QWidget* parent);
void BindTextBox(Binding& binding, TextBox& textBox, QWidget* parent);
// A text of several lines, with line ends as the model keeps them (CR LF).
void BindMultiLineText(Binding& binding, TextBox& textBox, QWidget* parent);
void BindCheckBox(Binding& binding, CheckBox& checkBox, QWidget* parent);
void BindOption(Binding& binding, OptionButton& option, QWidget* parent);
void BindComboBox(Binding& binding, ComboBox& combo, QWidget* parent);
void BindTabStrip(Binding& binding, TabStrip& tabs, QWidget* parent);
void BindToolbar(Binding& binding, Toolbar& toolbar, QWidget* parent);
// A press of the button runs `press`, which clicks the model's button.
QPushButton* BindCommand(Binding& binding, Button& button, QWidget* parent,
                         std::function<void()> press);
QLabel* BindLabel(Binding& binding, Button& label, QWidget* parent);
// `shown` runs after each change has been shown.
QProgressBar* BindProgressBar(Binding& binding, ProgressBar& bar, QWidget* parent,
                              std::function<void()> shown);
QStatusBar* BindStatusBar(Binding& binding, StatusBar& bar, QWidget* parent,
                          std::function<void()> shown);
QWidget* BindPanel(Binding& binding, Control& panel, QWidget* parent, std::function<void()> shown);

}  // namespace quillet
