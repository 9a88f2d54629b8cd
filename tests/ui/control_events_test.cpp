#include <gtest/gtest.h>

#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/option_group.h"
#include "ui/tab_strip.h"
#include "ui/text_box.h"
#include "ui/toolbar.h"

namespace quillet {
namespace {

TEST(ControlEvents, TextBoxRaisesChangeOncePerRealChange) {
    TextBox box(QStringLiteral("Text1"), QStringLiteral("a"), {});
    int changes = 0;
    box.Change = [&] { ++changes; };
    box.setText(QStringLiteral("a"));
    EXPECT_EQ(changes, 0);
    box.setText(QStringLiteral("b"));
    box.setText(QStringLiteral("b"));
    EXPECT_EQ(changes, 1);
    box.setText(QString());
    EXPECT_EQ(changes, 2);
}

TEST(ControlEvents, CheckBoxComboAndOptionsRaiseClickOnlyOnChange) {
    CheckBox check(QStringLiteral("Check1"), {}, {});
    ComboBox combo(QStringLiteral("Combo1"), {QStringLiteral("a"), QStringLiteral("b")}, {});
    OptionGroup options(QStringLiteral("Option1"));
    options.add(0, {}, {});
    options.add(1, {}, {});
    int checks = 0, combos = 0;
    std::vector<int> optionClicks;
    check.Click = [&] { ++checks; };
    combo.Click = [&] { ++combos; };
    options.Click = [&](int index) { optionClicks.push_back(index); };

    check.setValue(1);
    check.setValue(1);
    check.setValue(0);
    combo.setListIndex(0);
    combo.setListIndex(0);
    combo.setListIndex(7);  // no such item
    options[1].select();
    options[1].select();
    options[0].select();

    EXPECT_EQ(checks, 2);
    EXPECT_EQ(combos, 1);
    EXPECT_EQ(optionClicks, (std::vector<int>{1, 0}));
    EXPECT_TRUE(options[0].value());
    EXPECT_FALSE(options[1].value());
}

TEST(ControlEvents, NestedEventCompletesBeforeTheWriterContinues) {
    TextBox first(QStringLiteral("Text1"), {}, {});
    TextBox second(QStringLiteral("Text2"), {}, {});
    std::vector<QString> order;
    first.Change = [&] {
        order.push_back(QStringLiteral("first begins"));
        second.setText(QStringLiteral("1"));
        order.push_back(QStringLiteral("first ends"));
    };
    second.Change = [&] { order.push_back(QStringLiteral("second")); };
    first.setText(QStringLiteral("x"));
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("first begins"), QStringLiteral("second"),
                                           QStringLiteral("first ends")}));
}

TEST(ControlEvents, TabStripAnnouncesAUsersChangeBeforeItHappens) {
    TabStrip tabs(QStringLiteral("TabStrip1"));
    for (int i = 0; i < 3; ++i) tabs.addTab({});
    std::vector<QString> order;
    tabs.BeforeClick = [&](bool&) {
        order.push_back(QStringLiteral("before ") + QString::number(tabs.selectedIndex()));
    };
    tabs.Click = [&] {
        order.push_back(QStringLiteral("click ") + QString::number(tabs.selectedIndex()));
    };

    tabs.userSelect(2);
    tabs.select(3);  // from code: no before-change notice
    tabs.select(3);
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("before 1"), QStringLiteral("click 2"),
                                           QStringLiteral("click 3")}));

    tabs.BeforeClick = [](bool& cancel) { cancel = true; };
    tabs.userSelect(1);
    EXPECT_EQ(tabs.selectedIndex(), 3);
}

TEST(ControlEvents, ToolbarButtonFlipsBeforeItsClickIsRaised) {
    Toolbar bar(QStringLiteral("Toolbar1"));
    bar.addButton({QStringLiteral("Desktop"), {}});
    std::vector<int> seen;
    bar.ButtonClick = [&](int index) { seen.push_back(bar.button(index).value); };
    bar.userClick(1);
    bar.userClick(1);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
}

}  // namespace
}  // namespace quillet
