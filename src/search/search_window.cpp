#include "search/search_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "search/file_state.h"
#include "search/search_results.h"
#include "search/search_texts.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"
#include "widgets/list_output_menu.h"
#include "widgets/named.h"

namespace search {

using text::Utf8;

namespace {

using widgets::Named;

// A search that ends sooner shows no progress box (nothing flickers); until
// the box is up, events are handled without user input, so nothing can start
// another database action meanwhile.
constexpr int kProgressAfterMs = 300;
constexpr int kTextBytes = 255;
constexpr int kDateBytes = 8;
// Columns sized to the first results are kept within reason.
constexpr int kMaxFittedWidth = 280;

// For the rest of the run: what the last search window that closed looked like.
struct Layout {
    bool known = false;
    QSize size;
    std::vector<int> widths;
};

Layout& Remembered()
{
    static Layout layout;
    return layout;
}

int ChosenNumber(const QComboBox* combo)
{
    return combo->currentData().toInt();
}

void SelectNumber(QComboBox* combo, int number)
{
    const int index = combo->findData(number);
    combo->setCurrentIndex(index < 0 ? 0 : index);
}

std::string Bytes(const widgets::ByteLineEdit* edit)
{
    return edit->bytes();
}

}  // namespace

// What a running search keeps between its steps.
class SearchWindow::Run {
public:
    QElapsedTimer clock;
    std::unique_ptr<QProgressDialog> progress;
};

SearchWindow::SearchWindow(widgets::ScreenContext context, QWidget* parent)
    : ChildForm(parent), context_(context), model_(new SearchResultModel(this))
{
    setObjectName(QStringLiteral("SearchWindow"));
    setWindowTitle(Utf8(texts::kCaption));
    BuildControls();

    connect(ButtonSearch, &QPushButton::clicked, this, &SearchWindow::ButtonSearchClick);
    connect(EditText, &QLineEdit::returnPressed, this, &SearchWindow::ButtonSearchClick);
    connect(ButtonClear, &QPushButton::clicked, this, &SearchWindow::ButtonClearClick);
    connect(ComboPreset, &QComboBox::activated, this, &SearchWindow::ComboPresetSelect);
    connect(Grid, &QTableView::activated, this,
            [this](const QModelIndex& index) { GridDblClick(index.row()); });
    connect(ButtonCsv, &QPushButton::clicked, this, &SearchWindow::ButtonCsvClick);
    widgets::AttachListOutput(Grid, context_.listOutput, [this] { return ResultsTable(); });
    connect(ButtonClose, &QPushButton::clicked, this, [this] { widgets::FrameOf(this)->close(); });
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::BuildControls()
{
    auto combo = [this](const char* name, std::initializer_list<const char*> items) {
        auto* c = Named(new QComboBox(this), name);
        int value = 0;
        for (const char* item : items)
            c->addItem(Utf8(item), value++);
        return c;
    };
    auto button = [this](const char* name, const char* caption) {
        auto* b = Named(new QPushButton(Utf8(caption), this), name);
        b->setAutoDefault(false);
        return b;
    };
    auto label = [this](const char* caption, QWidget* buddy) {
        auto* l = new QLabel(Utf8(caption), this);
        l->setBuddy(buddy);
        return l;
    };

    ComboPreset =
        combo("ComboPreset", {texts::kPresetNone, texts::kPresetMineUnchecked,
                              texts::kPresetCheckedNotApproved, texts::kPresetApprovedNotIssued,
                              texts::kPresetChangedAfterIssue, texts::kPresetMissingFiles});
    EditText = Named(new widgets::ByteLineEdit(this), "EditText");
    EditText->setMaxBytes(kTextBytes);
    EditText->setMinimumWidth(EditText->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 36);
    ButtonSearch = button("ButtonSearch", texts::kButtonSearch);
    ButtonClear = button("ButtonClear", texts::kButtonClear);
    ComboScope = combo("ComboScope", {texts::kScopeAll, texts::kScopeOpen, texts::kScopeDone});
    ComboProject = Named(new QComboBox(this), "ComboProject");
    ComboProject->setMinimumContentsLength(16);
    ComboProject->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboMember = Named(new QComboBox(this), "ComboMember");
    ComboMember->setMinimumContentsLength(10);
    ComboRole = combo("ComboRole", {texts::kRoleAny, texts::kRoleDrafter, texts::kRoleChecker,
                                    texts::kRoleApprover, texts::kRoleIssuer, texts::kRoleReviser});
    ComboDate = combo("ComboDate",
                      {texts::kDateNone, texts::kDateMade, texts::kDateUpdated, texts::kDateChecked,
                       texts::kDateApproved, texts::kDateIssued, texts::kDateRevised});
    EditFrom = Named(new widgets::ByteLineEdit(this), "EditFrom");
    EditTo = Named(new widgets::ByteLineEdit(this), "EditTo");
    for (widgets::ByteLineEdit* date : {EditFrom, EditTo}) {
        date->setMaxBytes(kDateBytes);
        date->setMaximumWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) +
                              16);
        widgets::SwitchOffInputMethod(date);
    }
    ComboState = combo("ComboState",
                       {texts::kStateAny, texts::kStateUnchecked, texts::kStateCheckedNotApproved,
                        texts::kStateApprovedNotIssued, texts::kStateIssued, texts::kStateRevised});
    ComboFile =
        combo("ComboFile", {texts::kFileAny, texts::kFileMissing, texts::kFileChangedAfterIssue});

