#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <functional>

#include "view/file_list_model.h"
#include "window_fixture.h"

namespace quillet::test {
namespace {

// The ways a widget's state changes without the user's own mouse on it: assistive
// technology through its action and text interfaces, and Qt's own setters.
enum class Way { PressAction, ToggleAction, QtSetter };

const char* WayName(Way way) {
    switch (way) {
        case Way::PressAction:
            return "PressAction";
        case Way::ToggleAction:
            return "ToggleAction";
        case Way::QtSetter:
            return "QtSetter";
    }
    return "";
}

std::string NameOf(const ::testing::TestParamInfo<Way>& info) {
    return WayName(info.param);
}

QAccessibleInterface* AccessibleOf(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(accessible, nullptr) << widget->objectName().toStdString();
    return accessible;
}

// Changes a two-state button the given way; true once the widget shows `checked`.
bool ChangeButton(QAbstractButton* button, Way way, bool checked) {
    QAccessibleInterface* accessible = AccessibleOf(button);
    if (!accessible || !accessible->actionInterface()) return false;
    switch (way) {
        case Way::PressAction:
            // A press is an animated click: it lands a moment later, from the event loop.
            accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            break;
        case Way::ToggleAction:
            accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            break;
        case Way::QtSetter:
            button->setChecked(checked);
            break;
    }
    return QTest::qWaitFor([button, checked] { return button->isChecked() == checked; }, 2000);
}

// Counts how often a model event is raised, the program's handler still running behind it.
template <typename... Args>
std::shared_ptr<int> CountRaises(std::function<void(Args...)>& handler) {
    auto raised = std::make_shared<int>(0);
    handler = [raised, inner = handler](Args... args) {
        ++*raised;
        if (inner) inner(args...);
    };
    return raised;
}

class ButtonState : public WindowFixture, public ::testing::WithParamInterface<Way> {
  protected:
    void SetUp() override { load(); }
};

TEST_P(ButtonState, ACheckBoxChangedWithoutTheMouseReachesTheModelOnce) {
    CheckBox& descending = window->form().Check2;
    auto* box = widget<QAbstractButton>(QStringLiteral("Check2"));
    const auto raised = CountRaises(descending.Click);
    const QString firstBefore = window->form().LV.row(1).text;

    ASSERT_TRUE(ChangeButton(box, GetParam(), true));
    EXPECT_EQ(descending.value(), 1);
    EXPECT_EQ(*raised, 1);
    EXPECT_NE(window->form().LV.row(1).text, firstBefore) << "the list was not sorted again";

    ASSERT_TRUE(ChangeButton(box, GetParam(), false));
    EXPECT_EQ(descending.value(), 0);
    EXPECT_EQ(*raised, 2);
}

TEST_P(ButtonState, ASortOptionSelectedWithoutTheMouseClearsTheOthersInModelAndWindow) {
    OptionGroup& sort = window->form().Option1;
    const auto raised = CountRaises(sort.Click);
    auto* byDate = widget<QAbstractButton>(QStringLiteral("Option1(3)"));

    ASSERT_TRUE(ChangeButton(byDate, GetParam(), true));
    EXPECT_EQ(sort.selectedIndex(), 3);
    EXPECT_EQ(*raised, 1);
    int shownChecked = 0;
    for (int index = 0; index < sort.count(); ++index) {
        auto* option = widget<QAbstractButton>(sort[index].name());
        if (option->isChecked()) ++shownChecked;
    }
    EXPECT_EQ(shownChecked, 1) << "two sort options show as selected";
}

TEST_P(ButtonState, ATwoStateToolBarButtonReachesTheModelOnce) {
    window->form().Command3.click();
    settle();
    Toolbar& toolbar = window->form().Toolbar1;
    // What a click does is the handler's business; here only that it comes, once.
    int raised = 0;
    toolbar.ButtonClick = [&raised](int) { ++raised; };
    auto* desktop = widget<QAbstractButton>(QStringLiteral("Toolbar1(1)"));

    ASSERT_TRUE(ChangeButton(desktop, GetParam(), true));
    EXPECT_EQ(toolbar.button(1).value, 1);
    EXPECT_EQ(raised, 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, ButtonState,
                         ::testing::Values(Way::PressAction, Way::ToggleAction, Way::QtSetter),
                         NameOf);

class StateBinding : public WindowFixture {
  protected:
    void SetUp() override { load(); }
};

TEST_F(StateBinding, SortOptionsAreExclusiveRadioButtonsToAssistiveTechnology) {
    for (int index = 0; index < window->form().Option1.count(); ++index) {
        QAccessibleInterface* option =
            AccessibleOf(widget<QWidget>(window->form().Option1[index].name()));
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(option->role(), QAccessible::RadioButton) << index;
    }
}

TEST_F(StateBinding, ToolBarButtonsAreToggleButtons) {
    for (const char* name : {"Toolbar1(1)", "Toolbar1(2)"}) {
        QAccessibleInterface* button = AccessibleOf(widget<QWidget>(QString::fromLatin1(name)));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->state().checkable) << name;
        EXPECT_TRUE(button->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()))
            << name;
    }
}

struct TextWay {
    const char* name;
    std::function<void(QLineEdit*, const QString&)> write;
};

std::string TextWayName(const ::testing::TestParamInfo<TextWay>& info) {
    return info.param.name;
}

class TextState : public WindowFixture, public ::testing::WithParamInterface<TextWay> {
  protected:
    void SetUp() override { load(); }
};

TEST_P(TextState, APrefixWrittenWithoutTheKeyboardNamesTheFiles) {
    TextBox& prefix = window->form().Text1;
    const auto raised = CountRaises(prefix.Change);
    auto* edit = widget<QLineEdit>(QStringLiteral("Text1"));

    GetParam().write(edit, QStringLiteral("photo"));
    settle();
    EXPECT_EQ(prefix.text(), QStringLiteral("photo"));
    EXPECT_EQ(*raised, 1);
    EXPECT_TRUE(window->form().LV.row(1).newName.startsWith(QLatin1String("photo")))
        << window->form().LV.row(1).newName.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TextState,
    ::testing::Values(TextWay{"EditableTextReplace",
                              [](QLineEdit* edit, const QString& text) {
                                  QAccessibleInterface* accessible = AccessibleOf(edit);
                                  ASSERT_NE(accessible->editableTextInterface(), nullptr);
                                  accessible->editableTextInterface()->replaceText(
                                      0, static_cast<int>(edit->text().size()), text);
                              }},
                      TextWay{"AccessibleValue",
                              [](QLineEdit* edit, const QString& text) {
                                  AccessibleOf(edit)->setText(QAccessible::Value, text);
                              }},
                      TextWay{"QtSetter",
                              [](QLineEdit* edit, const QString& text) { edit->setText(text); }}),
    TextWayName);

TEST_F(StateBinding, AFileTypeChosenByQtReachesTheModelOnce) {
    ComboBox& types = window->form().Combo1;
    const auto raised = CountRaises(types.Click);
    widget<QComboBox>(QStringLiteral("Combo1"))->setCurrentIndex(1);
    EXPECT_EQ(types.listIndex(), 1);
    EXPECT_EQ(*raised, 1);
}

TEST_F(StateBinding, ATabChosenByAssistiveTechnologyReachesTheModelOnce) {
    TabStrip& tabs = window->form().TabStrip1;
    const auto raised = CountRaises(tabs.Click);
    auto* bar = widget<QTabBar>(QStringLiteral("TabStrip1"));
    QAccessibleInterface* strip = AccessibleOf(bar);
    ASSERT_NE(strip, nullptr);
    QAccessibleInterface* second = strip->child(1);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second->actionInterface(), nullptr);
    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs.selectedIndex(), 2);
    EXPECT_EQ(bar->currentIndex(), 1);
    EXPECT_EQ(*raised, 1);
}

