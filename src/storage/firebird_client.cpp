#include "storage/firebird_client.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <new>

namespace storage::fb {

namespace {

constexpr unsigned short kDialect = 3;

bool IsConnectionLost(ISC_STATUS code)
{
    switch (code) {
        case isc_network_error:
        case isc_net_read_err:
        case isc_net_write_err:
        case isc_lost_db_connection:
        case isc_conn_lost:
        case isc_shutdown:
        case isc_att_shutdown:
        case isc_bad_db_handle:
            return true;
        default:
            return false;
    }
}

[[noreturn]] void Throw(const ISC_STATUS* status)
{
    std::string message;
    const ISC_STATUS* vector = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &vector) > 0) {
        if (!message.empty())
            message += "\n";
        message += buffer;
    }
    ISC_STATUS code = status[1];
    throw Error(message, code, IsConnectionLost(code));
}

void Check(const ISC_STATUS* status)
{
    if (status[0] == 1 && status[1] != 0)
        Throw(status);
}

// Long texts are passed as zero-terminated (length 0), as the API wants.
unsigned short TextLength(const std::string& text)
{
    return text.size() < 0xFFFF ? static_cast<unsigned short>(text.size()) : 0;
}

std::string DecimalText(std::int64_t value, short scale)
{
    if (scale >= 0) {
        std::string s = std::to_string(value);
        if (value != 0)
            s.append(static_cast<size_t>(scale), '0');
        return s;
    }
    bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(value + 1)) + 1 : static_cast<std::uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    size_t places = static_cast<size_t>(-scale);
    if (digits.size() <= places)
        digits.insert(0, places - digits.size() + 1, '0');
    const size_t point = digits.size() - places;
    std::string text = negative ? "-" : "";
    text.append(digits, 0, point).append(".").append(digits, point);
    return text;
}

std::string DateText(const ISC_DATE& date)
{
    tm t{};
    isc_decode_sql_date(&date, &t);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday);
    return buffer;
}

std::string TimeText(const ISC_TIME& time)
{
    tm t{};
    isc_decode_sql_time(&time, &t);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return buffer;
}

std::string FloatText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

template <class Integer>
std::string_view IntegerText(Integer value, short scale, std::string& scratch, char (&buffer)[32])
{
    if (scale == 0) {
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::string_view(buffer, static_cast<size_t>(end - buffer));
    }
    scratch = DecimalText(value, scale);
    return scratch;
}

// The database layer's text form of one column value; NULL reads as empty.
// Texts go straight from the fetch buffer into the row store.
void AddColumnValue(const XSQLVAR& var, RowStore& rows)
{
    if ((var.sqltype & 1) && var.sqlind && *var.sqlind < 0) {
        rows.addValue({});
        return;
    }
    const char* data = var.sqldata;
    char buffer[32];
    std::string scratch;
    switch (var.sqltype & ~1) {
        case SQL_VARYING: {
            short length;
            std::memcpy(&length, data, sizeof length);
            rows.addValue(std::string_view(data + sizeof length, static_cast<size_t>(length)));
            return;
        }
        case SQL_TEXT:
            rows.addValue(std::string_view(data, static_cast<size_t>(var.sqllen)));
            return;
        case SQL_SHORT: {
            short v;
            std::memcpy(&v, data, sizeof v);
            rows.addValue(IntegerText<std::int64_t>(v, var.sqlscale, scratch, buffer));
            return;
        }
        case SQL_LONG: {
            ISC_LONG v;
            std::memcpy(&v, data, sizeof v);
            rows.addValue(IntegerText<std::int64_t>(v, var.sqlscale, scratch, buffer));
            return;
        }
        case SQL_INT64: {
            ISC_INT64 v;
            std::memcpy(&v, data, sizeof v);
            rows.addValue(IntegerText<std::int64_t>(v, var.sqlscale, scratch, buffer));
            return;
        }
        case SQL_FLOAT: {
            float v;
            std::memcpy(&v, data, sizeof v);
            scratch = FloatText(v);
            break;
        }
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            double v;
            std::memcpy(&v, data, sizeof v);
            scratch = FloatText(v);
            break;
        }
        case SQL_TYPE_DATE: {
            ISC_DATE v;
            std::memcpy(&v, data, sizeof v);
            scratch = DateText(v);
            break;
        }
        case SQL_TYPE_TIME: {
            ISC_TIME v;
            std::memcpy(&v, data, sizeof v);
            scratch = TimeText(v);
            break;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP v;
            std::memcpy(&v, data, sizeof v);
            scratch = DateText(v.timestamp_date) + " " + TimeText(v.timestamp_time);
            break;
        }
        case SQL_BOOLEAN:
            scratch = *data ? "True" : "False";
            break;
        default:
            break;  // blobs and arrays are not used by this application
    }
    rows.addValue(scratch);
}

