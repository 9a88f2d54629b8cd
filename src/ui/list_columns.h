#pragma once

namespace quillet {

class ListView;

// The two visible columns share the list's width, less a margin each; the data columns
// stay hidden. `width` is the list's width in twips as it stands on screen.
void ShareListWidth(ListView& list, float width);

}  // namespace quillet
