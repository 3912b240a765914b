#pragma once
// Pictures as SVG files, where the toolkit's SVG module was built with the
// program (the Windows build may lack it; PNG is always there).

#include <QSize>
#include <functional>

class QIODevice;
class QPainter;

namespace widgets {

bool SvgSupported();

// Paints `paint` into `device` as an SVG picture of `size`; false when it cannot.
bool PaintSvg(QIODevice& device, const QSize& size, const std::function<void(QPainter&)>& paint);

}  // namespace widgets
