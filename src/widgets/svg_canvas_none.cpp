#include "widgets/svg_canvas.h"

namespace widgets {

bool SvgSupported()
{
    return false;
}

bool PaintSvg(QIODevice&, const QSize&, const std::function<void(QPainter&)>&)
{
    return false;
}

}  // namespace widgets