    auto* criteria = new QGridLayout;
    criteria->setContentsMargins(4, 4, 4, 2);
    criteria->setHorizontalSpacing(6);
    auto row = [](std::initializer_list<QWidget*> widgets, int stretchAt = -1) {
        auto* line = new QHBoxLayout;
        int i = 0;
        for (QWidget* w : widgets)
            line->addWidget(w, i++ == stretchAt ? 1 : 0);
        if (stretchAt < 0)
            line->addStretch();
        return line;
    };
    criteria->addWidget(label(texts::kLabelText, EditText), 0, 0);
    criteria->addLayout(row({EditText, ButtonSearch, ButtonClear}, 0), 0, 1);
    criteria->addWidget(label(texts::kLabelPreset, ComboPreset), 0, 2);
    criteria->addLayout(row({ComboPreset}), 0, 3);
    criteria->addWidget(label(texts::kLabelProjects, ComboScope), 1, 0);
    criteria->addLayout(row({ComboScope, ComboProject}), 1, 1);
    criteria->addWidget(label(texts::kLabelMember, ComboMember), 1, 2);
    criteria->addLayout(row({ComboMember, ComboRole}), 1, 3);
    criteria->addWidget(label(texts::kLabelDate, ComboDate), 2, 0);
    criteria->addLayout(
        row({ComboDate, EditFrom, new QLabel(Utf8(texts::kLabelDateTo), this), EditTo}), 2, 1);
    criteria->addWidget(label(texts::kLabelState, ComboState), 2, 2);
    criteria->addLayout(row({ComboState, label(texts::kLabelFile, ComboFile), ComboFile}), 2, 3);
    criteria->setColumnStretch(4, 1);  // the criteria keep to the left

    Grid = Named(new QTableView(this), "Grid");
    Grid->setModel(model_);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setWordWrap(false);
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setDefaultSectionSize(Grid->fontMetrics().height() + 6);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    Grid->horizontalHeader()->setHighlightSections(false);
    Grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // No sort until a header is clicked: results keep the search order.
    Grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    Grid->setSortingEnabled(true);

    ButtonCsv = button("ButtonCsv", texts::kButtonCsv);
    ButtonClose = button("ButtonClose", texts::kButtonClose);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 4);
    buttons->addWidget(ButtonCsv);
    buttons->addStretch();
    buttons->addWidget(ButtonClose);

    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(criteria);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);
}

void SearchWindow::FormShow()
{
    QWidget* frame = widgets::FrameOf(this);
    const Layout& layout = Remembered();
    if (layout.known) {
        frame->resize(layout.size);
        for (int c = 0; c < kResultColumns && c < static_cast<int>(layout.widths.size()); ++c)
            Grid->setColumnWidth(c, layout.widths[c]);
    } else {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(frame); sub && sub->mdiArea()) {
            const QSize area = sub->mdiArea()->viewport()->size();
            frame->resize(std::max(area.width() * 9 / 10, 480),
                          std::max(area.height() * 9 / 10, 320));
        } else {
            frame->resize(900, 560);
        }
        Grid->resizeColumnsToContents();
        fitColumns_ = true;
    }
    LoadChoices();
    ShowCount();
    EditText->setFocus(Qt::OtherFocusReason);
}

void SearchWindow::FormClose()
{
    if (closed_ || !WasShown())
        return;
    closed_ = true;    // a search still running stops at its next step
    checker_.reset();  // a folder that hangs is left to its thread
    Layout& layout = Remembered();
    layout.known = true;
    layout.size = widgets::FrameOf(this)->size();
    layout.widths.clear();
    for (int c = 0; c < kResultColumns; ++c)
        layout.widths.push_back(Grid->columnWidth(c));
}

