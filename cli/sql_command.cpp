#include "cli/sql_command.h"

#include <cmath>

#include "cli/echo.h"
#include "cli/scenario_run.h"
#include "frame/convert.h"
#include "frame/host_error.h"
#include "host/trace_log.h"

namespace velaqm::cli {

namespace {

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '\t':
                escaped += "\\t";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\\':
                escaped += "\\\\";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string JsonValue(const Variant& value) {
    switch (value.Type()) {
        case VarType::Empty:
        case VarType::Null:
        case VarType::Object:
            return "null";
        case VarType::Boolean:
            return value.AsBool() ? "true" : "false";
        case VarType::Long:
        case VarType::Decimal:
            return Text(value);
        case VarType::Double:
            return std::isfinite(value.AsDouble()) ? FormatDouble(value.AsDouble()) : "null";
        case VarType::String:
        case VarType::Date:
            return host::JsonString(Text(value));
    }
    return "null";
}

}  // namespace

void WriteTabSeparated(const host::ResultSet& result, std::ostream& out) {
    for (std::size_t i = 0; i < result.columns.size(); ++i)
        out << (i ? "\t" : "") << Escaped(result.columns[i]);
    out << '\n';
    for (const auto& row : result.rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            out << (i ? "\t" : "") << Escaped(Text(row[i]));
        out << '\n';
    }
}

void WriteJson(const host::ResultSet& result, std::ostream& out) {
    out << "{\"columns\":[";
    for (std::size_t i = 0; i < result.columns.size(); ++i)
        out << (i ? "," : "") << host::JsonString(result.columns[i]);
    out << "],\"rows\":[";
    for (std::size_t r = 0; r < result.rows.size(); ++r) {
        out << (r ? ",[" : "[");
        for (std::size_t i = 0; i < result.rows[r].size(); ++i)
            out << (i ? "," : "") << JsonValue(result.rows[r][i]);
        out << ']';
    }
    out << "]}\n";
}

int RunSql(const std::filesystem::path& database, std::string_view statement, bool json,
           std::ostream& out, std::ostream& err) {
    std::error_code error;
    if (std::filesystem::is_directory(database, error)) {
        err << "velaqm sql: the database " << Echo(database.string())
            << " is a folder, not a file\n";
        return 2;
    }
    if (!std::filesystem::is_regular_file(database, error)) {
        err << "velaqm sql: the database " << Echo(database.string()) << " does not exist\n";
        return 2;
    }
    try {
        // A read-only file still answers queries; a statement that writes fails on it.
        const auto mode =
            IsReadOnlyFile(database) ? host::OpenMode::kReadOnly : host::OpenMode::kReadWrite;
        host::Database db(database, mode);
        const host::ResultSet result = db.Execute(statement);
        if (!result.isQuery) return 0;
        if (json)
            WriteJson(result, out);
        else
            WriteTabSeparated(result, out);
    } catch (const std::exception& e) {
        // A database error repeats the statement, which is the user's own text.
        err << "velaqm sql: " << Echo(ErrorText(e)) << '\n';
        return 2;
    }
    return 0;
}

}  // namespace velaqm::cli
