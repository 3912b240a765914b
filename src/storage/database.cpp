#include "storage/database.h"

#include <algorithm>

#include "storage/firebird_client.h"
#include "text/mbcs.h"

namespace storage {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string TrimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// Rows are fetched from the server only as far as a caller moves; what was
// fetched stays, so the cursor can go back to the first row.
struct Cursor {
    fb::Statement statement;
    RowStore rows;
    size_t position = 0;
    bool open = false;
    bool exhausted = false;
    // QueryRow's copy of the row at the position.
    mutable Row current;
    mutable size_t currentIndex = SIZE_MAX;

    bool ensureRow(size_t index)
    {
        while (rows.size() <= index && !exhausted)
            if (!statement.fetch(rows))
                exhausted = true;
        return index < rows.size();
    }

    size_t countToEnd()
    {
        while (!exhausted)
            ensureRow(rows.size());
        return rows.size();
    }

    // The number of rows, read to the end without keeping them.
    size_t countWithoutKeeping()
    {
        size_t count = rows.size();
        while (!exhausted && statement.skip())
            ++count;
        exhausted = true;
        return count;
    }

    bool eof() const { return position >= rows.size(); }

    const Row& currentRow() const
    {
        if (currentIndex != position) {
            // Every value is overwritten; the strings keep their room from row to row.
            const auto columns = static_cast<size_t>(statement.columnCount());
            if (current.size() != columns)
                current.assign(columns, std::string());
            if (rows.copyRow(position, current) < 0)
                current.clear();
            currentIndex = position;
        }
        return current;
    }

    void close() noexcept
    {
        statement.close();
        rows.clear();
        current.clear();
        current.shrink_to_fit();
        currentIndex = SIZE_MAX;
        position = 0;
        open = false;
        exhausted = false;
    }
};

const Row kNoRow;

}  // namespace

struct Database::Impl {
    fb::Attachment attachment;
    fb::Transaction transaction{attachment};
    Cursor cursor;
    std::function<void(std::string_view)> observer;

    void notify(const std::string& text)
    {
        if (observer)
            observer(text);
    }

    void endTransaction() noexcept { transaction.rollback(); }

    void closeCursor() noexcept
    {
        cursor.close();
        endTransaction();
    }

    void dropConnection() noexcept
    {
        cursor.close();
        cursor.statement.drop();
        endTransaction();
        attachment.detach();
    }

    // After any failure: nothing stays open, and a connection that is gone
    // counts as closed so that callers see it and no handle is reused.
    void recover(const fb::Error& error) noexcept
    {
        cursor.close();
        endTransaction();
        if (error.connectionLost())
            dropConnection();
    }

    void prepareAndRun(const std::string& text)
    {
        notify(text);
        cursor.statement.prepare(attachment, transaction, text);
        cursor.statement.execute(transaction);
    }

    void openCursor(const std::string& text)
    {
        cursor.close();
        if (!transaction.isActive())
            transaction.start();
        prepareAndRun(text);
        cursor.open = true;
    }

    bool modify(const Lines& lines) { return modifyTogether({lines}); }

    bool modifyTogether(const std::vector<Lines>& statements)
    {
        if (!attachment.isOpen() || statements.empty())
            return false;
        bool done = false;
        try {
            endTransaction();
            transaction.start();
            cursor.close();
            for (const Lines& lines : statements) {
                prepareAndRun(JoinStatement(lines));
                cursor.statement.close();
            }
            transaction.commit();
            done = true;
        } catch (const fb::Error& error) {
            recover(error);
        }
        cursor.close();
        endTransaction();
        return done;
    }

    template <class Result, class Read>
    Result select(const Lines& lines, Result failure, Read read, bool keepOpen = false)
    {
        if (!attachment.isOpen())
            return failure;
        closeCursor();
        Result result = failure;
        try {
            openCursor(JoinStatement(lines));
            result = read();
        } catch (const fb::Error& error) {
            recover(error);
            return failure;
        }
        if (!keepOpen)
            cursor.close();
        return result;
    }

    // False when the row could not be read back; the buffer is then emptied.
    bool copyRow(size_t index, Row& buffer, int* copied = nullptr)
    {
        const int n = cursor.rows.copyRow(index, buffer);
        if (n < 0)
            clearBuffer(buffer);
        if (copied)
            *copied = std::max(n, 0);
        return n >= 0;
    }

