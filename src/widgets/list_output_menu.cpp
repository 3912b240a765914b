#include "widgets/list_output_menu.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QMenu>
#include <QShortcut>

#include "text/cp932.h"
#include "widgets/child_form.h"
#include "widgets/list_output_texts.h"

namespace widgets {

namespace {

namespace texts = list_output_texts;

class ListOutputMenu : public QObject {
public:
    ListOutputMenu(QAbstractItemView* view, ListOutput* output, TableMaker makeTable)
        : QObject(view), view_(view), output_(output), makeTable_(std::move(makeTable))
    {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, &ListOutputMenu::ShowMenu);
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == view_ && event->type() == QEvent::Show && !shortcut_)
            AddPrintShortcut();
        return QObject::eventFilter(watched, event);
    }

private:
    // The form is known only once the view sits in its window: the child
    // window inside the main frame, or a dialog.
    void AddPrintShortcut()
    {
        QWidget* form = view_;
        while (!form->isWindow() && !qobject_cast<ChildForm*>(form) && form->parentWidget())
            form = form->parentWidget();
        shortcut_ = new QShortcut(QKeySequence::Print, form);
        shortcut_->setObjectName(QStringLiteral("PrintListShortcut"));
        shortcut_->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut_, &QShortcut::activated, this, [this] {
            if (view_->isVisible())
                Run(ListFormat::Print);
        });
    }

    void ShowMenu(const QPoint& position)
    {
        QMenu menu(view_);
        menu.setObjectName(QStringLiteral("ListOutputMenu"));
        const auto add = [&](const char* caption, ListFormat format) {
            QAction* action = menu.addAction(text::Utf8(caption));
            connect(action, &QAction::triggered, this, [this, format] { Run(format); });
        };
        add(texts::kCsv, ListFormat::Csv);
        add(texts::kExcel, ListFormat::Excel);
        menu.addSeparator();
        add(texts::kPrint, ListFormat::Print);
        add(texts::kPdf, ListFormat::Pdf);
        menu.exec(view_->viewport()->mapToGlobal(position));
    }

    void Run(ListFormat format) { output_->Output(view_->window(), format, makeTable_()); }

    QAbstractItemView* view_;
    ListOutput* output_;
    TableMaker makeTable_;
    QShortcut* shortcut_ = nullptr;
};

}  // namespace

void AttachListOutput(QAbstractItemView* view, ListOutput* output, TableMaker makeTable)
{
    if (view && output)
        new ListOutputMenu(view, output, std::move(makeTable));
}

text::TextTable TableOfModel(const QAbstractItemModel& model, const QString& title,
                             const std::vector<int>& columnWidths)
{
    text::TextTable table;
    table.title = text::ToCp932Lossy(title);
    const int columns = model.columnCount();
    for (int c = 0; c < columns; ++c)
        table.headers.push_back(text::ToCp932Lossy(model.headerData(c, Qt::Horizontal).toString()));
    table.columnWidths = columnWidths;
    std::vector<text::TextRow> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        text::TextRow row;
        for (int c = 0; c < columns; ++c)
            row.push_back(text::ToCp932Lossy(model.data(model.index(r, c)).toString()));
        rows.push_back(std::move(row));
    }
    table.rowCount = static_cast<int>(rows.size());
    table.rows = text::RowsOf(std::move(rows));
    return table;
}

}  // namespace widgets
