#include "host/list_form.h"

#include <algorithm>
#include <sstream>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/text_util.h"
#include "host/action_refused.h"
#include "host/form_support.h"
#include "host/link_components.h"
#include "host/native_sql.h"
#include "host/session.h"

namespace velaqm::host {

// The list control: the selection, as the plug-ins read it.
class HostListCtl final : public ListCtl {
  public:
    explicit HostListCtl(std::weak_ptr<ListForm> form) : m_form(std::move(form)) {}

    VectorPtr GetSelectedBillID() const override {
        VectorPtr ids = NewVector();
        for (const auto& selected : Form().m_selected) {
            // Not a structured binding: clang 14 cannot capture one in the lambda.
            const int id = selected.first;
            const bool listed = std::any_of(ids->begin(), ids->end(),
                                            [&](const Variant& v) { return WholeNumber(v) == id; });
            if (!listed) ids->Insert(Variant(id));
        }
        return ids;
    }
    VectorPtr GetSelectedBillInfo() const override {
        ListForm& form = Form();
        VectorPtr rows = NewVector();
        for (const auto& [id, entry] : form.m_selected) {
            DictionaryPtr info = NewDictionary();
            for (const ListForm::Row& row : form.m_rows)
                if (row.id == id)
                    for (const auto& [name, value] : row.info->Entries())
                        info->SetItem(name, value);
            if (entry > 0) info->SetItem("FEntryID", entry);
            rows->Insert(Variant(info));
        }
        return rows;
    }
    void RefreshList() override {
        ListForm& form = Form();
        form.ReadRows();
        form.m_session.Log().Add(EntryKind::Form, "list refreshed");
    }
    int ShowMode() const override { return 0; }

  private:
    ListForm& Form() const {
        auto form = m_form.lock();
        if (!form) throw HostError(kErrObjectNotSet, "List", "The list is closed");
        return *form;
    }
    std::weak_ptr<ListForm> m_form;
};

std::shared_ptr<ListForm> ListForm::Create(Session& session, int classTypeId) {
    auto form =
        std::shared_ptr<ListForm>(new ListForm(session, LoadClassDef(session.Db(), classTypeId)));
    form->m_list = std::make_shared<HostListCtl>(form);
    if (form->m_def->listPlugin) form->AttachPlugin();
    return form;
}

ListForm::ListForm(Session& session, std::shared_ptr<const ClassDef> def)
    : m_session(session),
      m_def(std::move(def)),
      m_template(std::make_shared<HostDataSrv>(session.Db(), m_def, session.User().language)),
      m_toolbar(MakeListToolBar(m_def->pushClasses)) {
    ObserveTools(m_session, *m_toolbar);
}

ListForm::~ListForm() {
    Close();
}

void ListForm::AttachPlugin() {
    m_plugin = AttachPluginOf(m_session, m_def->progId,
                              Variant(std::static_pointer_cast<ListEvents>(shared_from_this())));
}

void ListForm::Open() {
    m_session.Log().Add(EntryKind::Form, "list of class " + std::to_string(m_def->id));
    Raise("BarInitialize", [&](ListEventsSink& sink) { sink.BarInitialize(m_toolbar); });
    ReadRows();
}

void ListForm::Close() {
    m_plugin.reset();
}

void ListForm::ReadRows() {
    m_rows.clear();
    const FieldDef* billNo = m_def->BillNoField();
    auto read = m_session.Db().Prepare("SELECT * FROM " + QuoteName(m_def->HeadPage().tableName) +
                                       " ORDER BY FID");
    while (read->Step()) {
        Row row;
        row.info = NewDictionary();
        for (int i = 0; i < read->ColumnCount(); ++i)
            row.info->SetItem(read->ColumnName(i), read->Column(i));
        row.id = static_cast<int>(WholeNumber(row.info->Item("FID")));
        if (billNo) row.billNo = Text(row.info->Item(billNo->fieldName));
        m_rows.push_back(std::move(row));
    }
    // Bills deleted meanwhile drop out of the selection.
    std::erase_if(m_selected, [&](const std::pair<int, int>& s) {
        return std::none_of(m_rows.begin(), m_rows.end(),
                            [&](const Row& r) { return r.id == s.first; });
    });
}

void ListForm::Select(const std::vector<Selection>& rows) {
    std::vector<std::pair<int, int>> selected;
    for (const Selection& wanted : rows) {
        const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                        [&](const Row& r) { return r.billNo == wanted.billNo; });
        if (found == m_rows.end()) throw ActionRefused("the list shows no bill " + wanted.billNo);
        selected.emplace_back(found->id, wanted.entry);
    }
    m_selected = std::move(selected);
    // The plug-in sees the new selection and may empty it.
    const VectorPtr shown = m_list->GetSelectedBillInfo();
    Raise("AfterSelList",
          [&](ListEventsSink& sink) { sink.AfterSelList(Variant(shown->Size()), shown); });
    if (shown->Size() == 0 && !m_selected.empty()) {
        m_selected.clear();
        m_session.Log().Add(EntryKind::Form, "selection undone");
    }
}

