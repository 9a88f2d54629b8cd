#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

#include "platform/file_system.h"
#include "ui/form1.h"

namespace quillet {

// Why the execute button would leave a row's file under its old name, told before the pass
// runs. The pass renames in list order and never replaces a file, so a name held by another
// file is free only if that file is renamed away earlier in the same pass; the preview plays
// the pass forward for the one name in question instead of for the whole list.
//
// Built for one state of the list: the view makes a new one whenever the list has changed,
// and asks only for rows the user points at, so nothing is computed while names are typed.
class RenamePreview {
  public:
    RenamePreview(const Form1& form, FileSystem& files);

    // The reason in the user's words, or an empty text when nothing stands in the way (or
    // the row is not renamed at all: unchecked, or the attribute-only switch is on).
    QString problem(int row);

  private:
    struct Move {
        int row;
        QByteArray from;
        QByteArray to;
        bool plain;
    };

    void index();
    bool existsBefore(const QByteArray& name, int row, int depth);
    bool succeeds(const Move& move, int depth);
    bool existsInitially(const QByteArray& name);
    // The checked row before `row` whose rename ends up holding `name`, or 0.
    int renamedInto(const QByteArray& name, int row);

    const Form1& m_form;
    FileSystem& m_files;
    bool m_indexed = false;
    std::vector<Move> m_moves;                       // checked rows, in list order
    QHash<QByteArray, std::vector<int>> m_touching;  // name -> moves from or to it
    QHash<QByteArray, bool> m_listed;
    QHash<QByteArray, bool> m_onDisk;
    QHash<int, bool> m_outcome;  // move number -> whether its rename goes through
    bool m_gaveUp = false;
};

}  // namespace quillet