    void clearBuffer(Row& buffer)
    {
        size_t k = std::min(static_cast<size_t>(cursor.statement.columnCount()), buffer.size());
        std::fill_n(buffer.begin(), k, std::string());
    }
};

Database::Database() : impl_(std::make_unique<Impl>()) {}

Database::~Database()
{
    DisconnectDatabase();
}

void Database::SetStatementObserver(std::function<void(std::string_view)> observer)
{
    impl_->observer = std::move(observer);
}

bool Database::Connected() const
{
    return impl_->attachment.isOpen();
}

bool Database::TransactionActive() const
{
    return impl_->transaction.isActive();
}

bool Database::QueryOpen() const
{
    return impl_->cursor.open;
}

void Database::CreateDatabase(const std::string& path)
{
    if (Connected())
        return;
    // A quote in a folder name must not end the literal early.
    std::string statement = "CREATE DATABASE " + text::SqlText(path) + " USER \"SYSDBA\"\r\n" +
                            "PASSWORD \"tidewater\"\r\nPAGE_SIZE 4096\r\n";
    impl_->notify(statement);
    try {
        impl_->attachment.createDatabase(statement);
    } catch (const fb::Error&) {
    }
}

void Database::ConnectDatabase(const std::string& path)
{
    if (Connected())
        return;
    try {
        impl_->attachment.attach(path, kUser, kPassword);
    } catch (const fb::Error&) {
        DisconnectDatabase();
    }
}

void Database::DisconnectDatabase()
{
    impl_->dropConnection();
}

bool Database::TableExists(std::string_view name)
{
    if (!Connected())
        return false;
    bool found = false;
    try {
        impl_->closeCursor();
        impl_->openCursor(kTableNamesQuery);
        const size_t count = impl_->cursor.countToEnd();
        Row row(1);
        for (size_t i = 0; i < count && !found; ++i)
            if (impl_->cursor.rows.copyRow(i, row) == 1 &&
                SameIgnoringCase(TrimRight(row[0]), name))
                found = true;
    } catch (const fb::Error& error) {
        impl_->recover(error);
    }
    impl_->closeCursor();
    return found;
}

bool Database::ExecuteDdl(const Lines& lines)
{
    if (lines.empty())
        return false;
    return impl_->modify(lines);
}

bool Database::ExecuteInOneTransaction(const std::vector<Lines>& statements)
{
    return impl_->modifyTogether(statements);
}

bool Database::InsertRow(std::string_view table, const std::vector<std::string>& columns,
                         const std::vector<std::string>& values)
{
    return impl_->modify(InsertRowLines(table, columns, values));
}

bool Database::UpdateRow(std::string_view table, const std::vector<std::string>& columns,
                         const std::vector<std::string>& values, std::string_view condition)
{
    return impl_->modify(UpdateRowLines(table, columns, values, condition));
}

bool Database::UpdateSet(std::string_view table, std::string_view setText,
                         std::string_view condition)
{
    return impl_->modify(UpdateSetLines(table, setText, condition));
}

bool Database::DeleteRows(std::string_view table, std::string_view condition)
{
    return impl_->modify(DeleteRowsLines(table, condition));
}

void Database::CloseCursor()
{
    impl_->closeCursor();
}

int Database::SelectAllWhere(std::string_view table, std::string_view condition)
{
    return impl_->select(SelectAllWhereLines(table, condition), -1,
                         [&] { return static_cast<int>(impl_->cursor.countWithoutKeeping()); });
}

bool Database::SelectExists(std::string_view table, std::string_view column,
                            std::string_view condition, int value)
{
    return impl_->select(SelectExistsLines(table, column, condition, value), false,
                         [&] { return impl_->cursor.ensureRow(0); });
}

std::string Database::SelectMax(std::string_view table, std::string_view column,
                                std::string_view condition)
{
    return impl_->select(SelectMaxLines(table, column, condition), std::string(), [&] {
        Row first(1);
        if (!impl_->cursor.ensureRow(0) || impl_->cursor.rows.copyRow(0, first) != 1)
            return std::string();
        return first[0];
    });
}

