#include "host/list_sel_control.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "frame/collections.h"
#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_forms.h"
#include "frame/text_util.h"
#include "host/catalog.h"
#include "host/db/sqlite.h"
#include "host/form_window.h"
#include "host/lookup_components.h"
#include "host/native_sql.h"
#include "host/parts/recordset.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

// "(a) AND (b)" of the conditions that are not blank.
std::string JoinConditions(const std::vector<std::string>& conditions) {
    std::string joined;
    for (const std::string& condition : conditions) {
        if (Trim(condition).empty()) continue;
        if (!joined.empty()) joined += " AND ";
        joined += "(" + condition + ")";
    }
    return joined;
}

class HostListSel final : public ListSelControl, public ChoosingControl {
  public:
    explicit HostListSel(Session& session) : m_session(session) {}

    Variant Property(ListSelProperty property) const override {
        const auto found = m_properties.find(property);
        return found != m_properties.end() ? found->second : DefaultOf(property);
    }
    void SetProperty(ListSelProperty property, const Variant& value) override {
        m_properties[property] = value;
    }

    bool InitData() override {
        CloseList();
        try {
            ReadList();
        } catch (const HostError& error) {
            m_session.Log().Add(EntryKind::Form, "list " + Text(Property(ListSelProperty::ListID)) +
                                                     " cannot be loaded: " + error.Description());
            return false;
        }
        m_session.Log().Add(EntryKind::Form, "list \"" + Text(m_listInfo->Item("FName")) + "\" (" +
                                                 Settings() + ") shows: " + ShownBills());
        return true;
    }

    bool OK() const override { return m_ok; }

    Variant Selected() const override {
        VectorPtr selected = NewVector();
        for (const Bill* bill : m_selected) {
            DictionaryPtr row = NewDictionary();
            row->SetItem("FInterID", bill->id);
            if (m_showsEntries) row->SetItem("FEntryID", bill->entryId);
            row->SetItem("FBillNo", bill->billNo);
            selected->Insert(row);
        }
        return selected;
    }

    Variant GetListRs() const override {
        return ObjectPtr(std::make_shared<HostRecordset>(m_rows));
    }

    Variant GetListFieldsDes() const override {
        VectorPtr fields = NewVector();
        if (m_def)
            for (const FieldDef* field : m_def->FieldsOf(m_def->HeadPage().index))
                fields->Insert(field->info);
        return fields;
    }

    VectorPtr ListInfo() const override {
        VectorPtr info = NewVector();
        if (m_listInfo) info->Insert(m_listInfo);
        return info;
    }

    void CloseList() override {
        m_listInfo.reset();
        m_def.reset();
        m_rows = {};
        m_bills.clear();
        m_selected.clear();
        m_ok = false;
    }

    void Advise(ListSelEventsSink* sink) override { m_sinks.push_back(sink); }
    void Unadvise(ListSelEventsSink* sink) override { std::erase(m_sinks, sink); }

    // ChoosingControl
    void Choose(const WindowChoice& choice) override {
        if (choice.kind == WindowChoice::Kind::Bills && Pick(choice)) {
            m_ok = true;
            Raise("SelectOK");
        } else {
            Raise("Exit");
        }
    }

  private:
    // One row of the list: a bill, or one entry of a bill when the list shows entries.
    struct Bill {
        int id = 0;
        int entryId = 0;
        std::string billNo;
    };

    static Variant DefaultOf(ListSelProperty property) {
        switch (property) {
            case ListSelProperty::DestBillTransType:
            case ListSelProperty::BaseInfo:
            case ListSelProperty::Filter:
            case ListSelProperty::LocalCnn:
            case ListSelProperty::SystemName:
                return std::string();
            case ListSelProperty::CanSelectMultiRow:
                return false;
            default:
                return 0;
        }
    }

    // The list template, its bill class, and the bills meeting both filters. The filters name
    // the head "v1" and the entries "u1", or the tables by name; a filter that names an entry
    // column makes the list show entry rows.
    void ReadList() {
        const auto listId = WholeNumber(Property(ListSelProperty::ListID));
        const auto templates = QueryRows(
            m_session.Db(),
            "SELECT FID, FBillTemplateID, FName, FFilter FROM ICListTemplate WHERE FID = ?",
            {Variant(listId)});
        if (templates.empty())
            throw HostError(kErrInvalidCall, "ICList",
                            "no list template " + std::to_string(listId));
        const Row& list = templates.front();
        DictionaryPtr info = NewDictionary();
        info->SetItem("FID", list[0]);
        info->SetItem("FBillTemplateID", list[1]);
        info->SetItem("FName", list[2]);
        info->SetItem("FFilter", list[3]);
        auto def = m_session.ClassDefOf(static_cast<int>(WholeNumber(list[1])));
        BillTables tables;
        tables.head = def->HeadPage().tableName;
        tables.entry = def->EntryPage() ? def->EntryPage()->tableName : "";
        tables.key = JoinKeyOf(m_session.Db(), tables.head);

        const std::string where =
            JoinConditions({Text(list[3]), Text(Property(ListSelProperty::Filter))});
        m_showsEntries = NamesEntries(tables, where);
        const std::string key = "v1." + tables.key;
        const std::string columns =
            QuoteName(tables.head) + ".*" + (m_showsEntries ? ", u1.FEntryID AS FEntryID" : "");
        ResultSet result = m_session.Db().Execute(BillQuery(
            tables, "DISTINCT " + columns, where, key + (m_showsEntries ? ", u1.FEntryID" : "")));
        m_rows = ResultRows{std::move(result.columns), std::move(result.rows)};
        ReadBills(*def, tables.key);
        m_listInfo = std::move(info);
        m_def = std::move(def);
    }

