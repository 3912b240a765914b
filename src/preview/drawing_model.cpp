#include "preview/drawing_model.h"

#include <algorithm>

namespace preview {

const Block* Drawing::FindBlock(int number) const
{
    const auto found = std::lower_bound(blocks.begin(), blocks.end(), number,
                                        [](const Block& b, int n) { return b.number < n; });
    return found != blocks.end() && found->number == number ? &*found : nullptr;
}

int Drawing::MainGroup() const
{
    if (groupInUse >= 0 && groupInUse < static_cast<int>(groups.size()))
        return groupInUse;
    std::array<std::size_t, 16> counts{};
    for (const Entity& entity : entities)
        ++counts[static_cast<std::size_t>(entity.group) % counts.size()];
    return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

}  // namespace preview
