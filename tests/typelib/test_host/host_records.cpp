// The client's data components in the test host: the connection that runs a plug-in's statements
// and the report data that reads the server's values. Neither has a database: each records the
// statement and answers with the rows the script gave for it (HostState::answers), as an open
// recordset that the plug-in reads as ADO's.
#include <cwctype>
#include <memory>
#include <string>
#include <utility>

#include "fake_host.h"
#include "script_call.h"
#include "test_host.h"

namespace velaqm::testhost {

namespace {

constexpr LONG kStateClosed = 0;
constexpr LONG kStateOpen = 1;

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// The rows and the cursor of one recordset, shared by its fields: a field reads the current row.
struct Cursor {
    std::shared_ptr<const QueryAnswer> answer;
    std::size_t row = 0;
    LONG state = kStateOpen;

    std::size_t RowCount() const { return answer ? answer->rows.size() : 0; }
    bool AtEnd() const { return row >= RowCount(); }
};

std::size_t ColumnIndex(const Cursor& cursor, const VARIANT& key) {
    const std::size_t count = cursor.answer ? cursor.answer->columns.size() : 0;
    if (V_VT(&key) == VT_BSTR) {
        const std::wstring wanted = Lower(TextOf(key));
        for (std::size_t i = 0; i < count; ++i)
            if (Lower(cursor.answer->columns[i]) == wanted) return i;
        throw ScriptError("no field " + com::Utf8Of(TextOf(key)));
    }
    com::Variant index;
    if (FAILED(VariantChangeType(index.put(), const_cast<VARIANT*>(&key), 0, VT_I4)) ||
        V_I4(&index.get()) < 0 || static_cast<std::size_t>(V_I4(&index.get())) >= count)
        throw ScriptError("field index out of range");
    return static_cast<std::size_t>(V_I4(&index.get()));
}

ComPtr<IDispatch> NewField(const std::shared_ptr<Cursor>& cursor, std::size_t column) {
    auto field = NewScriptObject();
    AddMember(*field, L"Name", [cursor, column](Call& call) {
        call.Return(std::wstring_view(cursor->answer->columns[column]));
    });
    AddMember(*field, L"Value", [cursor, column](Call& call) {
        if (cursor->AtEnd()) throw ScriptError("no current record");
        const auto& row = cursor->answer->rows[cursor->row];
        if (column < row.size()) call.Return(row[column].get());
    });
    return AsDispatch(field);
}

ComPtr<IDispatch> NewFields(const std::shared_ptr<Cursor>& cursor) {
    auto fields = NewScriptObject();
    AddMember(*fields, L"Item", [cursor](Call& call) {
        call.Return(NewField(cursor, ColumnIndex(*cursor, call.Value(0))).get());
    });
    AddMember(*fields, L"Count", [cursor](Call& call) {
        call.Return(static_cast<LONG>(cursor->answer ? cursor->answer->columns.size() : 0));
    });
    return AsDispatch(fields);
}

ComPtr<IDispatch> NewRecordset(std::shared_ptr<const QueryAnswer> answer) {
    auto cursor = std::make_shared<Cursor>();
    cursor->answer = std::move(answer);
    auto records = NewScriptObject();
    AddMember(*records, L"State", [cursor](Call& call) { call.Return(cursor->state); });
    AddMember(*records, L"EOF", [cursor](Call& call) { call.Return(cursor->AtEnd()); });
    AddMember(*records, L"BOF", [cursor](Call& call) { call.Return(cursor->RowCount() == 0); });
    AddMember(*records, L"RecordCount",
              [cursor](Call& call) { call.Return(static_cast<LONG>(cursor->RowCount())); });
    AddMember(*records, L"Fields", [cursor](Call& call) {
        if (call.Count() > 0)
            call.Return(NewField(cursor, ColumnIndex(*cursor, call.Value(0))).get());
        else
            call.Return(NewFields(cursor).get());
    });
    AddMember(*records, L"MoveFirst", [cursor](Call&) { cursor->row = 0; });
    AddMember(*records, L"MoveNext", [cursor](Call&) {
        if (cursor->AtEnd()) throw ScriptError("no current record");
        ++cursor->row;
    });
    AddMember(*records, L"Close", [cursor](Call&) { cursor->state = kStateClosed; });
    return AsDispatch(records);
}

// Records the statement and answers it.
void Answer(const Call& call, const wchar_t* member, std::size_t sqlIndex) {
    const std::wstring sql = call.Text(sqlIndex);
    State().Record(std::wstring(member) + L" " + sql);
    call.Return(NewRecordset(State().AnswerTo(sql)).get());
}

}  // namespace

std::shared_ptr<const QueryAnswer> HostState::AnswerTo(const std::wstring& sql) const {
    const std::wstring statement = Lower(sql);
    for (auto answer = answers.rbegin(); answer != answers.rend(); ++answer)
        if (statement.find(Lower((*answer)->part)) != std::wstring::npos) return *answer;
    return nullptr;
}

ComPtr<IDispatch> NewAppConnection() {
    auto connection = NewScriptObject();
    AddMember(*connection, L"Execute", [](Call& call) { Answer(call, L"Execute", 0); });
    return AsDispatch(connection);
}

ComPtr<IDispatch> NewShopRptData() {
    auto data = NewScriptObject();
    AddMember(*data, L"GetData", [](Call& call) { Answer(call, L"GetData", 1); });
    return AsDispatch(data);
}

}  // namespace velaqm::testhost
