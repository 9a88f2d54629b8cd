#pragma once

#include <QHeaderView>

namespace quillet {

// The file list's column header. Qt measures a header section in the bold face of the
// header's font, for headers that embolden the section of the current column; this one never
// does, and measuring in bold would open a second face of the interface font (a CJK face is
// tens of megabytes) before the window is first drawn, for a height the regular face gives too.
class FileListHeader : public QHeaderView {
  public:
    explicit FileListHeader(QWidget* parent = nullptr);

  protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};

}  // namespace quillet
