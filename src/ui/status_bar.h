#pragma once

#include <vector>

#include "ui/control.h"

namespace quillet {

enum class Bevel { Inset, Raised };

struct StatusPanel {
    QString key;
    QString text;
    Bevel bevel = Bevel::Inset;
    QString toolTip;
};

// The status bar with its text panels, numbered from 1. The whole bar reports the mouse.
class StatusBar : public Control {
  public:
    explicit StatusBar(QString name);

    int panelCount() const { return static_cast<int>(m_panels.size()); }
    const StatusPanel& panel(int index) const {
        return m_panels.at(static_cast<size_t>(index - 1));
    }
    void addPanel(QString key, QString text);
    void setPanelText(int index, const QString& text);
    void setPanelBevel(int index, Bevel bevel);
    void setPanelToolTip(int index, const QString& toolTip);

    // What went wrong with the folder asked for or with the latest pass, in the user's words;
    // while there is something to say, the bar's tool tip says it instead of its own text.
    const QString& problemText() const { return m_problemText; }
    void setProblemText(const QString& text);
    const QString& shownToolTip() const {
        return m_problemText.isEmpty() ? toolTip() : m_problemText;
    }

    std::function<void()> Click;
    std::function<void(int button, int shift, float x, float y)> MouseDown;
    std::function<void(int button, int shift, float x, float y)> MouseUp;

  private:
    std::vector<StatusPanel> m_panels;
    QString m_problemText;
};

}  // namespace quillet
