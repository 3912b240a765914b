#pragma once
// The viewer: one registered file in a child window of the main frame. The
// wheel zooms around the pointer, dragging pans, Home shows it whole; a Jw_cad
// drawing's layer groups can be switched; printing (through the print
// preview) and saving as PDF put the drawing on its own paper at scale, or
// fitted onto the smaller paper the user picks. The file is loaded on a
// worker thread; closing the window cancels that.

#include <QGraphicsView>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "preview/preview_document.h"
#include "preview/sheet_pages.h"
#include "widgets/child_form.h"
#include "widgets/save_file_dialog.h"

class QComboBox;
class QGraphicsScene;
class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QToolButton;

namespace preview {

// Zooms with the wheel around the pointer and pans by dragging.
class PreviewView : public QGraphicsView {
    Q_OBJECT
public:
    using QGraphicsView::QGraphicsView;

    // Shows the whole scene, or `area` of it.
    void Fit(const QRectF& area);
    double zoom() const { return transform().m11(); }

signals:
    void homePressed();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

class PreviewWindow : public widgets::ChildForm {
    Q_OBJECT
public:
    explicit PreviewWindow(QString path, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    void FormShow() override;
    void FormClose() override;

    void FitClick();      // 全体表示, and Home
    void PrintClick();    // the print preview
    void SavePdfClick();  // PDF保存
    // What printing puts on the device's current page.
    void PaintPage(QPagedPaintDevice& device) const;
    // The paper chosen in the combo box (whose items say what each makes of
    // the first page: "A3 原寸（1:1）", "A4 に縮小（71%）").
    PaperChoice Paper() const;
    QString PlacementText() const;
    void ToggleLayerGroup(int group, bool shown);

    // Null until the file has been loaded.
    const PreviewDocument* document() const { return document_.get(); }
    const RenderOptions& renderOptions() const { return options_; }

    // Asks where to save the PDF; tests answer it.
    std::function<widgets::SaveChoice(QWidget*, const widgets::SaveRequest&)> chooseSaveFile =
        widgets::AskSaveFile;

signals:
    void loaded();

private:
    struct Loading;
    void Show(PreviewDocument document);
    SheetPages Sheets() const;
    // The pages to print or save, or nothing with the reason in the status line.
    std::optional<SheetPages> PrintableSheets();
    void FillPapers();

    QString path_;
    std::shared_ptr<Loading> loading_;
    std::unique_ptr<PreviewDocument> document_;
    RenderOptions options_;
    QGraphicsScene* scene_;
    PreviewView* view_;
    QLabel* status_;
    QPushButton* fit_;
    QPushButton* print_;
    QPushButton* savePdf_;
    QComboBox* paper_;
    QPushButton* close_;
    QLabel* groupsLabel_;
    QLabel* scale_;  // the scale of the layer group the drawing is at
    std::array<QToolButton*, 16> groups_{};
    QRectF extent_;
};

}  // namespace preview
