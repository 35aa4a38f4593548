#include "host/components.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/text_util.h"
#include "host/bill_components.h"
#include "host/catalog.h"
#include "host/db/sqlite.h"
#include "host/link_components.h"
#include "host/list_sel_control.h"
#include "host/lookup_components.h"
#include "host/native_sql.h"
#include "host/parts/recordset.h"
#include "host/parts/string_table.h"
#include "host/parts/toolbar.h"
#include "host/session.h"
#include "host/supply_quality.h"
#include "host/trace_log.h"

namespace velaqm::host {

namespace {

// Base of the components: each works for one session.
class SessionComponent {
  public:
    explicit SessionComponent(Session& session) : m_session(session) {}

  protected:
    Session& m_session;
    std::string Tr(std::string_view text) const { return m_session.Strings().Lookup(text); }
    // Runs SQL Server text as the plug-ins' statements run, written to the transcript; the
    // recordset of its query, or null when it returns none.
    RecordsetPtr Query(std::string_view sql) const {
        m_session.Log().Add(EntryKind::Sql, std::string(sql));
        ResultSet result = m_session.Db().Execute(sql);
        if (!result.isQuery) return nullptr;
        return std::make_shared<HostRecordset>(std::move(result.columns), std::move(result.rows));
    }
};

// VelaConnection.Appconnection
class HostConnection final : public AppConnection, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    RecordsetPtr Execute(std::string_view sql) override { return Query(sql); }
};

// VelaMQMDataAccess.cBillSimpleCheck: sets the checker on audit and clears it on un-audit.
class HostBillCheck final : public BillSimpleCheck, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    bool CheckBill(std::string_view, const DictionaryPtr& params) override {
        const auto classTypeId = static_cast<int>(WholeNumber(params->Item("BillClassTypeid")));
        const Variant billId = Variant(WholeNumber(params->Item("InterID")));
        const bool audit = WholeNumber(params->Item("CheckSwitch")) == 0;
        const std::string table =
            QuoteName(m_session.ClassDefOf(classTypeId)->HeadPage().tableName);

        const auto rows = QueryRows(m_session.Db(),
                                    "SELECT FCheckerID FROM " + table + " WHERE FID = ?", {billId});
        if (rows.empty()) return Refuse(params, "单据不存在！");
        const double checker = NumberValue(rows.front()[0]);
        if (audit && checker > 0) return Refuse(params, "该单据已经审核！");
        if (!audit && checker <= 0) return Refuse(params, "该单据尚未审核！");

        RunNative(m_session.Db(), "UPDATE " + table + " SET FCheckerID = ? WHERE FID = ?",
                  {audit ? Variant(m_session.User().userId) : Variant(kNull), billId});
        params->SetItem("ReturnString", Tr(audit ? "审核成功！" : "反审核成功！"));
        return true;
    }

  private:
    bool Refuse(const DictionaryPtr& params, std::string_view text) const {
        params->SetItem("ReturnString", Tr(text));
        return false;
    }
};

// VelaGLView.GLData: rights from the login (all) or from t_AccessRight; the user-action log.
class HostGLData final : public GLData, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    bool AccessCheck(const Variant& objectType, const Variant& objectId, int rightKind) override {
        if (m_session.User().allRights) return true;
        const Variant mask =
            QueryValue(m_session.Db(),
                       "SELECT FRightMask FROM t_AccessRight WHERE FUserID = ? AND "
                       "FObjectType = ? AND FObjectID = ?",
                       {m_session.User().userId, Variant(WholeNumber(objectType)),
                        Variant(WholeNumber(objectId))});
        return (WholeNumber(mask) & rightKind) != 0;
    }
    void WriteLog(std::string_view functionCode, int kind, std::string_view text) override {
        RunNative(m_session.Db(),
                  "INSERT INTO t_ActionLog (FUserID, FFunctionCode, FKind, FText, FDate) VALUES "
                  "(?, ?, ?, ?, ?)",
                  {m_session.User().userId, std::string(functionCode), kind, std::string(text),
                   m_session.Now().ToStorageString()});
        m_session.Log().Add(EntryKind::Log, std::string(text) + " (function code \"" +
                                                std::string(functionCode) + "\", kind " +
                                                std::to_string(kind) + ")");
    }
};

// The login object: network tasks in t_TaskLock.
class HostLogin final : public LoginObject, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    int taskexec(int subSysId, int functionNumber, std::string_view computerName, int, int, int,
                 const Variant& billId) override {
        Database& db = m_session.Db();
        const Variant id = Variant(WholeNumber(billId));
        const Variant holder =
            QueryValue(db,
                       "SELECT FUserID FROM t_TaskLock WHERE FSubSysID = ? AND FNumber = ? "
                       "AND FBillID = ? AND FUserID <> ?",
                       {subSysId, functionNumber, id, m_session.User().userId});
        if (!holder.IsEmpty()) return 0;
        RunNative(
            db,
            "INSERT INTO t_TaskLock (FSubSysID, FNumber, FComputer, FBillID, FUserID) VALUES (?, "
            "?, ?, ?, ?)",
            {subSysId, functionNumber, std::string(computerName), id, m_session.User().userId});
        const int handle = static_cast<int>(db.GetConnection().LastInsertRowId());
        m_session.Log().Add(EntryKind::Note,
                            "task lock " + std::to_string(handle) + " on bill " + Text(id));
        return handle;
    }
    void CommitTask(int taskHandle) override {
        RunNative(m_session.Db(), "DELETE FROM t_TaskLock WHERE FTaskID = ?", {taskHandle});
        m_session.Log().Add(EntryKind::Note,
                            "task lock " + std::to_string(taskHandle) + " released");
    }
};

