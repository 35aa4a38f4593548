// The substitute host's bill list: the saved bills of one class, the rows a person selected,
// the list toolbar, and the plug-in when the class has one for its list.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host_bill.h"
#include "frame/plugin.h"
#include "host/catalog.h"
#include "host/parts/toolbar.h"

namespace velaqm::host {

class Session;

class ListForm final : public ListEvents, public std::enable_shared_from_this<ListForm> {
  public:
    struct Selection {
        std::string billNo;
        int entry = 0;  // 0: the bill itself; otherwise its entry row (1-based)
    };

    static std::shared_ptr<ListForm> Create(Session& session, int classTypeId);
    ~ListForm() override;

    // Builds the toolbar (BarInitialize) and reads the bills.
    void Open();
    void Close();

    // What a person does; ActionRefused for a bill number the list does not show.
    void Select(const std::vector<Selection>& rows);
    void Click(std::string_view toolKey);

    // What a person sees.
    const HostTool& ToolState(std::string_view key) const;
    std::string Render() const;
    const ClassDef& Def() const { return *m_def; }

    // ListEvents
    void Advise(ListEventsSink* sink) override;
    void Unadvise(ListEventsSink* sink) override;
    DataSrvPtr DataSrv() const override { return m_template; }
    ListCtlPtr List() const override { return m_list; }

  private:
    friend class HostListCtl;
    struct Row {
        int id = 0;
        std::string billNo;
        DictionaryPtr info;  // the head columns by name
    };
    struct Selected {
        const Row* row;
        int entry;
    };

    ListForm(Session& session, std::shared_ptr<const ClassDef> def);
    void AttachPlugin();
    void ReadRows();
    void HostToolAction(std::string_view key);
    template <class Call>
    void Raise(std::string_view event, Call&& call);

    Session& m_session;
    std::shared_ptr<const ClassDef> m_def;
    std::shared_ptr<HostDataSrv> m_template;
    ListCtlPtr m_list;
    std::unique_ptr<Plugin> m_plugin;
    std::vector<ListEventsSink*> m_sinks;
    std::shared_ptr<HostActiveBar> m_toolbar;
    std::vector<Row> m_rows;
    std::vector<std::pair<int, int>> m_selected;  // bill ID, entry
};

}  // namespace velaqm::host
