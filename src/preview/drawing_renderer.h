#pragma once
// Draws a drawing model with QPainter, onto a thumbnail, a viewer or a page.
// Geometry is mapped to device pixels here and clipped to the visible area
// before it reaches the painter, so coordinates from a hostile file never
// become huge or endless paths; blocks inside blocks are followed only so
// deep, never into themselves, and only up to a budget of drawn primitives.

#include <QRectF>
#include <QTransform>
#include <array>
#include <atomic>
#include <cstddef>

#include "preview/drawing_model.h"

class QPainter;

namespace preview {

struct RenderOptions {
    std::array<bool, 16> groupsShown{};  // by layer group
    bool forPrint = false;               // white paper: colours too pale to see print black
    const std::atomic<bool>* cancel = nullptr;
    std::size_t budget = 2'000'000;  // primitives drawn at most
    int blockDepth = 8;
};

// The layer groups shown as the file left them.
RenderOptions DefaultRenderOptions(const Drawing& drawing);

// The sheet when the file names one, otherwise the extent of what is drawn.
QRectF DrawingExtent(const Drawing& drawing);

// What the elements cover in sheet millimetres (block inserts followed a few
// deep), whatever the sheet; null when nothing is drawn.
QRectF ElementExtent(const Drawing& drawing);

// Sheet millimetres (y up) into `target` (device pixels, y down), the extent
// centred and as large as it fits.
QTransform FitTransform(const QRectF& extent, const QRectF& target);

// Draws with `toDevice` mapping sheet millimetres to the painter's device;
// only `visible` (device pixels) is drawn into.
void RenderDrawing(QPainter& painter, const Drawing& drawing, const QTransform& toDevice,
                   const QRectF& visible, const RenderOptions& options);

}  // namespace preview
