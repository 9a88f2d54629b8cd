#pragma once

#include <QByteArray>
#include <vector>

#include "platform/file_system.h"
#include "ui/form1.h"

namespace quillet {

// What a pass was asked to rename, kept so that its result can be told afterwards: the pass
// itself reports nothing, and in extended mode the rebuilt list no longer shows what was
// asked for.
class RenameOutcome {
  public:
    // The renames the checked rows ask for, each with whether it looks bound to fail; nothing
    // in attribute-only mode.
    static RenameOutcome plan(const Form1& form, FileSystem& files);

    // How many of the planned renames did not happen, judged from the folder as it is now.
    int leftUnrenamed(FileSystem& files, const QByteArray& folder) const;
    bool empty() const { return m_moves.empty(); }

  private:
    struct Move {
        QByteArray from;
        QByteArray to;
        bool expectedToFail;
    };
    std::vector<Move> m_moves;
};

}  // namespace quillet
