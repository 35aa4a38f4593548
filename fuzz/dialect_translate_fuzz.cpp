// The SQL Server dialect as pure text work: tokenizing, splitting a batch into statements and
// rewriting each for SQLite, over a schema that knows a few tables and their date columns.
// A refusal is a HostError; anything else that escapes is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/host_error.h"
#include "host/db/dialect.h"

namespace {

const velaqm::host::SchemaInfo& Schema() {
    static const velaqm::host::SchemaInfo schema = [] {
        velaqm::host::SchemaInfo info;
        for (const char* column : {"FID", "FBillNo", "FDate", "FCheckerID", "FNote"})
            info.AddColumn("QMClientServiceLog", column, std::string_view(column) == "FDate");
        for (const char* column : {"FInterID", "FEntryID", "FQty", "FCheckDate"})
            info.AddColumn("QMSampleEntry", column, std::string_view(column) == "FCheckDate");
        for (const char* column : {"FInterID", "FNumber", "FName", "FTypeID"})
            info.AddColumn("QMAInfo", column, false);
        return info;
    }();
    return schema;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    (void)velaqm::host::ParseSqlDate(sql);
    try {
        for (const velaqm::host::Token& token : velaqm::host::Tokenize(sql))
            if (token.kind == velaqm::host::TokenKind::kString)
                (void)velaqm::host::ParseSqlDate(token.text);
        (void)velaqm::host::TranslateBatch(sql, Schema());
    } catch (const velaqm::HostError&) {
    }
    return 0;
}
