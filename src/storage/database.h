#pragma once
// The one connection, transaction and query of the process. Every operation
// catches its own failure, rolls back and reports only through its result.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "storage/statements.h"

namespace storage {

using Row = std::vector<std::string>;

class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    static constexpr const char* kUser = "SYSDBA";
    static constexpr const char* kPassword = "tidewater";

    // Sees every statement text exactly as it is sent.
    void SetStatementObserver(std::function<void(std::string_view)> observer);

    // Silent on failure; the connection state is left as it was.
    void CreateDatabase(const std::string& path);
    void ConnectDatabase(const std::string& path);
    void DisconnectDatabase();
    bool Connected() const;
    bool TransactionActive() const;
    bool QueryOpen() const;

    bool TableExists(std::string_view name);
    bool ExecuteDdl(const Lines& lines);
    // Several changes that must happen together: all are committed, or none
    // when any of them fails. False for an empty list.
    bool ExecuteInOneTransaction(const std::vector<Lines>& statements);

    bool InsertRow(std::string_view table, const std::vector<std::string>& columns,
                   const std::vector<std::string>& values);
    bool UpdateRow(std::string_view table, const std::vector<std::string>& columns,
                   const std::vector<std::string>& values, std::string_view condition);
    bool UpdateSet(std::string_view table, std::string_view setText, std::string_view condition);
    bool DeleteRows(std::string_view table, std::string_view condition);

    void CloseCursor();
    int SelectAllWhere(std::string_view table, std::string_view condition);
    bool SelectExists(std::string_view table, std::string_view column, std::string_view condition,
                      int value);
    std::string SelectMax(std::string_view table, std::string_view column,
                          std::string_view condition);
    // Copies the first row into the buffer (as far as it is sized); -1 when none.
    int SelectColumns(std::string_view columnList, std::string_view table,
                      std::string_view condition, Row& buffer);
    // Counts the rows and leaves the result open on the first one.
    int SelectOrdered(std::string_view columnList, std::string_view table,
                      std::string_view condition, std::string_view order);
    void FetchFirst(Row& buffer);
    void FetchNext(Row& buffer);
    void CloseQuery();
    // Hands each of the `count` rows SelectOrdered left open to `each` in
    // turn, in a buffer of `columns` texts, then closes the result. An `each`
    // that returns false ends the reading there.
    template <class Each>
    void FetchEach(int count, std::size_t columns, Each&& each)
    {
        Row row(columns);
        for (int i = 0; i < count; ++i) {
            if (i == 0)
                FetchFirst(row);
            else
                FetchNext(row);
            if constexpr (std::is_same_v<decltype(each(static_cast<const Row&>(row))), bool>) {
                if (!each(static_cast<const Row&>(row)))
                    break;
            } else {
                each(static_cast<const Row&>(row));
            }
        }
        CloseQuery();
    }
    std::vector<Row> FetchAll(int count, std::size_t columns);

    // The shared query used directly, for readers that page through a result
    // and must not read it to the end. Each returns false on failure.
    bool OpenQuery(const Lines& lines);
    bool QueryFirst();
    bool QueryNext();
    bool QueryMoveBy(int rows);
    bool QueryEof() const;
    const Row& QueryRow() const;

    // Reads a result once from start to end and keeps none of its rows: for
    // whole-table exports, whose memory must not grow with the table. Stops
    // when `each` returns false. False when the statement failed or the read
    // broke off; the result and its transaction are closed either way.
    bool StreamRows(const Lines& lines, const std::function<bool(const Row&)>& each);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace storage
