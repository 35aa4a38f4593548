#include "typelib/host_components.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_forms.h"
#include "frame/host_services.h"
#include "frame/text_util.h"
#include "typelib/com_variant.h"
#include "typelib/event_subscribers.h"
#include "typelib/host_objects.h"

namespace velaqm::com {

namespace {

using V = velaqm::Variant;

V Str(std::string_view text) {
    return V(text);
}

class ConnectionAdapter final : public AppConnection, public Adapted {
  public:
    using Adapted::Adapted;
    RecordsetPtr Execute(std::string_view sql) override {
        const auto recordset = Expect<Recordset>(Host().Call("Execute", {Str(sql)}), Names());
        // A statement that returns no rows comes back as a closed recordset.
        return recordset && recordset->State() != Recordset::kStateClosed ? recordset : nullptr;
    }
};

class BillCheckAdapter final : public BillSimpleCheck, public Adapted {
  public:
    using Adapted::Adapted;
    bool CheckBill(std::string_view propsString, const DictionaryPtr& params) override {
        V bag{ObjectPtr(params)};
        return Truth(Host().Call("CheckBill", {Str(propsString), Arg::ByRef(bag)}));
    }
};

class GLDataAdapter final : public GLData, public Adapted {
  public:
    using Adapted::Adapted;
    bool AccessCheck(const V& objectType, const V& objectId, int rightKind) override {
        return Truth(Host().Call("AccessCheck", {objectType, objectId, V(rightKind)}));
    }
    void WriteLog(std::string_view functionCode, int kind, std::string_view text) override {
        Host().Call("WriteLog", {Str(functionCode), V(kind), Str(text)});
    }
};

class LoginAdapter final : public LoginObject, public Adapted {
  public:
    using Adapted::Adapted;
    int taskexec(int subSysId, int functionNumber, std::string_view computerName, int mode,
                 int reserved1, int reserved2, const V& billId) override {
        return static_cast<int>(
            WholeNumber(Host().Call("taskexec", {V(subSysId), V(functionNumber), Str(computerName),
                                                 V(mode), V(reserved1), V(reserved2), billId})));
    }
    void CommitTask(int taskHandle) override { Host().Call("CommitTask", {V(taskHandle)}); }
};

class SharePropsAdapter final : public ShareProps, public Adapted {
  public:
    using Adapted::Adapted;
    V GetProperty(std::string_view name, int processId) override {
        V value = Host().Call("GetProperty", {Str(name), V(processId)});
        // The login object is the one shared value the plug-ins call into.
        if (EqualsNoCase(name, "CVLogin"))
            if (const auto dispatch = value.ObjectAs<DispatchObject>())
                return V(ObjectPtr(std::make_shared<LoginAdapter>(
                    ComPtr<IDispatch>::copy(dispatch->Client().Raw()), Names())));
        return value;
    }
};

class DispBuilderAdapter final : public DispBuilder, public Adapted {
  public:
    using Adapted::Adapted;
    void SetCols(int count) override { Host().Put("Cols", count); }
    void SetTitles(std::string_view titles) override { Host().Put("Titles", Str(titles)); }
    void SetColWidth(int column, int width) override {
        Host().Call("SetColWidth", {V(column), V(width)});
    }
    void Add(std::string_view line) override { Host().Call("Add", {Str(line)}); }
    void Show() override { Host().Call("Show"); }
};

class ResLoaderAdapter final : public ResLoader, public Adapted {
  public:
    using Adapted::Adapted;
    std::string ResFileBaseName() const override { return Text(Host().Get("ResFileBaseName")); }
    void SetResFileBaseName(std::string_view name) override {
        Host().Put("ResFileBaseName", Str(name));
    }
    std::string LanguageID() const override { return Text(Host().Get("LanguageID")); }
    void SetLanguageID(std::string_view language) override {
        Host().Put("LanguageID", Str(language));
    }
    std::string LoadString(std::string_view text) override {
        return Text(Host().Call("LoadString", {Str(text)}));
    }
};

class LangInfoAdapter final : public LangInfo, public Adapted {
  public:
    using Adapted::Adapted;
    std::string CurrentLanguage() const override { return Text(Host().Get("CurrentLanguage")); }
};

class FrmResLoaderAdapter final : public FrmResLoader, public Adapted {
  public:
    using Adapted::Adapted;
    void SetFrmFont(const ObjectPtr& form, std::string_view language) override {
        Host().Call("SetFrmFont", {V(form), Str(language)});
    }
};

class LogMsgAdapter final : public LogMsg, public Adapted {
  public:
    using Adapted::Adapted;
    bool IsEnabled() const override { return Truth(Host().Get("IsEnabled")); }
    int LogStart(std::string_view text) override {
        return static_cast<int>(WholeNumber(Host().Call("LogStart", {Str(text)})));
    }
    void LogEnd(int handle, int result) override { Host().Call("LogEnd", {V(handle), V(result)}); }
};

class ClassUpdateAdapter final : public ClassUpdate, public Adapted {
  public:
    using Adapted::Adapted;
    void DeleteBill(std::string_view propsString, int classTypeId, const V& classType,
                    const V& billId, const V& reserved, const V& tableInfo,
                    const V& classTypeEntry) override {
        Host().Call("DeleteBill", {Str(propsString), V(classTypeId), classType, billId, reserved,
                                   tableInfo, classTypeEntry});
    }
};

class ClassInfoAdapter final : public ClassInfo, public Adapted {
  public:
    using Adapted::Adapted;
    DictionaryPtr GetClassType(std::string_view filter) override {
        return Expect<Dictionary>(Host().Call("GetClassType", {Str(filter)}), Names());
    }
};

class ShopRptDataAdapter final : public ShopRptData, public Adapted {
  public:
    using Adapted::Adapted;
    RecordsetPtr GetData(std::string_view propsString, std::string_view sql) override {
        return Expect<Recordset>(Host().Call("GetData", {Str(propsString), Str(sql)}), Names());
    }
};

class FormulaEditorAdapter final : public FormulaEditor, public Adapted {
  public:
    using Adapted::Adapted;
    std::string Show(std::string& formula) override {
        V text(formula);
        const V result = Host().Call("Show", {Arg::ByRef(text)});
        formula = Text(text);
        return Text(result);
    }
    bool OK() const override { return Truth(Host().Get("OK")); }
};

// The check-value dialog: the form it loads is a host object that stands in as a
// QMItemDialogForm by use (host_objects.cpp).
class ItemDialogAdapter final : public QMItemDialog, public Adapted {
  public:
    using Adapted::Adapted;
    V Load(std::string_view formName) override { return Host().Call("Load", {Str(formName)}); }
};

class AdoConnectionAdapter final : public AdoConnection, public Adapted {
  public:
    using Adapted::Adapted;
    void Open(std::string_view connectionString, std::string_view user,
              std::string_view password) override {
        Host().Call("Open", {Str(connectionString), Str(user), Str(password)});
    }
    std::string ConnectionString() const override { return Text(Host().Get("ConnectionString")); }
    void Close() override { Host().Call("Close"); }
};

// The client's list-selection control, sited on one of the library's forms. The members the
// library relies on for the selection's outcome are reached by role: a client may name them
// otherwise.
class ListSelControlAdapter final : public ListSelControl, public Adapted {
  public:
    using Adapted::Adapted;
    V Property(ListSelProperty property) const override { return Host().Get(NameOf(property)); }
    void SetProperty(ListSelProperty property, const V& value) override {
        Host().Put(NameOf(property), value);
    }
    bool InitData() override { return Truth(Host().Call("InitData")); }
    bool OK() const override { return Truth(Host().Get(Role("ListControl.OK"))); }
    V Selected() const override { return Host().Get("Selected"); }
    V GetListRs() const override { return Host().Get("GetListRs"); }
    V GetListFieldsDes() const override { return Host().Get("GetListFieldsDes"); }
    VectorPtr ListInfo() const override {
        return Expect<Vector>(Host().Get(Role("ListControl.ListInfo")), Names());
    }
    void CloseList() override { Host().Call(Role("ListControl.CloseList")); }

