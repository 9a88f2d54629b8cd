#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <vector>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/option_group.h"
#include "ui/toolbar.h"
#include "view/binding.h"
#include "view/control_binders.h"
#include "view/input_translation.h"
#include "view/window_layout.h"

namespace quillet {

void BindCheckBox(Binding& binding, CheckBox& checkBox, QWidget* parent) {
    auto* box = new QCheckBox(parent);
    binding.layout().add(checkBox, box, WindowLayout::Anchor::Fixed);
    auto sync = binding.follow(checkBox, [&binding, &checkBox, box] {
        box->setText(checkBox.caption());
        box->setChecked(checkBox.isOn());
        binding.showCommon(checkBox, box);
    });
    binding.onChange(box, &QCheckBox::toggled, [&checkBox, sync](bool checked) {
        checkBox.setValue(checked ? 1 : 0);
        sync();
    });
}

void BindOption(Binding& binding, OptionButton& option, QWidget* parent) {
    auto* radio = new QRadioButton(parent);
    radio->setAutoExclusive(option.exclusive());
    TabToTheSelectedOption(radio);
    binding.layout().add(option, radio, WindowLayout::Anchor::Fixed);
    auto sync = binding.follow(option, [&binding, &option, radio] {
        radio->setText(option.caption());
        // An exclusive button refuses to be cleared; the model may clear it all the same.
        radio->setAutoExclusive(false);
        radio->setChecked(option.value());
        radio->setAutoExclusive(option.exclusive());
        binding.showCommon(option, radio);
    });
    // An option is cleared only by selecting another, which reports itself.
    binding.onChange(radio, &QRadioButton::toggled, [&option, sync](bool checked) {
        if (!checked) return;
        option.select();
        sync();
    });
}

QPushButton* BindCommand(Binding& binding, Button& button, QWidget* parent,
                         std::function<void()> press) {
    auto* push = new QPushButton(parent);
    push->setAutoDefault(false);
    binding.layout().add(button, push, WindowLayout::Anchor::Fixed);
    binding.follow(button, [&binding, &button, push] {
        push->setText(button.caption());
        binding.showCommon(button, push);
    });
    QObject::connect(push, &QPushButton::clicked, &binding.context(), std::move(press));
    return push;
}

QLabel* BindLabel(Binding& binding, Button& label, QWidget* parent) {
    auto* text = new QLabel(parent);
    text->setWordWrap(false);
    binding.layout().add(label, text, WindowLayout::Anchor::Fixed);
    binding.follow(label, [&binding, &label, text] {
        text->setText(label.caption());
        binding.showCommon(label, text);
    });
    if (label.clickable()) {
        text->setCursor(Qt::PointingHandCursor);
        // A label that acts is reached by the keyboard like a button.
        text->setFocusPolicy(Qt::TabFocus);
        ClickOnReleaseOrKey(text, [&label] { label.click(); });
    }
    return text;
}

void BindToolbar(Binding& binding, Toolbar& toolbar, QWidget* parent) {
    auto* bar = new QWidget(parent);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(binding.layout().toPixels(60));
    binding.layout().add(toolbar, bar, WindowLayout::Anchor::Fixed);
    std::vector<QToolButton*> buttons;
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DesktopIcon, QStyle::SP_DirLinkIcon};
    for (int i = 1; i <= toolbar.buttonCount(); ++i) {
        auto* button = new QToolButton(bar);
        button->setObjectName(toolbar.name() + QLatin1Char('(') + QString::number(i) +
                              QLatin1Char(')'));
        button->setCheckable(toolbar.button(i).twoState);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        // The style finds its icons in the desktop's icon themes, which takes longer than
        // drawing the whole window; the bar is in extended mode and off screen when the
        // window opens.
        if (i <= 2) {
            binding.whenDrawn([button, icon = icons[i - 1]] {
                button->setIcon(button->style()->standardIcon(icon));
            });
        }
        layout->addWidget(button);
        buttons.push_back(button);
    }
    auto sync = binding.follow(toolbar, [&binding, &toolbar, bar, buttons] {
        for (int i = 1; i <= toolbar.buttonCount() && i <= static_cast<int>(buttons.size()); ++i) {
            QToolButton* button = buttons[static_cast<size_t>(i - 1)];
            button->setText(toolbar.button(i).caption);
            button->setToolTip(toolbar.button(i).toolTip);
            button->setAccessibleName(toolbar.button(i).caption);
            button->setAccessibleDescription(toolbar.button(i).toolTip);
            button->setChecked(toolbar.button(i).value == 1);
        }
        binding.showCommon(toolbar, bar);
        // The bar's own tool tip would hide the buttons' tool tips.
        bar->setToolTip(toolbar.toolTip());
    });
    for (size_t i = 0; i < buttons.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        auto press = [&toolbar, sync, index](auto...) {
            toolbar.userClick(index);
            sync();
        };
        // A two-state button has toggled when it reports; a plain one only clicks.
        if (toolbar.button(index).twoState)
            binding.onChange(buttons[i], &QToolButton::toggled, press);
        else
            binding.onChange(buttons[i], &QToolButton::clicked, press);
    }
}

}  // namespace quillet