// A parameter block's user name and password; the services manager's tags
// are the attachment's.
std::string WithCredentials(std::string block, const std::string& user, const std::string& password)
{
    for (const auto& [tag, value] : {std::pair{char(isc_dpb_user_name), &user},
                                     std::pair{char(isc_dpb_password), &password}}) {
        const std::string item = value->substr(0, 255);
        block.push_back(tag);
        block.push_back(static_cast<char>(item.size()));
        block += item;
    }
    return block;
}

size_t BufferSize(const XSQLVAR& var)
{
    switch (var.sqltype & ~1) {
        case SQL_VARYING:
            return static_cast<size_t>(var.sqllen) + sizeof(short);
        default:
            return static_cast<size_t>(var.sqllen) + 8;
    }
}

}  // namespace

Attachment::~Attachment()
{
    detach();
}

void Attachment::attach(const std::string& path, const std::string& user,
                        const std::string& password)
{
    const std::string dpb = WithCredentials({char(isc_dpb_version1)}, user, password);
    ISC_STATUS_ARRAY status;
    isc_db_handle handle = 0;
    isc_attach_database(status, 0, path.c_str(), &handle, static_cast<short>(dpb.size()),
                        dpb.data());
    Check(status);
    handle_ = handle;
}

void Attachment::createDatabase(const std::string& statement)
{
    ISC_STATUS_ARRAY status;
    isc_db_handle handle = 0;
    isc_tr_handle transaction = 0;
    isc_dsql_execute_immediate(status, &handle, &transaction, TextLength(statement),
                               statement.c_str(), kDialect, nullptr);
    Check(status);
    handle_ = handle;
}

void Attachment::detach() noexcept
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &handle_);
    handle_ = 0;
}

void Transaction::start()
{
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &handle_, 1, attachment_.handle(), 0, nullptr);
    if (status[0] == 1 && status[1])
        handle_ = 0;
    Check(status);
}

void Transaction::commit()
{
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &handle_);
    Check(status);
    handle_ = 0;
}

void Transaction::rollback() noexcept
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &handle_);
    // A transaction whose connection is gone cannot be rolled back; the server
    // undoes it when it notices the lost attachment.
    if (status[0] == 1 && status[1])
        fb_disconnect_transaction(status, &handle_);
    handle_ = 0;
}

Statement::~Statement()
{
    drop();
}

void Statement::prepare(Attachment& attachment, Transaction& transaction, const std::string& text)
{
    drop();
    ISC_STATUS_ARRAY status;
    isc_dsql_allocate_statement(status, attachment.handle(), &handle_);
    Check(status);
    sqldaStorage_ = std::make_unique<char[]>(XSQLDA_LENGTH(1));
    out_ = reinterpret_cast<XSQLDA*>(sqldaStorage_.get());
    out_->version = SQLDA_VERSION1;
    out_->sqln = 1;
    isc_dsql_prepare(status, transaction.handle(), &handle_, TextLength(text), text.c_str(),
                     kDialect, out_);
    Check(status);

    char item = isc_info_sql_stmt_type;
    char info[16];
    isc_dsql_sql_info(status, &handle_, 1, &item, sizeof info, info);
    Check(status);
    int type = 0;
    if (info[0] == isc_info_sql_stmt_type) {
        short length = static_cast<short>(isc_vax_integer(info + 1, 2));
        type = static_cast<int>(isc_vax_integer(info + 3, length));
    }
    isSelect_ = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
    describeOutput();
}

