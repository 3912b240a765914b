#include "widgets/svg_canvas.h"

#include <QPainter>
#include <QSvgGenerator>

namespace widgets {

bool SvgSupported()
{
    return true;
}

bool PaintSvg(QIODevice& device, const QSize& size, const std::function<void(QPainter&)>& paint)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    paint(painter);
    return painter.end();
}

}  // namespace widgets
