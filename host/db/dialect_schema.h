// What the translator asks of the database: which columns a table has and what they hold.
// The database fills a SchemaInfo from its catalog (database.cpp); the statement rewriter
// asks it only the questions below.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velaqm::host {

// The kind of value a column holds, from its declared type.
enum class ColumnType { kOther, kText, kInteger, kNumber, kDate };
ColumnType ColumnTypeOf(std::string_view declaredType);

// The database's tables: their columns in order and their types. Dates matter because a date
// literal written to or compared with such a column is put into the stored form
// 'YYYY-MM-DD HH:MM:SS' ('2009/10/1' would otherwise never equal a stored date); numbers
// because SQL Server's + adds them where it joins text, AVG of whole numbers stays whole, and
// a division with a fraction does not truncate.
class SchemaInfo {
  public:
    void AddColumn(std::string_view table, std::string_view column, std::string_view declaredType);

    // Column names of the table in order, upper-case; empty when the table is unknown.
    std::vector<std::string> Columns(std::string_view table) const;
    // Whether the table's column holds dates; for a table not known, IsDateColumnName.
    bool IsDateColumn(std::string_view table, std::string_view column) const;

    // The type a column of that name has in every table that has one; kOther when they differ
    // or no table has one. The questions below ask it of a column met without its table
    // (a bare name or alias.column).
    ColumnType TypeOfName(std::string_view column) const;
    bool IsDateColumnName(std::string_view column) const {
        return TypeOfName(column) == ColumnType::kDate;
    }
    bool IsWholeNumberColumnName(std::string_view column) const {
        return TypeOfName(column) == ColumnType::kInteger;
    }
    bool IsFractionalColumnName(std::string_view column) const {
        return TypeOfName(column) == ColumnType::kNumber;
    }
    bool IsNumericColumnName(std::string_view column) const {
        return IsWholeNumberColumnName(column) || IsFractionalColumnName(column);
    }

  private:
    struct Column {
        std::string name;
        ColumnType type;
    };
    std::unordered_map<std::string, std::vector<Column>> m_tables;  // lower-case table name
    std::unordered_map<std::string, ColumnType> m_typeByName;       // lower-case column name
};

}  // namespace velaqm::host
