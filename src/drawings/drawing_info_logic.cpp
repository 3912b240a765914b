#include "drawings/drawing_info_logic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "drawings/drawing_info_texts.h"
#include "drawings/file_registration.h"
#include "drawings/jwcad_header.h"
#include "drawings/name_tree_editing.h"
#include "drawings/project_detail_logic.h"
#include "drawings/revision_history_logic.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "text/platform.h"

namespace drawings {

using text::Utf8;

namespace {

QString EditName(int number)
{
    return QStringLiteral("Edit%1").arg(number);
}

QString ComboName(int number)
{
    return QStringLiteral("ComboBox%1").arg(number);
}

PageOutcome Tell(const char* message, const QString& focus = QString())
{
    PageOutcome outcome;
    outcome.message = Utf8(message);
    outcome.focus = focus;
    return outcome;
}

bool IsPathSeparator(QChar c)
{
#ifdef _WIN32
    return c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':');
#else
    return c == QLatin1Char('/');
#endif
}

bool IsExistingFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

}  // namespace

int DrawingPage::NodeNumber() const
{
    return text::StrToIntOrZero(Edit(1));
}

int DrawingPage::MemberNumber(int combo) const
{
    const int index = memberIndexes.at(combo - 1);
    if (index < 0 || static_cast<std::size_t>(index) >= memberItems.size())
        return 0;
    return text::StrToIntOrZero(text::TextBeforeColon(memberItems[index]));
}

QString DrawingFilePath(const DrawingPage& page)
{
    return text::FromCp932(page.Edit(4) + page.Edit(3));
}

