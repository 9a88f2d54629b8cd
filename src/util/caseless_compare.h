#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillet {

// Orders two texts as QString::compare with Qt::CaseInsensitive does, but walks an ASCII
// stretch with a plain table, which is what file names and sort keys mostly are.
int CompareCaseless(QStringView a, QStringView b);

// The order that sorts `texts` caselessly (as CompareCaseless orders them), ascending or
// descending: indexes into `texts`. Texts that compare equal are ordered by `tieBefore` when
// one is given, and otherwise keep their order. Empty when the texts already stand in order.
std::vector<std::uint32_t> CaselessOrder(
    const std::vector<QStringView>& texts, bool descending,
    const std::function<bool(std::uint32_t, std::uint32_t)>& tieBefore = {});

}  // namespace quillet
