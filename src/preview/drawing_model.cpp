#include "preview/drawing_model.h"

#include <algorithm>

namespace preview {

const Block* Drawing::FindBlock(int number) const
{
    const auto found = std::lower_bound(blocks.begin(), blocks.end(), number,
                                        [](const Block& b, int n) { return b.number < n; });
    return found != blocks.end() && found->number == number ? &*found : nullptr;
}

}  // namespace preview