QStringList DrawingFileFilters()
{
    QStringList filters;
    for (const drawing_info_texts::FileFilter& filter : drawing_info_texts::kFileFilters) {
        const QString patterns = QString::fromUtf8(filter.patterns).replace(';', ' ');
        filters << Utf8(filter.description) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

BrowseRequest MakeBrowseRequest(const DrawingPage& page, std::string_view lastDrawingFolder)
{
    BrowseRequest request;
    const QString folder = text::FromCp932(page.Edit(4));
    if (!folder.trimmed().isEmpty() && QFileInfo(folder).isDir())
        request.initialFolder = folder;
    else
        request.initialFolder = text::FromCp932(lastDrawingFolder);
    request.fileName = text::FromCp932(page.Edit(3));
    request.filters = DrawingFileFilters();
    return request;
}

QString StoredPath(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() >= 2 && native[0] >= QLatin1Char('D') && native[0] <= QLatin1Char('Z') &&
        native[1] == QLatin1Char(':')) {
        const std::string share = text::GetNetworkConnection(native.left(2).toStdString());
        return text::FromCp932(share) + native.mid(2);
    }
    return native;
}

PathParts SplitPath(const QString& path)
{
    qsizetype cut = path.size();
    while (cut > 0 && !IsPathSeparator(path[cut - 1]))
        --cut;
    return {path.left(cut), path.mid(cut)};
}

PageOutcome TakeChosenFile(const QString& chosenPath)
{
    PageOutcome outcome;
    const PathParts parts = SplitPath(StoredPath(chosenPath));
    const std::optional<std::string> fileName = text::ToCp932(parts.fileName);
    const std::optional<std::string> folder = text::ToCp932(parts.folder);
    if (chosenPath.isEmpty() || !fileName || !folder)
        return outcome;
    outcome.texts.push_back({EditName(3), *fileName});
    outcome.texts.push_back({EditName(4), *folder});
    // The same dates registration would store for this file.
    const FileDays days = ReadFileDays(chosenPath);
    if (!days.created.empty() || !days.modified.empty()) {
        outcome.texts.push_back({EditName(11), days.created});
        outcome.texts.push_back({EditName(12), days.modified});
    }
    return outcome;
}

PageOutcome OpenDrawingFile(const DrawingPage& page)
{
    if (page.Edit(4).empty() && page.Edit(3).empty())
        return Tell(drawing_info_texts::kNoPathOrFile);
    const QString path = DrawingFilePath(page);
    if (!IsExistingFile(path))
        return Tell(drawing_info_texts::kFileMissing);
    PageOutcome outcome;
    outcome.fileToOpen = path;
    return outcome;
}

PageOutcome TakeHeaderText(const DrawingPage& page)
{
    PageOutcome outcome;
    const QString path = DrawingFilePath(page);
    if (IsExistingFile(path))
        outcome.texts.push_back(
            {EditName(8), ReadJwcadHeader(QFile::encodeName(path).toStdString())});
    return outcome;
}

PageOutcome StampPage(const DrawingPage& page, Stamp stamp, const storage::Settings& settings,
                      const QDate& today)
{
    const int combo = stamp == Stamp::Check ? 2 : stamp == Stamp::Approval ? 3 : 4;
    const QString pcMember =
        text::FromCp932(std::to_string(settings.PcUserNo) + ":" + settings.PcUserName);
    int index = 0;
    for (std::size_t i = 0; i < page.memberItems.size(); ++i) {
        if (text::FromCp932(page.memberItems[i]).compare(pcMember, Qt::CaseInsensitive) == 0) {
            index = static_cast<int>(i);
            break;
        }
    }
    PageOutcome outcome;
    outcome.selections.push_back({ComboName(combo), index});
    outcome.texts.push_back({EditName(combo + 11), DateString(today)});
    return outcome;
}

DrawingInfoLogic::DrawingInfoLogic(storage::Database& db, int projectNo)
    : db_(db),
      drawingTable_("ZMN_" + std::to_string(projectNo)),
      revisionTable_("REV_" + std::to_string(projectNo))
{}

PageOutcome DrawingInfoLogic::TakeLatestRevision(const DrawingPage& page)
{
    storage::Row newest(storage::kRevisionColumns);  // N, ZN, CONT, RN, RDATE
    const int count = db_.SelectOrdered(
        "*", revisionTable_, "ZN=" + std::to_string(page.NodeNumber()), "RDATE DESC,N DESC");
    if (count > 0)
        db_.FetchFirst(newest);
    db_.CloseQuery();
    // A read lost with the connection is not "no revision": clearing the
    // stamp here would be stored by the next save.
    if (!db_.Connected())
        return {};

    PageOutcome outcome;
    outcome.selections.push_back({ComboName(5), FindMemberItem(page.memberItems, newest[3])});
    outcome.texts.push_back({EditName(16), newest[4]});
    return outcome;
}

std::vector<std::string> DrawingInfoLogic::RevisionLines(int nodeNumber)
{
    return ReadRevisionLines(db_, revisionTable_, nodeNumber);
}

PageOutcome DrawingInfoLogic::Save(const DrawingPage& page)
{
    const int node = page.NodeNumber();
    for (int box = 11; box <= 16; ++box) {
        const std::string& date = page.Edit(box);
        if (!date.empty() && !text::IsValidDateString(date))
            return Tell(drawing_info_texts::kBadDate, EditName(box));
    }
    for (int box = 5; box <= 16; ++box)
        if (text::HoldsQuote(page.Edit(box)))
            return Tell(drawing_info_texts::kNoQuotes, EditName(box));

    // An update of no row succeeds yet stores nothing: the project node has no
    // drawing row, and another PC may have deleted the node meanwhile.
    if (!db_.SelectExists(drawingTable_, "N", "", node))
        return Tell(drawing_info_texts::kSaveFailed);

    std::vector<std::string> values{std::to_string(node)};
    for (int box = 3; box <= 10; ++box)  // FILE_NAME to MEMO3
        values.push_back(text::SqlTextOrNull(page.Edit(box)));
    values.push_back(std::to_string(page.MemberNumber(1)));  // MN
    values.push_back(text::SqlTextOrNull(page.Edit(11)));    // DDATE
    values.push_back(text::SqlTextOrNull(page.Edit(12)));    // UDATE
    for (int stage = 0; stage < 4; ++stage) {                // KN/KDATE .. RN/RDATE
        values.push_back(std::to_string(page.MemberNumber(2 + stage)));
        values.push_back(text::SqlTextOrNull(page.Edit(13 + stage)));
    }
    const bool saved =
        db_.UpdateRow(drawingTable_, DrawingColumnNames(), values, "N=" + std::to_string(node));
    return Tell(saved ? drawing_info_texts::kSaved : drawing_info_texts::kSaveFailed);
}

}  // namespace drawings