void ListForm::Click(std::string_view toolKey) {
    const HostToolPtr clicked = RequireUsable(m_toolbar->FindTool(toolKey), toolKey, "tool");
    m_session.Log().Add(EntryKind::Form, "click " + clicked->Name());
    bool cancel = false;
    Raise("BarClick", [&](ListEventsSink& sink) { sink.BarClick(clicked, cancel); });
    if (!cancel) HostToolAction(clicked->Name());
}

// What the host does itself with a list tool the plug-in left to it: a push tool pushes the
// selected row down to a new bill of its class.
void ListForm::HostToolAction(std::string_view key) {
    constexpr std::string_view kPushPrefix = "mnuPushBill_";
    if (key.substr(0, kPushPrefix.size()) != kPushPrefix) return;
    std::string rows;
    for (const auto& [id, entry] : m_selected)
        for (const Row& row : m_rows)
            if (row.id == id)
                rows += (rows.empty() ? "" : ", ") + row.billNo +
                        (entry > 0 ? "/" + std::to_string(entry) : "");
    const std::string target(key.substr(kPushPrefix.size()));
    m_session.Log().Add(EntryKind::Form, "push-down of " + (rows.empty() ? "nothing" : rows) +
                                             " to class " + target);
    if (m_selected.empty() || !IsNumeric(Variant(target))) return;
    const int targetClass = static_cast<int>(WholeNumber(Variant(target)));
    const std::vector<int> sources = SourceClassesOf(m_session, targetClass);
    if (std::find(sources.begin(), sources.end(), m_def->id) == sources.end()) return;
    VectorPtr pushed = NewVector();
    for (const auto& [id, entry] : m_selected) {
        DictionaryPtr row = NewDictionary();
        row->SetItem("FInterID", id);
        if (entry > 0) row->SetItem("FEntryID", entry);
        pushed->Insert(Variant(row));
    }
    m_session.PushDownLater({m_def->id, targetClass, pushed});
}

template <class Call>
void ListForm::Raise(std::string_view event, Call&& call) {
    RaiseToSinks(m_session, m_sinks, event, std::forward<Call>(call));
}

const HostTool& ListForm::ToolState(std::string_view key) const {
    const HostToolPtr found = m_toolbar->FindTool(key);
    if (!found) throw ActionRefused("there is no tool " + std::string(key));
    return *found;
}

std::string ListForm::Render() const {
    std::ostringstream out;
    out << Text(m_template->ClassType("FName")) << " (" << m_def->id << ") list\n";
    for (const Row& row : m_rows) {
        const bool selected =
            std::any_of(m_selected.begin(), m_selected.end(),
                        [&](const std::pair<int, int>& s) { return s.first == row.id; });
        out << (selected ? "  * " : "    ") << row.billNo << " (FID " << row.id << ")\n";
    }
    out << m_toolbar->Render();
    return out.str();
}

void ListForm::Advise(ListEventsSink* sink) {
    AddSink(m_sinks, sink);
}

void ListForm::Unadvise(ListEventsSink* sink) {
    std::erase(m_sinks, sink);
}

}  // namespace velaqm::host