int Database::SelectColumns(std::string_view columnList, std::string_view table,
                            std::string_view condition, Row& buffer)
{
    return impl_->select(SelectColumnsLines(columnList, table, condition), -1, [&] {
        if (!impl_->cursor.ensureRow(0))
            return -1;
        int copied = 0;
        impl_->copyRow(0, buffer, &copied);
        return copied;
    });
}

int Database::SelectOrdered(std::string_view columnList, std::string_view table,
                            std::string_view condition, std::string_view order)
{
    return impl_->select(
        SelectOrderedLines(columnList, table, condition, order), 0,
        [&] {
            int count = static_cast<int>(impl_->cursor.countToEnd());
            impl_->cursor.position = 0;
            return count;
        },
        true);
}

void Database::FetchFirst(Row& buffer)
{
    Cursor& cursor = impl_->cursor;
    if (!cursor.open)
        return;
    impl_->clearBuffer(buffer);
    try {
        cursor.position = 0;
        if (cursor.ensureRow(0))
            impl_->copyRow(0, buffer);
    } catch (const fb::Error& error) {
        impl_->recover(error);
    }
}

void Database::FetchNext(Row& buffer)
{
    Cursor& cursor = impl_->cursor;
    if (!cursor.open)
        return;
    try {
        if (!cursor.eof())
            ++cursor.position;
        if (cursor.ensureRow(cursor.position))
            impl_->copyRow(cursor.position, buffer);
        else
            impl_->clearBuffer(buffer);
    } catch (const fb::Error& error) {
        impl_->clearBuffer(buffer);
        impl_->recover(error);
    }
}

void Database::CloseQuery()
{
    impl_->cursor.close();
}

std::vector<Row> Database::FetchAll(int count, std::size_t columns)
{
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
    FetchEach(count, columns, [&rows](const Row& row) { rows.push_back(row); });
    return rows;
}

bool Database::OpenQuery(const Lines& lines)
{
    if (!Connected())
        return false;
    try {
        impl_->openCursor(JoinStatement(lines));
        return true;
    } catch (const fb::Error& error) {
        impl_->recover(error);
        return false;
    }
}

bool Database::QueryFirst()
{
    if (!impl_->cursor.open)
        return false;
    try {
        impl_->cursor.position = 0;
        impl_->cursor.ensureRow(0);
        return true;
    } catch (const fb::Error& error) {
        impl_->recover(error);
        return false;
    }
}

bool Database::QueryNext()
{
    return QueryMoveBy(1);
}

bool Database::QueryMoveBy(int rows)
{
    Cursor& cursor = impl_->cursor;
    if (!cursor.open)
        return false;
    try {
        if (rows < 0) {
            size_t back = static_cast<size_t>(-static_cast<long long>(rows));
            cursor.position = back > cursor.position ? 0 : cursor.position - back;
            return true;
        }
        size_t target = cursor.position + static_cast<size_t>(rows);
        cursor.position = cursor.ensureRow(target) ? target : cursor.rows.size();
        return true;
    } catch (const fb::Error& error) {
        impl_->recover(error);
        return false;
    }
}

bool Database::QueryEof() const
{
    return !impl_->cursor.open || impl_->cursor.eof();
}

const Row& Database::QueryRow() const
{
    const Cursor& cursor = impl_->cursor;
    return cursor.open && !cursor.eof() ? cursor.currentRow() : kNoRow;
}

bool Database::StreamRows(const Lines& lines, const std::function<bool(const Row&)>& each)
{
    if (!Connected())
        return false;
    bool complete = false;
    try {
        impl_->closeCursor();
        impl_->openCursor(JoinStatement(lines));
        // One row at a time through a store of its own: nothing is kept.
        RowStore one;
        Row row(static_cast<size_t>(impl_->cursor.statement.columnCount()));
        complete = true;
        while (impl_->cursor.statement.fetch(one)) {
            one.copyRow(0, row);
            one.clear();
            if (!each(row))
                break;
        }
    } catch (const fb::Error& error) {
        impl_->recover(error);
        complete = false;
    }
    impl_->closeCursor();
    return complete;
}

}  // namespace storage