// The numbered items the criteria choose from, read afresh on each opening.
void SearchWindow::LoadChoices()
{
    storage::Database& db = context_.db;
    auto fill = [&db](QComboBox* combo, const char* none, const char* table, const char* columns) {
        combo->clear();
        combo->addItem(Utf8(none), 0);
        if (!db.TableExists(table))
            return;
        const int count = db.SelectOrdered(columns, table, "", "N");
        db.FetchEach(count, 2, [combo](const storage::Row& row) {
            combo->addItem(text::FromCp932(row[0] + ":" + row[1]), text::StrToIntOrZero(row[0]));
        });
    };
    fill(ComboProject, texts::kEveryProject, "ZPROJECT", "N, PRNAME");
    fill(ComboMember, texts::kNoMember, "MEMBER", "N, PNAME");
    db.CloseCursor();
}

SearchCriteria SearchWindow::Criteria() const
{
    SearchCriteria c;
    c.text = Bytes(EditText);
    c.scope = static_cast<ProjectScope>(ComboScope->currentIndex());
    c.projectNo = ChosenNumber(ComboProject);
    c.memberNo = ChosenNumber(ComboMember);
    c.role = static_cast<Role>(ComboRole->currentIndex());
    c.dateKind = static_cast<DateKind>(ComboDate->currentIndex());
    c.dateFrom = Bytes(EditFrom);
    c.dateTo = Bytes(EditTo);
    c.state = static_cast<StampState>(ComboState->currentIndex());
    c.file = static_cast<FileCondition>(ComboFile->currentIndex());
    return c;
}

void SearchWindow::ShowCriteria(const SearchCriteria& c)
{
    EditText->setBytes(c.text);
    ComboScope->setCurrentIndex(static_cast<int>(c.scope));
    SelectNumber(ComboProject, c.projectNo);
    if (c.memberNo != 0 && ComboMember->findData(c.memberNo) < 0)
        ComboMember->addItem(text::FromCp932(std::to_string(c.memberNo) + ":" +
                                             context_.globals.settings.PcUserName),
                             c.memberNo);
    SelectNumber(ComboMember, c.memberNo);
    ComboRole->setCurrentIndex(static_cast<int>(c.role));
    ComboDate->setCurrentIndex(static_cast<int>(c.dateKind));
    EditFrom->setBytes(c.dateFrom);
    EditTo->setBytes(c.dateTo);
    ComboState->setCurrentIndex(static_cast<int>(c.state));
    ComboFile->setCurrentIndex(static_cast<int>(c.file));
}

void SearchWindow::ButtonClearClick()
{
    ComboPreset->setCurrentIndex(0);
    ShowCriteria({});
    EditText->setFocus(Qt::OtherFocusReason);
}

void SearchWindow::ComboPresetSelect(int index)
{
    const auto preset = static_cast<Preset>(index);
    if (preset == Preset::None)
        return;
    const int me = context_.globals.settings.PcUserNo;
    if (preset == Preset::MineUnchecked && me == 0) {
        context_.ports.Inform(this, Utf8(texts::kNoPcUser));
        return;
    }
    ShowCriteria(PresetCriteria(preset, me));
    Search(Criteria());
}

bool SearchWindow::CheckDates()
{
    const std::optional<DateField> wrong = InvalidDateField(Criteria());
    if (!wrong)
        return true;
    context_.ports.Inform(this, Utf8(texts::kInvalidDate));
    (*wrong == DateField::From ? EditFrom : EditTo)->setFocus(Qt::OtherFocusReason);
    return false;
}

void SearchWindow::ButtonSearchClick()
{
    if (CheckDates())
        Search(Criteria());
}

