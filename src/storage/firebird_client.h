#pragma once
// Thin owners of Firebird client handles. Every failure of the client library
// becomes fb::Error; nothing here decides what a failure means to the caller.

#include <ibase.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "storage/row_store.h"

namespace storage::fb {

class Error : public std::runtime_error {
public:
    Error(std::string message, ISC_STATUS code, bool connectionLost)
        : std::runtime_error(std::move(message)), code_(code), connectionLost_(connectionLost)
    {}
    ISC_STATUS code() const { return code_; }
    // The attachment is unusable: the server went away or shut the database.
    bool connectionLost() const { return connectionLost_; }

private:
    ISC_STATUS code_;
    bool connectionLost_;
};

class Attachment {
public:
    Attachment() = default;
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    void attach(const std::string& path, const std::string& user, const std::string& password);
    // Runs a CREATE DATABASE text; on success this object holds the new attachment.
    void createDatabase(const std::string& statement);
    // Never throws; a handle the server no longer knows is simply forgotten.
    void detach() noexcept;
    bool isOpen() const { return handle_ != 0; }
    isc_db_handle* handle() { return &handle_; }

private:
    isc_db_handle handle_ = 0;
};

class Transaction {
public:
    explicit Transaction(Attachment& attachment) : attachment_(attachment) {}
    ~Transaction() { rollback(); }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start();
    void commit();
    void rollback() noexcept;
    bool isActive() const { return handle_ != 0; }
    isc_tr_handle* handle() { return &handle_; }

private:
    Attachment& attachment_;
    isc_tr_handle handle_ = 0;
};

// One prepared statement with its output buffers; rows come back as texts.
class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void prepare(Attachment& attachment, Transaction& transaction, const std::string& text);
    // Opens the cursor of a select, or runs any other statement.
    void execute(Transaction& transaction);
    // Adds the next row to the store; false past the last row.
    bool fetch(RowStore& rows);
    // Moves past the next row without keeping its values; false past the last.
    bool skip();
    int columnCount() const;
    bool hasCursor() const { return cursorOpen_; }
    void close() noexcept;
    // Frees the statement; needed before its attachment goes.
    void drop() noexcept;

private:
    void describeOutput();
    void bindOutput();

    isc_stmt_handle handle_ = 0;
    std::unique_ptr<char[]> sqldaStorage_;
    XSQLDA* out_ = nullptr;
    std::vector<std::vector<char>> buffers_;
    std::vector<short> indicators_;
    bool isSelect_ = false;
    bool cursorOpen_ = false;
};

// An attachment to a services manager ("host:service_mgr", or "service_mgr"
// for the engine in this process) and the one task started on it.
class Service {
public:
    Service() = default;
    ~Service() { detach(); }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    void attach(const std::string& name, const std::string& user, const std::string& password);
    // A ready request buffer: the action tag, then its parameters.
    void start(const std::string& request);
    // One round trip: `send` items (may be empty), the `items` asked for; the
    // answer fills `result`, ending with isc_info_end.
    void query(const std::string& send, const std::string& items, std::vector<char>& result);
    void detach() noexcept;

private:
    isc_svc_handle handle_ = 0;
};

}  // namespace storage::fb
