#include "billops/list_selection.h"

#include "billops/server_queries.h"
#include "frame/convert.h"
#include "frame/host_services.h"
#include "frame/login.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

constexpr int kShowForSelection = 2;

// The text after `marker` up to the next ";" (or the end); "" when the marker is absent.
std::string ValueAfter(std::string_view text, std::string_view marker) {
    const auto at = text.find(marker);
    if (at == std::string_view::npos) return "";
    const std::string_view rest = text.substr(at + marker.size());
    return std::string(rest.substr(0, rest.find(';')));
}

// The braced text after the first "{"; a brace left open runs to the end.
std::string BracedText(std::string_view text) {
    const auto open = text.find('{');
    if (open == std::string_view::npos) return "";
    const std::string_view rest = text.substr(open + 1);
    return std::string(rest.substr(0, rest.find('}')));
}

// The connection string of a local connection to the switch database, or "" when the client
// has no switch database.
std::string LocalConnectionString() {
    const std::string switchDatabase = OpenSwitchDatabase();
    if (switchDatabase.empty()) return "";
    auto connection = CreateObject<AdoConnection>(progid::kAdoConnection);
    connection->Open(switchDatabase, "", "");
    std::string opened = connection->ConnectionString();
    connection->Close();
    return opened;
}

// "FName" of the list's first entry.
std::string ListName(const VectorPtr& info) {
    if (!info || info->Size() == 0) return "";
    const auto entry = info->Item(1).ObjectAs<Dictionary>();
    return entry ? Text(entry->Item("FName")) : "";
}

}  // namespace

std::string ListBaseInfo(std::string_view propsString) {
    const double userId = LeadingNumber(ValueAfter(propsString, "UserID="));
    return BracedText(propsString) + "|" + FormatDouble(userId) + "|" +
           ValueAfter(propsString, "UserName=");
}

int SelectFlagOf(std::string_view tool) {
    return EqualsNoCase(tool, "mnuFileNeedFilter") ? 1 : 0;
}

Variant ShowListSelection(int listId, const ListSelectionOptions& options,
                          std::string_view filter) {
    const std::string baseInfo = ListBaseInfo(GetPropsString());
    const std::string localCnn = LocalConnectionString();

    const auto form = ListSelectionForm::Load();
    form->SetBaseInfo(baseInfo);
    form->SetListID(listId);
    form->SetListShowStatus(kShowForSelection);
    form->SetLocalCnn(localCnn);
    form->SetMultiSelect(options.multiSelect);
    form->SetFilter(filter);
    form->SetSelectFlag(SelectFlagOf(options.tool));
    form->InitData();
    form->ShowModal();
    CurrentPlatform().DoEvents();
    return form->OK() ? form->Selected() : Variant();
}

// --- the form ------------------------------------------------------------------------------------

std::shared_ptr<ListSelectionForm> ListSelectionForm::Load() {
    auto form = std::shared_ptr<ListSelectionForm>(new ListSelectionForm());
    form->Form_Load();
    return form;
}

void ListSelectionForm::Form_Load() {
    m_window = CurrentPlatform().CreateFormWindow(*this);
    auto control = m_window->AddControl(progid::kListSelControl);
    auto list = Variant(control).ObjectAs<ListSelControl>();
    if (!list)
        throw HostError(
            kErrCannotCreate, std::string(progid::kListSelControl),
            "ActiveX component can't create object: " + std::string(progid::kListSelControl));
    m_ICListSel = std::move(list);
    SetFormFont(shared_from_this());
    ControlBounds bounds = m_window->ControlRect();
    bounds.left = 0;
    bounds.top = 0;
    m_window->SetControlRect(bounds);
    m_OK = false;
}

void ListSelectionForm::Resize() {
    ControlBounds bounds = m_window->ControlRect();
    if (m_window->ScaleWidth() > 0) bounds.width = m_window->ScaleWidth();
    if (m_window->ScaleHeight() > 0) bounds.height = m_window->ScaleHeight();
    m_window->SetControlRect(bounds);
}

void ListSelectionForm::InitData() {
    if (!m_ICListSel->InitData()) return;
    m_OK = m_ICListSel->OK();
    m_window->SetCaption(ListName(m_ICListSel->ListInfo()) + LoadCVString("序时薄"));
}

void ListSelectionForm::ShowModal() {
    m_window->ShowModal();
}

void ListSelectionForm::ICListSel_DoAction(const std::string& action) {
    if (action == "SelectOK") {
        if (!m_ICListSel->OK()) return;
        m_OK = true;
        m_window->Hide();
    } else if (action == "Exit") {
        m_window->Hide();
        m_OK = false;
    }
}

void ListSelectionForm::QueryUnload(bool& cancel) {
    m_OK = false;
    m_window->Hide();
    m_ICListSel->CloseList();
    cancel = false;
}

bool ListSelectionForm::CanSelectMultiRow() const {
    return Truth(m_ICListSel->Property(ListSelProperty::CanSelectMultiRow));
}

int ListSelectionForm::Int(ListSelProperty property) const {
    return static_cast<int>(WholeNumber(m_ICListSel->Property(property)));
}

std::string ListSelectionForm::Text(ListSelProperty property) const {
    return velaqm::Text(m_ICListSel->Property(property));
}

}  // namespace velaqm