// VelaProps.ShareProps: the values the host shares with the plug-ins of its own process.
class HostShareProps final : public ShareProps, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    Variant GetProperty(std::string_view name, int processId) override {
        if (processId != m_session.ProcessId()) return Variant();
        if (EqualsNoCase(name, "PropsString")) return m_session.PropsString();
        if (EqualsNoCase(name, "CVLogin")) return Variant(std::make_shared<HostLogin>(m_session));
        return Variant();
    }
};

// VelaDisplayer.DispBuilder: a result list, shown as one window whose text is its lines.
class HostDispBuilder final : public DispBuilder, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    void SetCols(int count) override { m_cols = count; }
    void SetTitles(std::string_view titles) override { m_titles = titles; }
    void SetColWidth(int, int) override {}
    void Add(std::string_view line) override { m_lines.emplace_back(line); }
    void Show() override {
        std::string text;
        for (const std::string& line : m_lines)
            text += line;
        m_session.Log().AddMessage(text, 0, m_titles);
    }

  private:
    int m_cols = 1;
    std::string m_titles;
    std::vector<std::string> m_lines;
};

class HostLangInfo final : public LangInfo, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    std::string CurrentLanguage() const override { return m_session.User().language; }
};

class HostFrmResLoader final : public FrmResLoader {
  public:
    void SetFrmFont(const ObjectPtr&, std::string_view) override {}
};

// CVLogMsg.Log: enabled when the session writes a trace file.
class HostLogMsg final : public LogMsg, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    bool IsEnabled() const override { return m_session.Trace() != nullptr; }
    int LogStart(std::string_view text) override {
        return m_session.Trace() ? m_session.Trace()->Start(text) : 0;
    }
    void LogEnd(int handle, int result) override {
        if (m_session.Trace()) m_session.Trace()->End(handle, result);
    }
};

// VelaMShopRpt.data: reads for reports, over the same database.
class HostShopRptData final : public ShopRptData, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    RecordsetPtr GetData(std::string_view, std::string_view sql) override { return Query(sql); }
};

// VelaMPlanMrp.MrpRuntime: planning reads, over the same database.
class HostMrpRuntime final : public MrpRuntime, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    RecordsetPtr GetData(std::string_view, std::string_view sql) override { return Query(sql); }
};

// VelaMQMGrading.CGetGradingData: the rows of a query as the class link takes chosen bills, one
// Dictionary per row (column -> value); Empty for a statement that returns no rows at all.
class HostGradingData final : public GradingData, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    Variant GetData(std::string_view, std::string_view sql) override {
        m_session.Log().Add(EntryKind::Sql, std::string(sql));
        const ResultSet result = m_session.Db().Execute(sql);
        if (!result.isQuery) return Variant();
        VectorPtr rows = NewVector();
        for (const auto& values : result.rows) {
            DictionaryPtr row = NewDictionary();
            for (std::size_t i = 0; i < result.columns.size(); ++i)
                row->SetItem(result.columns[i], values[i]);
            rows->Insert(Variant(row));
        }
        return Variant(rows);
    }
};

// ADODB.Connection, for the client's local switch database. This client has no Jet 3.51
// provider; the Jet 4.0 provider opens its "Data Source" as an SQLite file, so that a missing
// file or one that is not a database fails as Jet would.
class HostAdoConnection final : public AdoConnection {
  public:
    void Open(std::string_view connectionString, std::string_view, std::string_view) override {
        const std::string provider = Setting(connectionString, "Provider");
        const std::string file = Setting(connectionString, "Data Source");
        if (!EqualsNoCase(provider, "Microsoft.Jet.OLEDB.4.0"))
            throw HostError(kErrProviderNotFound, "ADODB.Connection",
                            "Provider cannot be found. It may not be properly installed.");
        try {
            Connection probe(LocalPath(file), OpenMode::kReadOnly);
            Statement(probe, "SELECT count(*) FROM sqlite_master").Step();
        } catch (const std::exception&) {
            throw HostError(kErrJetCannotOpen, "Microsoft JET Database Engine",
                            "Could not find or open the database file '" + file + "'.");
        }
        m_connectionString = "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + file +
                             ";Mode=Share Deny None";
    }
    std::string ConnectionString() const override { return m_connectionString; }
    void Close() override {}

  private:
    static constexpr std::int32_t kErrProviderNotFound = 3706;
    static constexpr std::int32_t kErrJetCannotOpen = -2147467259;

