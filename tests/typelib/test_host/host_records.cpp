// The client's data components in the test host: the connection that runs a plug-in's statements
// and the report data that reads the server's values. Neither has a database: each records the
// statement and answers with the rows the script gave for it (HostState::answers), as an open
// recordset that the plug-in reads as ADO's.
#include <cwctype>
#include <memory>
#include <string>
#include <utility>

#include "fake_host.h"
#include "host_values.h"
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

// The Size of a vector the plug-in hands over (0 for none).
LONG SizeOf(IDispatch* vector) {
    if (!vector) return 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Size");
    DISPID id = 0;
    com::Check(vector->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), "Size");
    DISPPARAMS none{};
    com::Variant size;
    com::Check(vector->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                              size.put(), nullptr, nullptr),
               "Size");
    return std::stol(TextOf(size.get()));
}

// The answer's rows as the data components hand rows over: a vector of one dictionary per row.
ComPtr<IDispatch> RowDictionaries(const QueryAnswer* answer) {
    std::vector<com::Variant> rows;
    if (answer)
        for (const auto& values : answer->rows) {
            Entries row;
            for (std::size_t c = 0; c < answer->columns.size() && c < values.size(); ++c)
                row.emplace_back(answer->columns[c], com::Variant::copy_ind(values[c].get()));
            rows.push_back(ObjectValue(NewDictionary(std::move(row)).get()));
        }
    return NewVector(std::move(rows));
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

// The planning reads: the answered rows of a statement, an empty recordset for any other.
ComPtr<IDispatch> NewMrpRuntime() {
    auto runtime = NewScriptObject();
    AddMember(*runtime, L"GetData", [](Call& call) { Answer(call, L"MrpRuntime", 1); });
    return AsDispatch(runtime);
}

// The schemes and the evaluation projects meeting the filter, as rows; a system parameter is the
// first value of the answer naming it ("" without one).
ComPtr<IDispatch> NewDataInfo() {
    auto access = NewScriptObject();
    for (const wchar_t* member : {L"GetQCSchemeBilldata", L"GetProjData"})
        AddMember(*access, member, [member](Call& call) {
            const std::wstring filter = call.Text(1);
            State().Record(member + (L" " + filter));
            call.Return(RowDictionaries(State().AnswerTo(filter).get()).get());
        });
    AddMember(*access, L"GetSysValue", [](Call& call) {
        const std::wstring asked = L"GetSysValue " + call.Text(1) + L" " + call.Text(2);
        State().Record(asked);
        const auto answer = State().AnswerTo(asked);
        if (answer && !answer->rows.empty() && !answer->rows.front().empty())
            call.Return(answer->rows.front().front().get());
        else
            call.Return(std::wstring_view());
    });
    return AsDispatch(access);
}

// The rows of a statement; nothing at all for a statement no answer matches.
ComPtr<IDispatch> NewGradingData() {
    auto grading = NewScriptObject();
    AddMember(*grading, L"GetData", [](Call& call) {
        const std::wstring sql = call.Text(1);
        State().Record(L"GradingData " + sql);
        if (const auto answer = State().AnswerTo(sql))
            call.Return(RowDictionaries(answer.get()).get());
    });
    return AsDispatch(grading);
}

// Records how it is set up and hands back empty bill data for the rows chosen.
ComPtr<IDispatch> NewClassLink() {
    auto link = NewScriptObject();
    AddMember(*link, L"DataSrv", [](Call& call) {
        State().Record(std::wstring(L"ClassLink.DataSrv ") + (call.Object(0) ? L"set" : L"none"));
    });
    AddMember(*link, L"SRCClassTypeID",
              [](Call& call) { State().Record(L"ClassLink.SRCClassTypeID " + call.Text(0)); });
    AddMember(*link, L"InitLinkTemplate",
              [](Call&) { State().Record(L"ClassLink.InitLinkTemplate"); });
    AddMember(*link, L"selbills", [](Call& call) {
        State().Record(L"ClassLink.selbills " + std::to_wstring(SizeOf(call.Object(1).get())));
        Entries data;
        data.emplace_back(L"Page1", ObjectValue(NewDictionary().get()));
        data.emplace_back(L"Page2", ObjectValue(NewVector(std::vector<com::Variant>{}).get()));
        call.Return(NewDictionary(std::move(data)).get());
    });
    return AsDispatch(link);
}

}  // namespace velaqm::testhost
