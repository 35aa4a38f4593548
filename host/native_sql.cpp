#include "host/native_sql.h"

#include <span>

namespace velaqm::host {

namespace {
std::shared_ptr<Statement> Prepared(Database& db, std::string_view sql,
                                    std::initializer_list<Variant> params) {
    auto statement = db.Prepare(sql);
    statement->BindAll(std::span<const Variant>(params.begin(), params.size()));
    return statement;
}
}  // namespace

std::vector<Row> QueryRows(Database& db, std::string_view sql,
                           std::initializer_list<Variant> params) {
    const auto statement = Prepared(db, sql, params);
    std::vector<Row> rows;
    while (statement->Step())
        rows.push_back(statement->Row());
    return rows;
}

Variant QueryValue(Database& db, std::string_view sql, std::initializer_list<Variant> params) {
    const auto statement = Prepared(db, sql, params);
    Variant value = statement->Step() ? statement->Column(0) : Variant();
    // A statement left on its first row would keep its tables busy (DROP TABLE is refused).
    statement->Reset();
    return value;
}

void RunNative(Database& db, std::string_view sql, std::initializer_list<Variant> params) {
    Prepared(db, sql, params)->Run();
}

}  // namespace velaqm::host
