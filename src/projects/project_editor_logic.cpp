#include "projects/project_editor_logic.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "projects/project_columns.h"
#include "projects/project_editor_texts.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace projects {

namespace texts = editor_texts;

namespace {

constexpr int kClientItemBytes = 32;

QString Message(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

bool HasQuoteOrColon(std::string_view bytes)
{
    return bytes.find_first_of("'\":") != std::string_view::npos;
}

std::string NumberCondition(int n)
{
    return "N=" + std::to_string(n);
}

const std::string& ClientSeparator()
{
    static const std::string separator = text::ToCp932Lossy(Message(texts::kClientSeparator));
    return separator;
}

const EditorControl kDateControls[] = {EditorControl::Edit9, EditorControl::Edit10,
                                       EditorControl::Edit11, EditorControl::Edit12,
                                       EditorControl::Edit13};

// Edit9 .. Edit13 hold PDATE1, PDATE2, DATE1, DATE2, NDATE.
const std::string& DateText(const ProjectForm& form, int i)
{
    return form.texts[kColPDATE1 - kFirstTextColumn + i];
}

}  // namespace

void ProjectEditorLogic::Start()
{
    mode_ = globals_.ProjectEditMode;
    projectNo_ = globals_.CurrentProjectNo;
}

std::string ProjectEditorLogic::ProposeNumber()
{
    // 64 bits: past the largest 32-bit number the proposal is refused on save
    // instead of wrapping round to a negative number.
    const std::int64_t largest = text::StrToIntOrZero(db_.SelectMax("ZPROJECT", "N", ""));
    return std::to_string(largest + 1);
}

void ProjectEditorLogic::LoadClientItems()
{
    clientItems_.assign(1, " ");
    if (!db_.TableExists("COMPANY"))
        return;
    const int count = db_.SelectOrdered("*", "COMPANY", "", "N");
    db_.FetchEach(count, storage::kCompanyColumns, [&](const storage::Row& row) {
        std::string item = row[kCompanyN] + ":" + row[kCompanyCNAME];
        if (!row[kCompanyBNAME].empty())
            item += ClientSeparator() + row[kCompanyBNAME];
        clientItems_.push_back(text::CopyMbcs(item, 1, kClientItemBytes).text);
    });
}

std::string ProjectEditorLogic::ClientItemFor(int client) const
{
    for (size_t i = 1; i < clientItems_.size(); ++i)
        if (text::StrToIntOrZero(text::TextBeforeColon(clientItems_[i])) == client)
            return clientItems_[i];
    return std::string();
}

int ProjectEditorLogic::ClientOf(std::string_view clientText) const
{
    for (size_t i = 1; i < clientItems_.size(); ++i)
        if (clientItems_[i] == clientText)
            return text::StrToIntOrZero(text::TextBeforeColon(clientItems_[i]));
    return 0;
}

LoadOutcome ProjectEditorLogic::Load(std::string_view numberText)
{
    LoadOutcome outcome;
    const int n = text::StrToIntOrZero(numberText);
    if (n < 1) {
        outcome.focus = EditorControl::Edit1;
        return outcome;
    }

    // A number without a project leaves every element empty, and so the form.
    storage::Row row(storage::kProjectColumns);
    db_.SelectOrdered("*", "ZPROJECT", NumberCondition(n), "");
    db_.FetchFirst(row);
    db_.CloseQuery();

    ProjectForm form;
    form.number = row[kColN];
    form.client = ClientItemFor(text::StrToIntOrZero(row[kColCN]));
    for (int i = 0; i < kEditorTextCount; ++i)
        form.texts[i] = row[kFirstTextColumn + i];
    form.done = text::StrToIntOrZero(row[kColENDF]) != 0;
    outcome.form = std::move(form);

    const int creator = row[kColN].empty() ? 0 : text::StrToIntOrZero(row[kColMN]);
    if (creator > 0) {
        storage::Row member(storage::kMemberColumns);
        db_.SelectOrdered("*", "MEMBER", NumberCondition(creator), "");
        db_.FetchFirst(member);
        db_.CloseQuery();
        outcome.creatorName = member[kMemberPNAME];
    }
    outcome.focus = EditorControl::ComboBox1;
    return outcome;
}

SaveOutcome ProjectEditorLogic::Save(const ProjectForm& form)
{
    SaveOutcome out;
    auto refuse = [&out](const char* message, EditorControl focus) {
        out.messages.push_back(Message(message));
        out.focus = focus;
        return out;
    };

    const int n = text::StrToIntOrZero(form.number);
    if (n <= 0) {
        out.clearNumber = true;
        out.focus = EditorControl::Edit1;
        return out;
    }

    int creator = 0;
    if (mode_ == 1) {
        storage::Row stored(storage::kProjectColumns);
        if (db_.SelectColumns("*", "ZPROJECT", NumberCondition(n), stored) < 1)
            return refuse(texts::kNumberMissingMessage, EditorControl::Edit1);
        creator = text::StrToIntOrZero(stored[kColMN]);
    } else {
        if (db_.SelectExists("ZPROJECT", "N", "", n))
            return refuse(texts::kNumberExistsMessage, EditorControl::Edit1);
        creator = globals_.settings.PcUserNo;
    }

    const std::string& name = form.texts[kColPRNAME - kFirstTextColumn];
    if (text::IsBlank(name))
        return refuse(texts::kNameMissingMessage, EditorControl::Edit2);
    if (HasQuoteOrColon(name))
        return refuse(texts::kNameQuoteMessage, EditorControl::Edit2);

    for (int i = 0; i < 5; ++i) {
        const std::string& date = DateText(form, i);
        if (!date.empty() && !text::IsValidDateString(date))
            return refuse(texts::kDateFormatMessage, kDateControls[i]);
    }
    // Pairs: planned (Edit9, Edit10) and actual (Edit11, Edit12).
    for (int start : {0, 2})
        if (DateText(form, start).empty() && !DateText(form, start + 1).empty())
            return refuse(texts::kEndWithoutStartMessage, kDateControls[start]);
    for (int start : {0, 2}) {
        const std::string& from = DateText(form, start);
        const std::string& to = DateText(form, start + 1);
        if (!from.empty() && !to.empty() && from > to)
            return refuse(texts::kStartAfterEndMessage, kDateControls[start]);
    }

    int client = ClientOf(form.client);
    if (client == 0 && !text::IsBlank(form.client)) {
        if (HasQuoteOrColon(form.client))
            return refuse(texts::kClientQuoteMessage, EditorControl::ComboBox1);
        // Another program may have used the largest number (or only numbers
        // below 1): no number is left then, and the client goes unregistered
        // rather than wrapping round to a number the register never gives.
        const std::int64_t next =
            std::int64_t{text::StrToIntOrZero(db_.SelectMax("COMPANY", "N", ""))} + 1;
        client = next >= 1 && next <= std::numeric_limits<std::int32_t>::max()
                     ? static_cast<int>(next)
                     : 0;
        if (client > 0 &&
            db_.InsertRow("COMPANY", {"N", "CNAME", "BNAME"},
                          {std::to_string(client), text::SqlText(form.client), "NULL"})) {
            std::string item =
                text::CopyMbcs(std::to_string(client) + ":" + form.client, 1, kClientItemBytes)
                    .text;
            clientItems_.push_back(item);
            out.newClientItem = std::move(item);
            out.messages.push_back(Message(texts::kClientRegisteredMessage));
        } else {
            out.messages.push_back(Message(texts::kClientNotRegisteredMessage));
            client = 0;
        }
    }

    // The client registered above stays registered whatever follows.
    for (const std::string& t : form.texts)
        if (text::HoldsQuote(t))
            return refuse(texts::kTextQuoteMessage, EditorControl::Edit2);

    std::vector<std::string> values{std::to_string(n), std::to_string(creator),
                                    std::to_string(client)};
    for (const std::string& t : form.texts)
        values.push_back(text::SqlTextOrNull(t));
    values.push_back(form.done ? "1" : "0");
    const std::vector<std::string> columns(kProjectColumnNames.begin(), kProjectColumnNames.end());

    out.saved = mode_ == 1 ? db_.UpdateRow("ZPROJECT", columns, values, NumberCondition(n))
                           : db_.InsertRow("ZPROJECT", columns, values);
    out.messages.push_back(Message(out.saved ? texts::kSavedMessage : texts::kNotSavedMessage));
    return out;
}

}  // namespace projects
