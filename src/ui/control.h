#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace quillet {

// Position and size in twips (1/1440 inch), the window's layout unit. Single precision, so
// half of an odd width keeps its fraction.
struct Twips {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// The mouse pointer shown over a control.
enum class MousePointer { Default, Hand };

// What every control of the window shares: its name, the texts shown around it, its flags
// and its place. The view subscribes to learn that something it shows has changed; the
// program's handlers are attached to the events of the derived controls.
class Control {
  public:
    explicit Control(QString name, QString caption = {}, QString toolTip = {});
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const QString& name() const { return m_name; }

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    const QString& toolTip() const { return m_toolTip; }
    void setToolTip(const QString& toolTip);
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // What assistive technology reads for a control whose caption does not say what it is;
    // empty when the caption does.
    const QString& accessibleName() const { return m_accessibleName; }
    void setAccessibleName(const QString& name);
    MousePointer mousePointer() const { return m_mousePointer; }
    void setMousePointer(MousePointer pointer);

    const Twips& geometry() const { return m_geometry; }
    void setGeometry(const Twips& geometry);
    void move(float left, float top);

    // Asks the view to show the control's present state at once, not at the next idle moment.
    void refresh() { notifyView(); }

    // The view's hook: called after any property it shows has changed.
    void subscribe(std::function<void()> listener);

  protected:
    void notifyView();

  private:
    QString m_name;
    QString m_caption;
    QString m_toolTip;
    bool m_visible = true;
    bool m_enabled = true;
    QString m_accessibleName;
    MousePointer m_mousePointer = MousePointer::Default;
    Twips m_geometry;
    std::vector<std::function<void()>> m_listeners;
};

// Raises a handler if one is attached; the handler runs to its end before the caller goes on.
template <typename... Args>
void Raise(const std::function<void(Args...)>& handler, Args... args) {
    if (handler) handler(args...);
}

}  // namespace quillet
