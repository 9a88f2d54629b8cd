#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace quillet {

class Control;
class WindowLayout;

// What every binder of a control to its widget shares: the model tells the widget what
// changed, and the widget tells the model what changed on screen. The widget's own signals
// during the model's writes are the model's echo and are never passed back.
class Binding {
  public:
    Binding(QObject& context, WindowLayout& layout);
    ~Binding();
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    // Marks the widget writes that show the model's state, for as long as it lives.
    class Scope {
      public:
        explicit Scope(Binding& binding) : m_depth(binding.m_syncing) { ++m_depth; }
        ~Scope() { --m_depth; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        int& m_depth;
    };

    // Runs `sync` now and after every change of the control, as the model's writes, for as
    // long as the window lives. Returns it so, for a binder to put the widget back to the
    // model's state after a change the model may not have taken.
    std::function<void()> follow(Control& control, std::function<void()> sync);

    // Connects a widget's state signal to `handler`, which runs only for changes that are not
    // the model's own writes.
    template <typename Sender, typename Signal, typename Handler>
    void onChange(Sender* sender, Signal signal, Handler handler) {
        std::weak_ptr<int> alive = m_alive;
        QObject::connect(sender, signal, &m_context, [alive, this, handler](auto... arguments) {
            if (!alive.expired() && m_syncing == 0) handler(arguments...);
        });
    }

    bool syncing() const { return m_syncing != 0; }

    // From now on nothing of the window reaches the model, nor the model the window: called
    // before the widgets go, since some report changes while they are taken down.
    void detach() { m_alive.reset(); }

    // The properties every control shares: tool tip, the names read by assistive
    // technology, enabled, visible and place. A widget that shows and hides itself passes
    // `followVisible` false.
    void showCommon(const Control& control, QWidget* widget, bool followVisible = true);

    // Work the window's first frame does not need, such as a text that is off screen when
    // the window opens: it runs, as the model's write, once that frame is on screen, or at once
    // if it is already. Work given again for the same `key` before then replaces the earlier.
    void whenDrawn(std::function<void()> work, const void* key = nullptr);
    // The window's first frame is on screen: the work kept for it runs now.
    void firstFrameDrawn();

    // Whether the window is still there, for callbacks the model keeps.
    std::weak_ptr<int> alive() const { return m_alive; }

    WindowLayout& layout() { return m_layout; }
    QObject& context() { return m_context; }

  private:
    QObject& m_context;
    WindowLayout& m_layout;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    int m_syncing = 0;
    bool m_drawn = false;
    std::vector<std::pair<const void*, std::function<void()>>> m_untilDrawn;
};

// The name assistive technology reads for a control: the one the model gives it, else its
// caption.
QString AccessibleNameOf(const Control& control);

}  // namespace quillet
