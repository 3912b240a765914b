#pragma once
// A registered file as printed pages. A drawing goes on its own paper with one
// sheet millimetre to one millimetre on the page, so a 1/100 plan measures
// 1/100 with a scale ruler; only when the user picks a smaller paper is it
// fitted onto that. A drawing that names no paper (DXF) gets the smallest A
// sheet its extent fits at 1:1. A PDF keeps its pages and their sizes; an
// image is fitted onto A4. No widgets, so the command line prints the same.

#include <QByteArray>
#include <QIODevice>
#include <QPageLayout>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>

#include "preview/preview_document.h"

class QPagedPaintDevice;
class QPainter;

namespace Poppler {
class Document;
}

namespace preview {

// Empty: each page on its own paper at scale; else everything fitted onto
// this paper (turned to each page's orientation) when the page is larger.
struct PaperChoice {
    std::optional<QPageSize> fitTo;
};

// How one page lands on the paper it is printed on.
struct PagePlacement {
    QPageLayout layout;   // the paper, no margins
    bool atScale = true;  // 1 mm on the sheet is 1 mm on the paper
    double scale = 1;     // paper mm per sheet mm
};

class SheetPages {
public:
    SheetPages();
    ~SheetPages();
    SheetPages(SheetPages&&) noexcept;
    SheetPages& operator=(SheetPages&&) noexcept;

    // Reads the file; never blocks on anything but the file itself.
    static SheetPages Load(const QString& path, const std::atomic<bool>* cancel = nullptr);
    // A drawing or picture loaded already (the viewer's); a PDF is read again.
    static SheetPages FromDocument(const PreviewDocument& document, const QString& path);

    bool printable() const { return pages() > 0; }
    int pages() const;
    // Why nothing can be printed, or what is left out.
    const QString& problem() const { return problem_; }
    const QString& fileName() const { return fileName_; }

    // The page's own paper (PDF pages: their own size).
    QPageLayout OwnLayout(int page) const;
    PagePlacement Place(int page, const PaperChoice& choice) const;
    // Draws the page onto paper of `paperMm`, whose full page is `pageRect`
    // in the painter's coordinates at `dotsPerMm`.
    void Paint(QPainter& painter, int page, const QSizeF& paperMm, const QRectF& pageRect,
               double dotsPerMm, const RenderOptions* render = nullptr) const;
    // Draws onto the device's current page, whatever its paper and margins.
    void PaintOnDevice(QPainter& painter, QPagedPaintDevice& device, int page,
                       const RenderOptions* render = nullptr) const;

    // Every page, each on its placed paper; false when the device failed.
    bool PrintAll(QPagedPaintDevice& device, const PaperChoice& choice,
                  const RenderOptions* render = nullptr) const;

private:
    enum class Kind { None, Drawing, Picture, Pdf };
    QRectF SheetRect() const;

    Kind kind_ = Kind::None;
    QString fileName_;
    QString problem_;
    std::shared_ptr<const Drawing> drawing_;
    QImage picture_;
    QByteArray pdfBytes_;
    std::unique_ptr<Poppler::Document> pdf_;
};

// "A3", or "420×297 mm" for a size that is no A sheet.
QString PaperName(const QSizeF& millimetres);

// All pages into a PDF, written to `out` only when `choice` can be met.
bool WriteSheetPdf(const SheetPages& pages, QIODevice& out, const PaperChoice& choice,
                   const QString& title);

}  // namespace preview