// The model's own writes are shown, and are not taken for the user's a second time.
TEST_F(StateBinding, ModelWritesDoNotEchoBack) {
    Form1& form = window->form();
    const auto checkRaised = CountRaises(form.Check2.Click);
    const auto optionRaised = CountRaises(form.Option1.Click);
    const auto textRaised = CountRaises(form.Text1.Change);
    const auto comboRaised = CountRaises(form.Combo1.Click);
    const auto tabRaised = CountRaises(form.TabStrip1.Click);

    // One at a time: a new file type rebuilds the list, which writes the prefix again.
    form.Check2.setValue(1);
    settle();
    EXPECT_EQ(*checkRaised, 1);
    form.Option1.select(2);
    settle();
    EXPECT_EQ(*optionRaised, 1);
    form.Text1.setText(QStringLiteral("trip_"));
    settle();
    EXPECT_EQ(*textRaised, 1);
    EXPECT_EQ(widget<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("trip_"));
    form.Combo1.setListIndex(2);
    settle();
    EXPECT_EQ(*comboRaised, 1);
    form.TabStrip1.select(2);
    settle();
    EXPECT_EQ(*tabRaised, 1);

    EXPECT_TRUE(widget<QAbstractButton>(QStringLiteral("Check2"))->isChecked());
    EXPECT_TRUE(widget<QAbstractButton>(QStringLiteral("Option1(2)"))->isChecked());
    EXPECT_FALSE(widget<QAbstractButton>(QStringLiteral("Option1(1)"))->isChecked());
    EXPECT_EQ(widget<QLineEdit>(QStringLiteral("Text1"))->text(), form.Text1.text());
    EXPECT_EQ(widget<QComboBox>(QStringLiteral("Combo1"))->currentIndex(), 2);
    EXPECT_EQ(widget<QTabBar>(QStringLiteral("TabStrip1"))->currentIndex(), 1);
}

// A change the model does not take is put back at once.
TEST_F(StateBinding, AWidgetTheModelOverrulesShowsTheModelsState) {
    CheckBox& descending = window->form().Check2;
    descending.Click = [&descending] { descending.setValue(0); };
    auto* box = widget<QAbstractButton>(QStringLiteral("Check2"));
    box->setChecked(true);
    EXPECT_EQ(descending.value(), 0);
    EXPECT_FALSE(box->isChecked());
}

// The list's item model as the program drives it: rebuilds, passes, checks and sorts.
TEST_F(StateBinding, TheListsItemModelPassesQtsChecksWhileTheProgramWorks) {
    Form1& form = window->form();
    const QStringList faults = ItemModelFaults(view->listModel(), [&form] {
        form.Text1.setText(QStringLiteral("trip_"));
        settle();
        form.LV.userSetChecked(1, false);
        settle();
        form.Option1.select(3);
        settle();
        form.Command3.click();
        settle();
        form.Text4.setText(QStringLiteral("*.txt"));
        settle();
        form.Text4.setText(QStringLiteral("*.*"));
        settle();
    });
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace quillet::test