    void ReadBills(const ClassDef& def, std::string_view key) {
        const FieldDef* billNo = def.BillNoField();
        const auto column = [&](std::string_view name) {
            const auto at =
                std::find_if(m_rows.columns.begin(), m_rows.columns.end(),
                             [&](const std::string& c) { return EqualsNoCase(c, name); });
            return static_cast<std::size_t>(at - m_rows.columns.begin());
        };
        const std::size_t idColumn = column(key);
        const std::size_t entryColumn = m_showsEntries ? column("FEntryID") : m_rows.columns.size();
        const std::size_t billNoColumn = billNo ? column(billNo->fieldName) : m_rows.columns.size();
        const auto number = [](const std::vector<Variant>& row, std::size_t at) {
            return at < row.size() ? static_cast<int>(WholeNumber(row[at])) : 0;
        };
        for (const auto& row : m_rows.rows)
            m_bills.push_back(
                {number(row, idColumn), number(row, entryColumn),
                 billNoColumn < row.size() ? Text(row[billNoColumn]) : std::string()});
    }

    // What the control was given to log on with and how it opens.
    std::string Settings() const {
        const std::string local = Text(Property(ListSelProperty::LocalCnn));
        return "base " + Text(Property(ListSelProperty::BaseInfo)) + "; local " +
               (local.empty() ? "none" : local) + "; show " +
               Text(Property(ListSelProperty::ListShowStatus)) + "; select flag " +
               Text(Property(ListSelProperty::SelectFlag));
    }

    std::string ShownBills() const {
        std::vector<std::string> numbers;
        for (const Bill& bill : m_bills)
            numbers.push_back(m_showsEntries ? bill.billNo + "/" + std::to_string(bill.entryId)
                                             : bill.billNo);
        return numbers.empty() ? "(no bill)" : JoinNumbers(numbers);
    }

    // Selects the bills (every shown row of each), by number or by internal ID; false, with
    // the problem noted, when one is not in the list or several are picked from a
    // single-choice list.
    bool Pick(const WindowChoice& choice) {
        m_selected.clear();
        std::vector<std::string> picked = choice.billNumbers;
        for (int id : choice.ids)
            picked.push_back("id:" + std::to_string(id));
        if (picked.size() > 1 && WholeNumber(Property(ListSelProperty::MultiSelect)) == 0) {
            m_session.AddProblem("the list takes one bill, and " + std::to_string(picked.size()) +
                                 " were chosen");
            return false;
        }
        for (const std::string& item : picked) {
            const bool byId = item.starts_with("id:");
            const int id = byId ? static_cast<int>(LeadingNumber(item.substr(3))) : 0;
            const std::size_t before = m_selected.size();
            for (const Bill& bill : m_bills)
                if (byId ? bill.id == id : bill.billNo == item) m_selected.push_back(&bill);
            if (m_selected.size() == before) {
                m_session.AddProblem("the list does not show the bill " + item);
                m_selected.clear();
                return false;
            }
        }
        m_session.Log().Add(EntryKind::Form, "list selection: " + JoinNumbers(picked));
        return true;
    }

    static std::string JoinNumbers(const std::vector<std::string>& numbers) {
        std::string joined;
        for (const std::string& number : numbers)
            joined += (joined.empty() ? "" : ", ") + number;
        return joined;
    }

    void Raise(const std::string& action) {
        const auto sinks = m_sinks;  // a handler may unsubscribe
        for (ListSelEventsSink* sink : sinks)
            sink->DoAction(action);
    }

    Session& m_session;
    std::map<ListSelProperty, Variant> m_properties;
    DictionaryPtr m_listInfo;
    std::shared_ptr<const ClassDef> m_def;
    ResultRows m_rows;
    std::vector<Bill> m_bills;
    std::vector<const Bill*> m_selected;
    bool m_showsEntries = false;
    bool m_ok = false;
    std::vector<ListSelEventsSink*> m_sinks;
};

}  // namespace

ObjectPtr MakeListSelControl(Session& session) {
    return std::make_shared<HostListSel>(session);
}

}  // namespace velaqm::host
