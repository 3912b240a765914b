#pragma once
// The synthetic drawing the preview and print benchmarks share: lines, arcs,
// texts and solids in the proportions of a floor plan, spread over an A2
// sheet and its layer groups.

#include <QString>
#include <cmath>
#include <string>

#include "tools/admin/jww_writer.h"

namespace bench_support {

inline std::string FloorPlanDrawing(int elements)
{
    namespace jww = jww_writer;
    jww::JwwFile file;
    file.paper = 2;
    for (int i = 0; i < elements; ++i) {
        const double x = std::fmod(i * 37.0, 560) - 280, y = std::fmod(i * 53.0, 400) - 200;
        const jww::JwwPen pen{1, 1 + i % 8, i % 16, (i / 16) % 4};
        if (i % 10 < 7)
            file.elements.push_back(jww::Line(x, y, x + 12, y + (i % 5), pen));
        else if (i % 10 == 7)
            file.elements.push_back(jww::Circle(x, y, 2 + i % 7, pen));
        else if (i % 10 == 8)
            file.elements.push_back(jww::Text(x, y, x + 20, QStringLiteral("室%1").arg(i), 3, pen));
        else
            file.elements.push_back(jww::Solid({x, y, x + 3, y, x + 3, y + 3, x, y + 3}, pen));
    }
    return file.Bytes();
}

}  // namespace bench_support
