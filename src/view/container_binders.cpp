#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHelpEvent>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolTip>
#include <memory>
#include <vector>

#include "ui/control.h"
#include "ui/progress_bar.h"
#include "ui/status_bar.h"
#include "view/binding.h"
#include "view/control_binders.h"
#include "view/frame_style.h"
#include "view/status_panel_label.h"
#include "view/window_layout.h"

namespace quillet {

namespace {

// A parked sheet lies below the window: the keyboard must not wander into it. A raised one
// takes the keyboard to its first control that acts, and gives it back where it was when the
// sheet is parked again.
void FollowSheet(QWidget* sheet, QPointer<QWidget>& focusBefore) {
    const bool parked = sheet->y() >= sheet->parentWidget()->height();
    const bool hadFocus = sheet->isAncestorOf(QApplication::focusWidget());
    bool anyStop = false;
    for (QWidget* child : sheet->findChildren<QWidget*>()) {
        // What a widget takes when the sheet is up is kept beside it.
        QVariant raised = child->property("quilletRaisedFocus");
        if (!raised.isValid()) {
            raised = static_cast<int>(child->focusPolicy());
            child->setProperty("quilletRaisedFocus", raised);
        }
        const auto policy = static_cast<Qt::FocusPolicy>(raised.toInt());
        child->setFocusPolicy(parked ? Qt::NoFocus : policy);
        if (policy == Qt::TabFocus) anyStop = true;
    }
    if (parked && hadFocus) {
        if (focusBefore) focusBefore->setFocus();
    } else if (!parked && sheet->y() == 0 && !hadFocus && sheet->isActiveWindow() && anyStop) {
        focusBefore = QApplication::focusWidget();
        // The first control of the sheet that acts, in the keyboard's order from here.
        QWidget* start = focusBefore ? focusBefore.data() : sheet;
        for (QWidget* next = start->nextInFocusChain(); next && next != start;
             next = next->nextInFocusChain()) {
            if (sheet->isAncestorOf(next) && next->focusPolicy() == Qt::TabFocus) {
                next->setFocus();
                break;
            }
        }
    }
}

// The panels let the mouse through to the bar, so the bar's tool tip would cover theirs: over a
// panel that has its own, that one is shown.
class PanelToolTips : public QObject {
  public:
    explicit PanelToolTips(QStatusBar* bar) : QObject(bar), m_bar(bar) {
        bar->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        for (StatusPanelLabel* panel : m_bar->findChildren<StatusPanelLabel*>()) {
            if (!panel->isVisible() || panel->toolTip().isEmpty()) continue;
            if (!panel->geometry().contains(help->pos())) continue;
            QToolTip::showText(help->globalPos(), panel->toolTip(), panel);
            return true;
        }
        return false;
    }