void Statement::describeOutput()
{
    if (out_->sqld > out_->sqln) {
        short count = out_->sqld;
        sqldaStorage_ = std::make_unique<char[]>(XSQLDA_LENGTH(count));
        out_ = reinterpret_cast<XSQLDA*>(sqldaStorage_.get());
        out_->version = SQLDA_VERSION1;
        out_->sqln = count;
        ISC_STATUS_ARRAY status;
        isc_dsql_describe(status, &handle_, kDialect, out_);
        Check(status);
    }
    bindOutput();
}

void Statement::bindOutput()
{
    short count = out_->sqld;
    buffers_.assign(static_cast<size_t>(count), {});
    indicators_.assign(static_cast<size_t>(count), 0);
    for (short i = 0; i < count; ++i) {
        XSQLVAR& var = out_->sqlvar[i];
        buffers_[i].assign(BufferSize(var), 0);
        var.sqldata = buffers_[i].data();
        var.sqlind = &indicators_[i];
    }
}

void Statement::execute(Transaction& transaction)
{
    ISC_STATUS_ARRAY status;
    isc_dsql_execute(status, transaction.handle(), &handle_, kDialect, nullptr);
    Check(status);
    cursorOpen_ = isSelect_;
}

bool Statement::fetch(RowStore& rows)
{
    if (!skip())
        return false;
    try {
        rows.beginRow();
        for (short i = 0; i < out_->sqld; ++i)
            AddColumnValue(out_->sqlvar[i], rows);
    } catch (const std::bad_alloc&) {
        // A result larger than memory is a failed read like any other.
        throw Error("out of memory", 0, false);
    }
    rows.endRow();
    return true;
}

bool Statement::skip()
{
    if (!cursorOpen_)
        return false;
    ISC_STATUS_ARRAY status;
    ISC_STATUS result = isc_dsql_fetch(status, &handle_, kDialect, out_);
    if (result == 100)
        return false;
    Check(status);
    return true;
}

int Statement::columnCount() const
{
    return out_ ? out_->sqld : 0;
}

void Statement::close() noexcept
{
    if (!handle_ || !cursorOpen_)
        return;
    ISC_STATUS_ARRAY status;
    isc_dsql_free_statement(status, &handle_, DSQL_close);
    cursorOpen_ = false;
}

void Statement::drop() noexcept
{
    cursorOpen_ = false;
    if (handle_) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &handle_, DSQL_drop);
        handle_ = 0;
    }
    out_ = nullptr;
    sqldaStorage_.reset();
    buffers_.clear();
    indicators_.clear();
}

void Service::attach(const std::string& name, const std::string& user, const std::string& password)
{
    detach();
    const std::string spb =
        WithCredentials({char(isc_spb_version), char(isc_spb_current_version)}, user, password);
    ISC_STATUS_ARRAY status;
    isc_svc_handle handle = 0;
    isc_service_attach(status, 0, name.c_str(), &handle, static_cast<unsigned short>(spb.size()),
                       spb.data());
    Check(status);
    handle_ = handle;
}

void Service::start(const std::string& request)
{
    ISC_STATUS_ARRAY status;
    isc_service_start(status, &handle_, nullptr, static_cast<unsigned short>(request.size()),
                      request.data());
    Check(status);
}

void Service::query(const std::string& send, const std::string& items, std::vector<char>& result)
{
    ISC_STATUS_ARRAY status;
    isc_service_query(status, &handle_, nullptr, static_cast<unsigned short>(send.size()),
                      send.data(), static_cast<unsigned short>(items.size()), items.data(),
                      static_cast<unsigned short>(result.size()), result.data());
    Check(status);
}

void Service::detach() noexcept
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status;
    isc_service_detach(status, &handle_);
    handle_ = 0;
}

}  // namespace storage::fb
