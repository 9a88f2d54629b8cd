#pragma once

namespace quillet {
struct ListRow;
}