void SearchWindow::Search(const SearchCriteria& criteria)
{
    if (searching_ || closed_)
        return;
    searching_ = true;
    stopped_ = false;
    QPointer<SearchWindow> alive(this);
    model_->Clear();
    Grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    // A new checker abandons the looks of the last search; its late answers are dropped.
    checker_ = std::make_unique<FileStateChecker>(folderTimeout_, probe_);
    connect(checker_.get(), &FileStateChecker::looked, this, &SearchWindow::TakeFileResults);
    fileCondition_ = criteria.file;
    candidates_.clear();
    run_ = std::make_unique<Run>();
    run_->clock.start();
    context_.ports.ResetEscape();

    auto stopping = [&] {
        return !alive || closed_ || (run_->progress && run_->progress->wasCanceled()) ||
               context_.ports.EscapePressed();
    };
    auto step = [&](int done, int total) {
        if (!run_->progress && run_->clock.elapsed() >= kProgressAfterMs) {
            run_->progress = std::make_unique<QProgressDialog>(
                Utf8(texts::kSearching), Utf8(texts::kCancel), 0, total, this);
            run_->progress->setWindowModality(Qt::WindowModal);
            run_->progress->setMinimumDuration(0);
            run_->progress->setAutoClose(false);
            run_->progress->setAutoReset(false);
            run_->progress->show();
        }
        if (run_->progress) {
            run_->progress->setMaximum(std::max(total, 1));
            run_->progress->setValue(std::min(done, total));
        }
        QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents;
        if (!run_->progress)
            flags |= QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(flags);
    };

    DrawingSearch drawings(context_.db, criteria);
    drawings.Start();
    while (!drawings.Finished() && !stopping()) {
        std::vector<SearchHit> hits = drawings.Next();
        std::vector<FileRequest> looks;
        if (criteria.file == FileCondition::Any) {
            const int first = model_->HitCount();
            for (std::size_t i = 0; i < hits.size(); ++i)
                if (NeedsLook(hits[i], criteria.file))
                    looks.push_back(
                        {first + static_cast<int>(i), hits[i].folder, hits[i].fileName});
            model_->Append(std::move(hits));
            FitColumnsOnce();
        } else {
            for (SearchHit& hit : hits) {
                if (!NeedsLook(hit, criteria.file))
                    continue;
                looks.push_back({static_cast<int>(candidates_.size()), hit.folder, hit.fileName});
                candidates_.push_back(std::move(hit));
            }
        }
        if (checker_)
            checker_->Enqueue(std::move(looks));
        ShowCount();
        step(drawings.ProjectsSearched(), drawings.ProjectCount());
    }
    if (!alive)
        return;
    skipped_ = drawings.ProjectsSkipped();
    context_.db.CloseCursor();
    stopped_ = !drawings.Finished();
    // Rows already shown keep getting their states; drawings not shown yet
    // belonged to the search that was stopped.
    if (stopped_ && checker_ && criteria.file != FileCondition::Any)
        checker_->Cancel();
    run_.reset();
    searching_ = false;
    ShowCount();
}

bool SearchWindow::CheckingFiles() const
{
    return checker_ && checker_->Outstanding() > 0;
}

void SearchWindow::LookAtFilesWith(FileProbe probe, std::chrono::milliseconds timeout)
{
    probe_ = std::move(probe);
    folderTimeout_ = timeout;
}

void SearchWindow::TakeFileResults(const std::vector<FileResult>& results)
{
    if (fileCondition_ == FileCondition::Any) {
        for (const FileResult& r : results)
            model_->SetFileState(r.id, StateFrom(model_->Hit(r.id), r.facts));
    } else {
        std::vector<SearchHit> shown;
        for (const FileResult& r : results) {
            SearchHit& hit = candidates_[static_cast<std::size_t>(r.id)];
            hit.fileState = StateFrom(hit, r.facts);
            if (Satisfies(hit.fileState, fileCondition_))
                shown.push_back(std::move(hit));
        }
        model_->Append(std::move(shown));
        FitColumnsOnce();
    }
    ShowCount();
}

// The first results of a window that has no remembered widths size its columns.
void SearchWindow::FitColumnsOnce()
{
    if (!fitColumns_ || model_->rowCount() == 0)
        return;
    fitColumns_ = false;
    Grid->resizeColumnsToContents();
    for (int c = 0; c < kResultColumns; ++c)
        Grid->setColumnWidth(c, std::min(Grid->columnWidth(c), kMaxFittedWidth));
}

void SearchWindow::ShowCount()
{
    QString message = QString::number(model_->rowCount()) + Utf8(texts::kCountSuffix);
    if (skipped_ > 0)
        message +=
            Utf8(texts::kSkippedOpen) + QString::number(skipped_) + Utf8(texts::kSkippedClose);
    if (stopped_)
        message += Utf8(texts::kStopped);
    if (CheckingFiles())
        message += QStringLiteral("  ") + Utf8(texts::kCheckingFiles);
    StatusBar1->showMessage(message);
}

void SearchWindow::GridDblClick(int row)
{
    if (searching_ || row < 0 || row >= model_->rowCount() || !context_.opener)
        return;
    const SearchHit& hit = model_->HitAt(row);
    context_.globals.CurrentProjectNo = hit.projectNo;
    context_.globals.CurrentNodeNo = hit.nodeNo;
    try {
        context_.opener->OpenProjectDetail();
    } catch (...) {
    }
    // A window that did not open must not leave its node to the next one.
    context_.globals.CurrentNodeNo = 0;
}

void SearchWindow::ButtonCsvClick()
{
    if (model_->rowCount() == 0) {
        context_.ports.Inform(this, Utf8(texts::kNothingToWrite));
        return;
    }
    if (context_.listOutput)
        context_.listOutput->Output(this, widgets::ListFormat::Csv, ResultsTable());
}

text::TextTable SearchWindow::ResultsTable() const
{
    std::vector<int> widths;
    for (int c = 0; c < model_->columnCount(); ++c)
        widths.push_back(Grid->columnWidth(c));
    return ListTableOf(model_->Table(), std::move(widths));
}

}  // namespace search
