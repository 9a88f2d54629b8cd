#include <QComboBox>
#include <QFrame>
#include <QTabBar>

#include "ui/combo_box.h"
#include "ui/tab_strip.h"
#include "view/binding.h"
#include "view/control_binders.h"
#include "view/window_layout.h"

namespace quillet {

void BindComboBox(Binding& binding, ComboBox& combo, QWidget* parent) {
    auto* box = new QComboBox(parent);
    binding.layout().add(combo, box, WindowLayout::Anchor::Fixed);
    auto sync = binding.follow(combo, [&binding, &combo, box] {
        QStringList shown;
        for (int i = 0; i < box->count(); ++i) shown.push_back(box->itemText(i));
        if (shown != combo.items()) {
            box->clear();
            box->addItems(combo.items());
        }
        box->setCurrentIndex(combo.listIndex());
        binding.showCommon(combo, box);
    });
    binding.onChange(box, &QComboBox::currentIndexChanged, [&combo, sync](int index) {
        combo.setListIndex(index);
        sync();
    });
}

void BindTabStrip(Binding& binding, TabStrip& tabs, QWidget* parent) {
    auto* area = new QWidget(parent);
    auto* pane = new QFrame(area);
    pane->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* bar = new QTabBar(area);
    bar->setExpanding(false);
    bar->setDrawBase(false);
    binding.layout().add(tabs, area, WindowLayout::Anchor::Fixed, [bar, pane](const QRect& rect) {
        const int barHeight = bar->sizeHint().height();
        bar->setGeometry(0, 0, rect.width(), barHeight);
        pane->setGeometry(0, barHeight - 1, rect.width(), rect.height() - barHeight + 1);
    });
    area->setObjectName(tabs.name() + QStringLiteral("_area"));
    bar->setObjectName(tabs.name());

    auto sync = binding.follow(tabs, [&binding, &tabs, bar, area] {
        for (int i = 1; i <= tabs.tabCount(); ++i) {
            if (i > bar->count()) bar->addTab(tabs.tab(i).caption);
            bar->setTabText(i - 1, tabs.tab(i).caption);
        }
        while (bar->count() > tabs.tabCount()) bar->removeTab(bar->count() - 1);
        bar->setCurrentIndex(tabs.selectedIndex() - 1);
        binding.showCommon(tabs, area);
    });
    // The bar has already switched when it reports a change; the model must be asked first
    // (it may refuse), so the bar goes back and shows whatever the model then selects.
    binding.onChange(bar, &QTabBar::currentChanged, [&tabs, sync](int index) {
        sync();
        tabs.userSelect(index + 1);
        sync();
    });
}

}  // namespace quillet
