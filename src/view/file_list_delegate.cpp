#include "view/file_list_delegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <optional>

#include "ui/list_view.h"
#include "view/file_list_model.h"

namespace quillet {

namespace {

// Where a cell's parts stand, as the style places them for an icon left of the text.
struct CellPlaces {
    QRect check;
    QRect icon;
    QRect text;
};

// The cells the style lays out in ways drawn here. A cell of its own focus, an edited one and
// the other placements keep the style's way; this list shows none of them.
bool DrawnHere(const QStyleOptionViewItem& option) {
    return option.direction == Qt::LeftToRight &&
           option.decorationPosition == QStyleOptionViewItem::Left &&
           option.showDecorationSelected && !(option.features & QStyleOptionViewItem::WrapText) &&
           !(option.state & (QStyle::State_HasFocus | QStyle::State_Editing));
}

// A text that stays on one line as it is: the style breaks a line at a line feed and at the
// Unicode separators, and its elision treats U+009C as a separator of its own. File names
// holding control characters are drawn the style's way.
bool OneLine(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029) return false;
    }
    return true;
}

QIcon::Mode IconMode(QStyle::State state) {
    if (!(state & QStyle::State_Enabled)) return QIcon::Disabled;
    return (state & QStyle::State_Selected) ? QIcon::Selected : QIcon::Normal;
}

QIcon::State IconState(QStyle::State state) {
    return (state & QStyle::State_Open) ? QIcon::On : QIcon::Off;
}

// What the styled delegate reads from the model, read from the row.
void Describe(QStyleOptionViewItem& cell, const ListRow& row, const QModelIndex& index) {
    const int column = index.column();
    cell.index = index;
    cell.styleObject = nullptr;
    cell.backgroundBrush = QBrush();
    if (FileListModel::cellBlue(row, column))
        cell.palette.setBrush(QPalette::Text, QBrush(FileListModel::blue()));
    if (FileListModel::columnOf(column) == ListColumn::Text) {
        cell.features |= QStyleOptionViewItem::HasCheckIndicator;
        cell.checkState = row.checked ? Qt::Checked : Qt::Unchecked;
    }
    if (FileListModel::cellMarked(row, column)) {
        cell.features |= QStyleOptionViewItem::HasDecoration;
        cell.icon = FileListModel::markIcon();
        // A larger icon than the view's size is drawn at the view's size.
        cell.decorationSize = cell.decorationSize.boundedTo(
            cell.icon.actualSize(cell.decorationSize, IconMode(cell.state), IconState(cell.state)));
    }
    cell.features |= QStyleOptionViewItem::HasDisplay;
    cell.text = FileListModel::cellText(row, column);
}

CellPlaces Place(const QStyle& style, const QStyleOptionViewItem& cell, const QWidget* widget) {
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, &cell, widget) + 1;
    const QRect& rect = cell.rect;
    int left = rect.left();
    CellPlaces places;
    if (cell.features & QStyleOptionViewItem::HasCheckIndicator) {
        const QSize box(style.pixelMetric(QStyle::PM_IndicatorWidth, &cell, widget),
                        style.pixelMetric(QStyle::PM_IndicatorHeight, &cell, widget));
        if (box.isValid()) {
            const QRect room(left, rect.top(), box.width() + 2 * margin, rect.height());
            places.check = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, box, room);
            left = room.right() + 1;
        }
    }
    if ((cell.features & QStyleOptionViewItem::HasDecoration) && cell.decorationSize.isValid()) {
        const QRect room(left, rect.top(), cell.decorationSize.width() + 2 * margin, rect.height());
        places.icon = QStyle::alignedRect(Qt::LeftToRight, cell.decorationAlignment,
                                          cell.decorationSize, room);
        left = room.right() + 1;
    }
    places.text = QRect(left, rect.top(), rect.right() + 1 - left, rect.height());
    return places;
}

// Lays `layout` out on one line of `width`; false if it takes more than one.
bool LayOutLine(QTextLayout& layout, int width) {
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, 0));
    }
    const bool more = layout.createLine().isValid();
    layout.endLayout();
    return line.isValid() && !more;
}

// A cell's text laid out on its one line, cut in the view's way where it is wider than its
// room, and placed where the style places it.
class CellText {
  public:
    CellText(const QStyle& style, const QStyleOptionViewItem& cell, const QRect& rect)
        : m_whole(cell.text, cell.font) {
        const int margin =
            style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
        const QRect room = rect.adjusted(margin, 0, -margin, 0);
        QTextOption option;
        option.setWrapMode(QTextOption::ManualWrap);
        option.setTextDirection(cell.direction);
        option.setAlignment(QStyle::visualAlignment(cell.direction, cell.displayAlignment));
        // Kept shaped, so that drawing it does not shape it again.
        m_whole.setCacheEnabled(true);
        m_whole.setTextOption(option);
        m_oneLine = LayOutLine(m_whole, room.width());
        if (!m_oneLine) return;
        // Placed by the height of the whole text, cut or not.
        const QSize size = m_whole.boundingRect().size().toSize();
        m_at = QPointF(
            room.x(),
            QStyle::alignedRect(Qt::LayoutDirectionAuto, cell.displayAlignment, size, room).top());
        if (m_whole.lineAt(0).naturalTextWidth() <= room.width()) return;
        m_cut.emplace(
            QFontMetrics(cell.font).elidedText(cell.text, cell.textElideMode, room.width()),
            cell.font);
        m_cut->setCacheEnabled(true);
        m_cut->setTextOption(option);
        LayOutLine(*m_cut, room.width());
    }

    bool oneLine() const { return m_oneLine; }
    void draw(QPainter& painter) const { (m_cut ? *m_cut : m_whole).draw(&painter, m_at); }

  private:
    QTextLayout m_whole;
    std::optional<QTextLayout> m_cut;
    QPointF m_at;
    bool m_oneLine = false;
};

}  // namespace

FileListDelegate::FileListDelegate(const FileListModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

void FileListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const ListRow* row = index.model() == &m_model ? m_model.rowAt(index.row()) : nullptr;
    if (!row || !DrawnHere(option)) return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem cell = option;
    Describe(cell, *row, index);
    if (!OneLine(cell.text)) return QStyledItemDelegate::paint(painter, option, index);

    const QWidget* widget = cell.widget;
    const QStyle& style = widget ? *widget->style() : *QApplication::style();
    const CellPlaces places = Place(style, cell, widget);
    std::optional<CellText> text;
    if (!cell.text.isEmpty()) {
        text.emplace(style, cell, places.text);
        if (!text->oneLine()) return QStyledItemDelegate::paint(painter, option, index);
    }

    painter->save();
    painter->setClipRect(cell.rect);
    style.drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
    if (cell.features & QStyleOptionViewItem::HasCheckIndicator) {
        QStyleOptionViewItem box(cell);
        box.rect = places.check;
        box.state &= ~QStyle::State_HasFocus;
        box.state |= cell.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style.drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
    }
    if (!cell.icon.isNull())
        cell.icon.paint(painter, places.icon, cell.decorationAlignment, IconMode(cell.state),
                        IconState(cell.state));
    if (text) {
        QPalette::ColorGroup group =
            (cell.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
            group = QPalette::Inactive;
        painter->setPen(cell.palette.color(group, (cell.state & QStyle::State_Selected)
                                                      ? QPalette::HighlightedText
                                                      : QPalette::Text));
        text->draw(*painter);
    }
    painter->restore();
}

}  // namespace quillet
