#include "plugins/plugin_table.h"

#include <array>

#include "frame/text_util.h"
#include "inspection/check_item.h"
#include "inspection/client_service_log.h"
#include "inspection/quality_accident.h"
#include "inspection/quality_standard.h"
#include "inspection/sample_destroy.h"
#include "inspection/watch_log_event.h"
#include "reject/com_reject_co.h"
#include "reject/po_reject_co.h"
#include "reject/reject_pro.h"
#include "sampling/sample_standard.h"
#include "sampling/sampling_log_event.h"
#include "supplier/eva_proj_ext.h"
#include "supplier/item_grade.h"
#include "supplier/item_supply.h"
#include "supplier/supplier_eva_ext.h"

namespace velaqm {

namespace {
constexpr std::array kPlugins{
    PluginEntry{"SampleStandard", &MakePlugin<SampleStandard>},
    PluginEntry{"ClientServiceLog", &MakePlugin<ClientServiceLog>},
    PluginEntry{"SamplingLogEvent", &MakePlugin<SamplingLogEvent>},
    PluginEntry{"WatchLogEvent", &MakePlugin<WatchLogEvent>},
    PluginEntry{"QualityStandard", &MakePlugin<QualityStandard>},
    PluginEntry{"CSampleDestroy", &MakePlugin<CSampleDestroy>},
    PluginEntry{"EvaProjExt", &MakePlugin<EvaProjExt>},
    PluginEntry{"SupplierEvaExt", &MakePlugin<SupplierEvaExt>},
    PluginEntry{"CItemGrade", &MakePlugin<CItemGrade>},
    PluginEntry{"cItemSupply", &MakePlugin<cItemSupply>},
    PluginEntry{"CRejectPro", &MakePlugin<CRejectPro>},
    PluginEntry{"IRejectCO", &MakePlugin<IRejectCO>},
    PluginEntry{"CComRejectCO", &MakePlugin<CComRejectCO>},
    PluginEntry{"CPoRejectCO", &MakePlugin<CPoRejectCO>},
    PluginEntry{"QMAccident", &MakePlugin<QMAccident>},
    PluginEntry{"CCheckItem", &MakePlugin<CCheckItem>},
};
}  // namespace

std::span<const PluginEntry> PluginTable() {
    return kPlugins;
}

const PluginEntry* FindPlugin(std::string_view className) {
    for (const PluginEntry& entry : kPlugins)
        if (EqualsNoCase(entry.className, className)) return &entry;
    return nullptr;
}

}  // namespace velaqm
