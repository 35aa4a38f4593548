#include "typelib/com_classes.h"

#include <array>

#include "typelib/VelaQMBillEvent.h"
#include "typelib/plugin_object.h"

namespace velaqm::com {

namespace {

const std::array<ComClass, 17> kClasses{{
    {"SampleStandard", CLSID_SampleStandard, IID__SampleStandard,
     &CreatePluginObject<ShowMembers<_SampleStandard>>},
    {"SamplingLogEvent", CLSID_SamplingLogEvent, IID__SamplingLogEvent,
     &CreatePluginObject<ShowMembers<_SamplingLogEvent>>},
    {"QualityStandard", CLSID_QualityStandard, IID__QualityStandard,
     &CreatePluginObject<ShowMembers<_QualityStandard>>},
    {"CCheckItem", CLSID_CCheckItem, IID__CCheckItem,
     &CreatePluginObject<ShowMembers<_CCheckItem>>},
    {"WatchLogEvent", CLSID_WatchLogEvent, IID__WatchLogEvent,
     &CreatePluginObject<ShowMembers<_WatchLogEvent>>},
    {"CSampleDestroy", CLSID_CSampleDestroy, IID__CSampleDestroy,
     &CreatePluginObject<ShowMembers<_CSampleDestroy>>},
    {"QMAccident", CLSID_QMAccident, IID__QMAccident,
     &CreatePluginObject<ShowMembers<_QMAccident>>},
    {"ClientServiceLog", CLSID_ClientServiceLog, IID__ClientServiceLog,
     &CreatePluginObject<ShowMembers<_ClientServiceLog>>},
    {"EvaProjExt", CLSID_EvaProjExt, IID__EvaProjExt,
     &CreatePluginObject<ShowMembers<_EvaProjExt>>},
    {"SupplierEvaExt", CLSID_SupplierEvaExt, IID__SupplierEvaExt,
     &CreatePluginObject<ShowMembers<_SupplierEvaExt>>},
    {"CItemGrade", CLSID_CItemGrade, IID__CItemGrade,
     &CreatePluginObject<ItemCheckMembers<_CItemGrade>>},
    {"cItemSupply", CLSID_cItemSupply, IID__cItemSupply,
     &CreatePluginObject<ItemCheckMembers<_cItemSupply>>},
    {"CRejectPro", CLSID_CRejectPro, IID__CRejectPro,
     &CreatePluginObject<ShowMembers<_CRejectPro>>},
    {"IRejectCO", CLSID_IRejectCO, IID__IRejectCO, &CreatePluginObject<RejectStrategyMembers>},
    {"CComRejectCO", CLSID_CComRejectCO, IID__CComRejectCO,
     &CreatePluginObject<ComRejectMembers, RejectStrategyMembers>},
    {"CPoRejectCO", CLSID_CPoRejectCO, IID__CPoRejectCO,
     &CreatePluginObject<PoRejectMembers, RejectStrategyMembers>},
    {"CRejRule", CLSID_CRejRule, IID__CRejRule, &CreatePluginObject<NoMembers<_CRejRule>>},
}};

}  // namespace

std::span<const ComClass> ComClasses() {
    return kClasses;
}

const ComClass* FindComClass(REFCLSID clsid) {
    for (const ComClass& cls : kClasses)
        if (IsEqualCLSID(cls.clsid, clsid)) return &cls;
    return nullptr;
}

std::wstring ProgIdOf(const ComClass& cls) {
    return std::wstring(kLibraryName) + L"." + std::wstring(cls.name.begin(), cls.name.end());
}

std::wstring VersionedProgIdOf(const ComClass& cls) {
    return ProgIdOf(cls) + L".1";
}

}  // namespace velaqm::com
