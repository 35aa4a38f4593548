#include "host/db/dialect_schema.h"

#include <array>

#include "host/db/dialect_lexical.h"
#include "host/db/dialect_types.h"

namespace velaqm::host {

using namespace dialect;

ColumnType ColumnTypeOf(std::string_view declaredType) {
    std::string word;
    for (char c : declaredType) {
        if (!IsAsciiLetter(c) && !IsDigit(c) && c != '_') break;
        word += c;
    }
    word = Upper(word);
    static constexpr std::array<std::string_view, 5> kIntegers = {"INT", "INTEGER", "BIGINT",
                                                                  "SMALLINT", "TINYINT"};
    static constexpr std::array<std::string_view, 7> kNumbers = {
        "DECIMAL", "NUMERIC", "MONEY", "SMALLMONEY", "FLOAT", "REAL", "DOUBLE"};
    if (IsDateTypeName(word)) return ColumnType::kDate;
    if (OneOf(word, kIntegers)) return ColumnType::kInteger;
    if (OneOf(word, kNumbers)) return ColumnType::kNumber;
    if (IsCharTypeName(word) || word == "CLOB") return ColumnType::kText;
    return ColumnType::kOther;
}

void SchemaInfo::AddColumn(std::string_view table, std::string_view column,
                           std::string_view declaredType) {
    const ColumnType type = ColumnTypeOf(declaredType);
    m_tables[Lower(table)].push_back(Column{std::string(column), type});
    auto [it, added] = m_typeByName.try_emplace(Lower(column), type);
    if (!added && it->second != type) it->second = ColumnType::kOther;
}

std::vector<std::string> SchemaInfo::Columns(std::string_view table) const {
    std::vector<std::string> names;
    if (const auto found = m_tables.find(Lower(table)); found != m_tables.end())
        for (const Column& entry : found->second)
            names.push_back(Upper(entry.name));
    return names;
}

bool SchemaInfo::IsDateColumn(std::string_view table, std::string_view column) const {
    const auto found = m_tables.find(Lower(table));
    if (found == m_tables.end()) return IsDateColumnName(column);
    const std::string name = Lower(column);
    for (const Column& entry : found->second)
        if (Lower(entry.name) == name) return entry.type == ColumnType::kDate;
    return false;
}

ColumnType SchemaInfo::TypeOfName(std::string_view column) const {
    const auto found = m_typeByName.find(Lower(column));
    return found == m_typeByName.end() ? ColumnType::kOther : found->second;
}

}  // namespace velaqm::host