    // The value of "key=value" in a connection string (keys without regard to case), or "".
    static std::string Setting(std::string_view text, std::string_view key) {
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t end = std::min(text.find(';', start), text.size());
            const std::string_view part = text.substr(start, end - start);
            const std::size_t equals = part.find('=');
            if (equals != std::string_view::npos && EqualsNoCase(Trim(part.substr(0, equals)), key))
                return Trim(part.substr(equals + 1));
            start = end + 1;
        }
        return "";
    }

    std::string m_connectionString;
};

// VelaFormulaEd.clsFormula: what the user typed is the scenario's `formula`, or a cancel.
class HostFormulaEditor final : public FormulaEditor, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    std::string Show(std::string& formula) override {
        m_session.Log().Add(EntryKind::Form, "formula editor opened on \"" + formula + "\"");
        const std::optional<std::string> typed = m_session.TakeFormula();
        m_ok = typed.has_value();
        if (typed) formula = *typed;
        return formula;
    }
    bool OK() const override { return m_ok; }

  private:
    bool m_ok = false;
};

// A form of the item dialog: what it was given goes to the transcript and to the session's
// dialog notes, which a scenario reads.
class HostItemDialogForm final : public QMItemDialogForm, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    bool SetFunc(const DictionaryPtr& data, int function) override {
        if (!data) throw HostError(kErrObjectRequired, "cQMItemDialog", "Object required");
        for (const auto& [key, value] : data->Entries())
            Note(key + "=" + Text(value));
        Note("function " + std::to_string(function));
        return true;
    }
    void Show(int modal) override { Note(modal == 1 ? "shown modally" : "shown"); }

  private:
    void Note(const std::string& note) {
        m_session.Log().Add(EntryKind::Form, "item dialog: " + note);
        m_session.NoteDialog(note);
    }
};

// VelaQMItemDialog.cQMItemDialog: has the one form "FrmItemValue".
class HostItemDialog final : public QMItemDialog, SessionComponent {
  public:
    using SessionComponent::SessionComponent;
    Variant Load(std::string_view formName) override {
        const std::string note = "load " + std::string(formName);
        m_session.Log().Add(EntryKind::Form, "item dialog: " + note);
        m_session.NoteDialog(note);
        if (!EqualsNoCase(formName, "FrmItemValue")) return Variant::Nothing();
        return Variant(ObjectPtr(std::make_shared<HostItemDialogForm>(m_session)));
    }
};

using Factory = std::function<ObjectPtr(Session&)>;

template <class T>
Factory Make() {
    return [](Session& session) -> ObjectPtr { return std::make_shared<T>(session); };
}

const std::vector<std::pair<std::string_view, Factory>>& Registry() {
    static const std::vector<std::pair<std::string_view, Factory>> registry{
        {progid::kAppConnection, Make<HostConnection>()},
        {progid::kBillSimpleCheck, Make<HostBillCheck>()},
        {progid::kGLData, Make<HostGLData>()},
        {progid::kShareProps, Make<HostShareProps>()},
        {progid::kDispBuilder, Make<HostDispBuilder>()},
        {progid::kLangInfo, Make<HostLangInfo>()},
        {progid::kLogMsg, Make<HostLogMsg>()},
        {progid::kFrmResLoader,
         [](Session&) -> ObjectPtr { return std::make_shared<HostFrmResLoader>(); }},
        {progid::kShopRptData, Make<HostShopRptData>()},
        {progid::kGradingData, Make<HostGradingData>()},
        {progid::kMrpRuntime, Make<HostMrpRuntime>()},
        {progid::kFormulaEditor, Make<HostFormulaEditor>()},
        {progid::kQMItemDialog, Make<HostItemDialog>()},
        {progid::kToolbarControl,
         [](Session&) -> ObjectPtr { return std::make_shared<HostActiveBar>(); }},
        {progid::kListSelControl, MakeListSelControl},
        {progid::kClassUpdate, MakeClassUpdate},
        {progid::kClassInfo, MakeClassInfo},
        {progid::kClassTemplate, MakeClassTemplate},
        {progid::kBillLookUp, MakeBillLookUp},
        {progid::kDataInfo, MakeDataInfo},
        {progid::kDataUpDate, MakeDataUpDate},
        {progid::kClassLink, MakeClassLink},
        {progid::kAdoConnection,
         [](Session&) -> ObjectPtr { return std::make_shared<HostAdoConnection>(); }},
        {progid::kResLoader,
         [](Session& session) -> ObjectPtr {
             return std::make_shared<HostResLoader>(session.Options().resourceDir);
         }},
    };
    return registry;
}

}  // namespace

ObjectPtr CreateComponent(Session& session, std::string_view progId) {
    for (const auto& [name, factory] : Registry())
        if (EqualsNoCase(name, progId)) return factory(session);
    throw HostError(kErrCannotCreate, std::string(progId),
                    "ActiveX component can't create object: " + std::string(progId));
}

}  // namespace velaqm::host
