// The SQL Server dialect as pure text work: tokenizing, splitting a batch into statements and
// rewriting each for SQLite, over a schema that knows a few tables and their columns' declared
// types. A refusal is a HostError; anything else that escapes is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/host_error.h"
#include "host/db/dialect.h"

namespace {

const velaqm::host::SchemaInfo& Schema() {
    static const velaqm::host::SchemaInfo schema = [] {
        velaqm::host::SchemaInfo info;
        // Declared types steer the rewrites: dates, whole numbers (AVG, division), text.
        struct Column {
            const char* table;
            const char* name;
            const char* type;
        };
        for (const Column& c :
             {Column{"QMClientServiceLog", "FID", "INTEGER"},
              Column{"QMClientServiceLog", "FBillNo", "TEXT"},
              Column{"QMClientServiceLog", "FDate", "DATETIME"},
              Column{"QMClientServiceLog", "FCheckerID", "INTEGER"},
              Column{"QMClientServiceLog", "FNote", "TEXT"},
              Column{"QMSampleEntry", "FInterID", "INTEGER"},
              Column{"QMSampleEntry", "FEntryID", "INTEGER"},
              Column{"QMSampleEntry", "FQty", "DECIMAL(28,10)"},
              Column{"QMSampleEntry", "FCheckDate", "DATETIME"},
              Column{"QMAInfo", "FInterID", "INTEGER"}, Column{"QMAInfo", "FNumber", "TEXT"},
              Column{"QMAInfo", "FName", "TEXT"}, Column{"QMAInfo", "FTypeID", "INTEGER"}})
            info.AddColumn(c.table, c.name, c.type);
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