  private:
    QStatusBar* m_bar;
};

}  // namespace

void BindTitle(Binding& binding, Control& form, QWidget* window) {
    binding.follow(form, [&form, window] { window->setWindowTitle(form.caption()); });
}

namespace {

// One frame style for every frame of the program, over the program's own style.
QStyle* SharedFrameStyle() {
    static QPointer<FrameStyle> shared;
    if (!shared) {
        shared = new FrameStyle(QApplication::style()->name());
        shared->setParent(qApp);
    }
    return shared;
}

}  // namespace

QGroupBox* BindFrame(Binding& binding, Control& frame, QWidget* parent) {
    auto* box = new QGroupBox(parent);
    box->setStyle(SharedFrameStyle());
    binding.layout().add(frame, box, WindowLayout::Anchor::Fixed);
    binding.follow(frame, [&binding, &frame, box] {
        box->setTitle(frame.caption());
        binding.showCommon(frame, box);
    });
    return box;
}

QProgressBar* BindProgressBar(Binding& binding, ProgressBar& bar, QWidget* parent,
                              std::function<void()> shown) {
    auto* progress = new QProgressBar(parent);
    progress->setRange(0, 100);
    progress->setTextVisible(false);
    binding.layout().add(bar, progress, WindowLayout::Anchor::Bottom);
    progress->hide();
    auto lastValue = std::make_shared<int>(bar.value());
    binding.follow(bar, [&binding, &bar, progress, lastValue, shown = std::move(shown)] {
        // Each change of the model's bar comes on its own, and a pass moves the value a
        // hundred times, on every keystroke: placing the bar and writing its tool tip and
        // names again is left to the changes of anything else.
        const bool valueMoved = bar.value() != *lastValue;
        *lastValue = bar.value();
        // The bar comes on screen with the first frame `shown` draws: a pass over before then,
        // such as a keystroke's, leaves it hidden, and the rows under it are not drawn again.
        if (!valueMoved) binding.showCommon(bar, progress, false);
        // A shown bar paints itself at once on every visible step, a hundred times a pass:
        // its value moves only with the frames `shown` draws, which shows it.
        shown();
    });
    return progress;
}

QStatusBar* BindStatusBar(Binding& binding, StatusBar& bar, QWidget* parent,
                          std::function<void()> shown) {
    auto* statusBar = new QStatusBar(parent);
    statusBar->setSizeGripEnabled(true);
    // Choosing a folder is a click on the bar; the keyboard gets there too.
    statusBar->setFocusPolicy(Qt::TabFocus);
    binding.layout().add(bar, statusBar, WindowLayout::Anchor::Bottom);
    new PanelToolTips(statusBar);
    auto panels = std::make_shared<std::vector<StatusPanelLabel*>>();
    binding.follow(bar, [&binding, &bar, statusBar, panels, shown = std::move(shown)] {
        while (static_cast<int>(panels->size()) < bar.panelCount()) {
            auto* label = new StatusPanelLabel(statusBar);
            const int index = static_cast<int>(panels->size()) + 1;
            label->setObjectName(bar.name() + QLatin1Char('.') + bar.panel(index).key);
            // The whole bar reports the mouse, whichever panel is under it.
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            label->setIndent(binding.layout().toPixels(60));
            if (index == 1) {
                statusBar->addWidget(label, 1);
            } else {
                label->setMinimumWidth(binding.layout().toPixels(1500));
                statusBar->addWidget(label, 0);
            }
            panels->push_back(label);
        }
        for (int i = 1; i <= bar.panelCount(); ++i) {
            StatusPanelLabel* label = (*panels)[static_cast<size_t>(i - 1)];
            label->setFullText(bar.panel(i).text);
            label->setFrameStyle(
                QFrame::Panel |
                (bar.panel(i).bevel == Bevel::Raised ? QFrame::Raised : QFrame::Sunken));
            // A bevel change must show while the button is still held down.
            label->repaint();
            if (label->toolTip() != bar.panel(i).toolTip) {
                label->setToolTip(bar.panel(i).toolTip);
                label->setAccessibleDescription(bar.panel(i).toolTip);
            }
        }
        binding.showCommon(bar, statusBar);
        shown();
    });
    return statusBar;
}

QWidget* BindPanel(Binding& binding, Control& panel, QWidget* parent, std::function<void()> shown) {
    auto* sheet = new QWidget(parent);
    sheet->setAutoFillBackground(true);
    binding.layout().add(panel, sheet, WindowLayout::Anchor::Sheet);
    auto focusBefore = std::make_shared<QPointer<QWidget>>();
    binding.follow(panel, [&binding, &panel, sheet, focusBefore, shown = std::move(shown)] {
        binding.showCommon(panel, sheet);
        sheet->raise();
        // The sheet is slid frame by frame by the handler itself; each frame must show.
        if (sheet->isVisible()) sheet->repaint();
        FollowSheet(sheet, *focusBefore);
        shown();
    });
    return sheet;
}

}  // namespace quillet
