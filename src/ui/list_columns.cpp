#include "ui/list_columns.h"

#include "ui/form1.h"

namespace quillet {

void ShareListWidth(ListView& list, float width) {
    const float columnWidth = width / 2 - 150;
    list.setColumnWidth(ListColumn::Text, columnWidth);
    list.setColumnWidth(ListColumn::NewName, columnWidth);
}

}  // namespace quillet