    void Advise(ListSelEventsSink* sink) override {
        m_sinks.Add(sink, HostObject(), [this](std::string_view event, std::span<VARIANT*> args) {
            if (!EqualsNoCase(event, Role("ListControl.DoAction")) || args.empty()) return;
            const std::string action = Text(FromVariant(*args[0]));
            m_sinks.Each([&](ListSelEventsSink& s) { s.DoAction(action); });
        });
    }
    void Unadvise(ListSelEventsSink* sink) override { m_sinks.Remove(sink); }

  private:
    Subscribers<ListSelEventsSink> m_sinks;
};

// VelaClassTpl.DataSrv: a bill template the plug-in chooses by class type.
class ClassTemplateAdapter final : public DataSrvAdapterOf<ClassTemplate> {
  public:
    using DataSrvAdapterOf::DataSrvAdapterOf;
    void SetClassTypeID(int classTypeId) override { Host().Put("ClassTypeID", V(classTypeId)); }
};

class BillLookUpAdapter final : public BillLookUp, public Adapted {
  public:
    using Adapted::Adapted;
    void SetClassTypeID(int classTypeId) override { Host().Put("ClassTypeID", V(classTypeId)); }
    void SetDataSrv(const DataSrvPtr& dataSrv) override {
        Host().Put("DataSrv", V(ObjectPtr(dataSrv)));
    }
    V ConnectViewExt(const DictionaryPtr& params) override {
        return Host().Call("ConnectViewExt", {V(ObjectPtr(params))});
    }
};

class ClassLinkAdapter final : public ClassLink, public Adapted {
  public:
    using Adapted::Adapted;
    void SetDataSrv(const DataSrvPtr& dataSrv) override {
        Host().Put("DataSrv", V(ObjectPtr(dataSrv)));
    }
    void SetSRCClassTypeID(int classTypeId) override {
        Host().Put("SRCClassTypeID", V(classTypeId));
    }
    void InitLinkTemplate() override { Host().Call("InitLinkTemplate"); }
    V selbills(const V& arg1, const V& arg2, const V& arg3) override {
        return Host().Call("selbills", {arg1, arg2, arg3});
    }
    V DoFilldata(const V& data) override { return Host().Call("DoFilldata", {data}); }
};

class DataInfoAdapter final : public DataInfo, public Adapted {
  public:
    using Adapted::Adapted;
    std::string GetSysValue(std::string_view propsString, std::string_view category,
                            std::string_view name) override {
        return Text(Host().Call("GetSysValue", {Str(propsString), Str(category), Str(name)}));
    }
    VectorPtr GetProjData(std::string_view propsString, std::string_view filter) override {
        return Expect<Vector>(Host().Call("GetProjData", {Str(propsString), Str(filter)}), Names());
    }
    VectorPtr GetQCSchemeBilldata(std::string_view propsString, std::string_view filter) override {
        return Expect<Vector>(Host().Call("GetQCSchemeBilldata", {Str(propsString), Str(filter)}),
                              Names());
    }
    V GetSelOldBillData(std::string_view propsString, const V& arg2, const V& arg3,
                        const V& arg4) override {
        return Host().Call("GetSelOldBillData", {Str(propsString), arg2, arg3, arg4});
    }
    V GetEmptyData(const V& page, const V& row, const V& dataSrv) override {
        return Host().Call("GetEmptyData", {page, row, dataSrv});
    }
};

class GradingDataAdapter final : public GradingData, public Adapted {
  public:
    using Adapted::Adapted;
    V GetData(std::string_view propsString, std::string_view sql) override {
        return Host().Call("GetData", {Str(propsString), Str(sql)});
    }
};

class DataUpDateAdapter final : public DataUpDate, public Adapted {
  public:
    using Adapted::Adapted;
    double score(std::string_view propsString, const DictionaryPtr& period) override {
        return NumberValue(Host().Call("score", {Str(propsString), V(ObjectPtr(period))}));
    }
};

class MrpRuntimeAdapter final : public MrpRuntime, public Adapted {
  public:
    using Adapted::Adapted;
    RecordsetPtr GetData(std::string_view propsString, std::string_view sql) override {
        return Expect<Recordset>(Host().Call("GetData", {Str(propsString), Str(sql)}), Names());
    }
};

template <class T>
ObjectPtr Make(ComPtr<IDispatch> object, const NameTable& names) {
    return std::make_shared<T>(std::move(object), names);
}

// The component classes the plug-ins hold a contract for; an object of any other class stays
// late-bound (a DispatchObject).
constexpr std::pair<std::string_view, ObjectPtr (*)(ComPtr<IDispatch>, const NameTable&)>
    kAdapters[] = {
        {progid::kAppConnection, Make<ConnectionAdapter>},
        {progid::kBillSimpleCheck, Make<BillCheckAdapter>},
        {progid::kGLData, Make<GLDataAdapter>},
        {progid::kShareProps, Make<SharePropsAdapter>},
        {progid::kClassUpdate, Make<ClassUpdateAdapter>},
        {progid::kClassInfo, Make<ClassInfoAdapter>},
        {progid::kDispBuilder, Make<DispBuilderAdapter>},
        {progid::kShopRptData, Make<ShopRptDataAdapter>},
        {progid::kFormulaEditor, Make<FormulaEditorAdapter>},
        {progid::kQMItemDialog, Make<ItemDialogAdapter>},
        {progid::kResLoader, Make<ResLoaderAdapter>},
        {progid::kLangInfo, Make<LangInfoAdapter>},
        {progid::kFrmResLoader, Make<FrmResLoaderAdapter>},
        {progid::kLogMsg, Make<LogMsgAdapter>},
        {progid::kAdoConnection, Make<AdoConnectionAdapter>},
        {progid::kListSelControl, Make<ListSelControlAdapter>},
        {progid::kClassTemplate, Make<ClassTemplateAdapter>},
        {progid::kBillLookUp, Make<BillLookUpAdapter>},
        {progid::kClassLink, Make<ClassLinkAdapter>},
        {progid::kDataInfo, Make<DataInfoAdapter>},
        {progid::kDataUpDate, Make<DataUpDateAdapter>},
        {progid::kGradingData, Make<GradingDataAdapter>},
        {progid::kMrpRuntime, Make<MrpRuntimeAdapter>},
};

}  // namespace

ObjectPtr AdaptComponent(std::string_view progId, ComPtr<IDispatch> object,
                         const NameTable& names) {
    for (const auto& [name, make] : kAdapters)
        if (EqualsNoCase(name, progId)) return make(std::move(object), names);
    return AdaptDispatch(std::move(object), names);
}

}  // namespace velaqm::com
