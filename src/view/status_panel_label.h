#pragma once

#include <QLabel>

namespace quillet {

// A status-bar panel: its text is shortened in the middle when the panel is too narrow, so a
// long folder path keeps both its start and its last folder in view.
class StatusPanelLabel : public QLabel {
    Q_OBJECT

  public:
    explicit StatusPanelLabel(QWidget* parent = nullptr);

    const QString& fullText() const { return m_fullText; }
    void setFullText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void elide();

    QString m_fullText;
};

}  // namespace quillet
