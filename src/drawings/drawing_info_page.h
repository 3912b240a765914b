#pragma once
// The information page of the project detail window: the selected node's
// number and name, and for a drawing node its record with the stamp buttons,
// the revision lines and the save button. The project node shows its periods,
// titles and memos read-only.

#include <QImage>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "widgets/screen_context.h"

class QComboBox;
class QGridLayout;
class QVBoxLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace widgets {
class ByteLineEdit;
}

namespace preview {
class ThumbnailLoader;
class ThumbnailView;
}  // namespace preview

namespace drawings {

class ProjectDetailLogic;
class TForm12;
struct DrawingPage;
struct PageOutcome;

class DrawingInfoPage : public QWidget {
    Q_OBJECT
public:
    // revisionDialog edits a drawing's revision history; without it Button8 does nothing.
    DrawingInfoPage(widgets::ScreenContext context, TForm12* revisionDialog,
                    QWidget* parent = nullptr);

    // The project whose nodes are shown; nothing is read or saved before.
    void Open(ProjectDetailLogic* logic);
    // The member items of all five combos, CP932.
    void SetMemberItems(std::vector<std::string> items);
    void ShowNode(int number, const std::string& name);
    // The name edit after the shown node was renamed.
    void ShowName(const std::string& name);

    // They change only the page's controls; Button9Click alone writes the
    // drawing record, and Button8Click's editor writes the revision table.
    void Button1Click();  // choose the drawing's file
    void Button2Click();  // open it with its program
    void Button3Click();  // its header text into the first memo line
    void Button4Click();  // check stamp
    void Button5Click();  // approval stamp
    void Button6Click();  // issue stamp
    void Button7Click();  // the newest revision
    void Button8Click();  // the revision history editor
    void Button9Click();  // save; drawing nodes only
    // Today's date into the date box `box` (11 to 16) that was double-clicked.
    void Edit11DblClick(int box);
    // The drawing's file in the viewer.
    void Image1Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void LayOut();
    void Connect();
    void SetDrawingControlsVisible(bool visible);
    DrawingPage PageInput() const;
    void Apply(const PageOutcome& outcome);
    void ShowRevisionLines(const std::vector<std::string>& lines);
    // The thumbnail of the file the page names, drawn away from the window.
    void ShowThumbnail();
    // The thumbnail placed and sized for the view the page is shown in.
    void FitThumbnail();
    void PlaceThumbnail(bool onTop);

    widgets::ScreenContext context_;
    TForm12* revisionDialog_;
    ProjectDetailLogic* logic_ = nullptr;
    std::vector<std::string> memberItems_;  // CP932, the same in all five combos
    // Whether the page holds its node as stored; a read over a lost
    // connection leaves it blank, and saving that would wipe the record.
    bool pageRead_ = false;

    // Label1 to Label20, Edit1 to Edit16, ComboBox1 to ComboBox5, Button1 to
    // Button9, each at its number minus one.
    std::array<QLabel*, 20> labels_{};
    std::array<widgets::ByteLineEdit*, 16> edits_{};
    std::array<QComboBox*, 5> combos_{};
    std::array<QPushButton*, 9> buttons_{};
    QPlainTextEdit* Memo1 = nullptr;
    preview::ThumbnailView* Image1 = nullptr;
    preview::ThumbnailLoader* thumbnails_ = nullptr;
    QString thumbnailPath_;  // of the thumbnail asked for or shown; empty: none
    QImage thumbnail_;       // as made, before fitting
    QVBoxLayout* outer_ = nullptr;
    QGridLayout* grid_ = nullptr;
    bool onTop_ = false;  // above the fields, for a narrow view
};

}  // namespace drawings
