// The host's service components, one interface per class name (ProgID). The plug-ins create
// one with CreateObject<T>(progId) (frame/platform.h), call a member or two and let it go.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "frame/collections.h"
#include "frame/host_bill.h"
#include "frame/object.h"
#include "frame/variant.h"

namespace velaqm {

// A query result read by field name, as an ADO recordset is.
class Recordset : public Object {
  public:
    std::string TypeName() const override { return "Recordset"; }

    static constexpr int kStateClosed = 0;
    static constexpr int kStateOpen = 1;

    virtual int State() const = 0;
    // ADO's EOF and BOF (EOF itself is a macro of <cstdio>).
    virtual bool Eof() const = 0;
    virtual bool Bof() const = 0;
    virtual int RecordCount() const = 0;
    virtual int FieldCount() const = 0;
    virtual std::string FieldName(int index) const = 0;
    // The current record's value of a field (names compared without regard to case); throws
    // HostError when there is no such field or no current record.
    virtual Variant Fields(std::string_view name) const = 0;
    virtual Variant Fields(int index) const = 0;
    virtual bool HasField(std::string_view name) const = 0;
    virtual void MoveFirst() = 0;
    virtual void MoveNext() = 0;
    virtual void Close() = 0;
};

// VelaConnection.Appconnection: the host database connection.
class AppConnection : public Object {
  public:
    std::string TypeName() const override { return "Appconnection"; }
    // Runs a statement or batch; the recordset of its query, or null when it returns none.
    virtual RecordsetPtr Execute(std::string_view sql) = 0;
};

// VelaMQMDataAccess.cBillSimpleCheck: audits or un-audits one bill.
class BillSimpleCheck : public Object {
  public:
    std::string TypeName() const override { return "cBillSimpleCheck"; }
    // params: "BillClassTypeid", "InterID", "CheckSwitch" (0 audit, 1 un-audit), and
    // "ReturnString", which receives the text to show the user.
    virtual bool CheckBill(std::string_view propsString, const DictionaryPtr& params) = 0;
};

// VelaGLView.GLData: rights check and the user-action log.
class GLData : public Object {
  public:
    std::string TypeName() const override { return "GLData"; }
    virtual bool AccessCheck(const Variant& objectType, const Variant& objectId, int rightKind) = 0;
    virtual void WriteLog(std::string_view functionCode, int kind, std::string_view text) = 0;
};

// VelaProps.ShareProps: the per-process shared login values.
class ShareProps : public Object {
  public:
    std::string TypeName() const override { return "ShareProps"; }
    virtual Variant GetProperty(std::string_view name, int processId) = 0;
};

// The login object (shared value "CVLogin"): grants network tasks.
class LoginObject : public Object {
  public:
    std::string TypeName() const override { return "CVLogin"; }
    // A task handle of 1 or more, or 0 when another user holds a conflicting task.
    virtual int taskexec(int subSysId, int functionNumber, std::string_view computerName, int mode,
                         int reserved1, int reserved2, const Variant& billId) = 0;
    virtual void CommitTask(int taskHandle) = 0;
};

// VelaMClass.ClassUpdate: deletes one bill with its entries.
class ClassUpdate : public Object {
  public:
    std::string TypeName() const override { return "ClassUpdate"; }
    virtual void DeleteBill(std::string_view propsString, int classTypeId, const Variant& classType,
                            const Variant& billId, const Variant& reserved,
                            const Variant& tableInfo, const Variant& classTypeEntry) = 0;
};

// VelaMClass.ClassInfo: class-type attributes.
class ClassInfo : public Object {
  public:
    std::string TypeName() const override { return "ClassInfo"; }
    // The attributes ("FName", ...) of the class type meeting the filter ("FID=1001906").
    virtual DictionaryPtr GetClassType(std::string_view filter) = 0;
};

// VelaClassTpl.DataSrv: the bill template of a class type, chosen by setting ClassTypeID.
class ClassTemplate : public DataSrv {
  public:
    virtual void SetClassTypeID(int classTypeId) = 0;
};

// VelaClassLookUp.BillLookUp: shows the bills of a class that meet a filter.
class BillLookUp : public Object {
  public:
    std::string TypeName() const override { return "BillLookUp"; }
    virtual void SetClassTypeID(int classTypeId) = 0;
    virtual void SetDataSrv(const DataSrvPtr& dataSrv) = 0;
    virtual Variant ConnectViewExt(const DictionaryPtr& params) = 0;
};

// VelaClassLink.ClassLink: selection of source bills and filling of the target bill from them.
class ClassLink : public Object {
  public:
    std::string TypeName() const override { return "ClassLink"; }
    virtual void SetDataSrv(const DataSrvPtr& dataSrv) = 0;
    virtual void SetSRCClassTypeID(int classTypeId) = 0;
    virtual void InitLinkTemplate() = 0;
    virtual Variant selbills(const Variant& arg1, const Variant& arg2, const Variant& arg3) = 0;
    virtual Variant DoFilldata(const Variant& data) = 0;
};

// VelaDisplayer.DispBuilder: a read-only result list, one line per Add.
class DispBuilder : public Object {
  public:
    std::string TypeName() const override { return "DispBuilder"; }
    virtual void SetCols(int count) = 0;
    // Column titles separated by "|".
    virtual void SetTitles(std::string_view titles) = 0;
    virtual void SetColWidth(int column, int width) = 0;
    // One line; its columns separated by "|".
    virtual void Add(std::string_view line) = 0;
    virtual void Show() = 0;
};

// VelaMShopRpt.data.
class ShopRptData : public Object {
  public:
    std::string TypeName() const override { return "data"; }
    virtual RecordsetPtr GetData(std::string_view propsString, std::string_view sql) = 0;
};

// ADODB.Connection: a local database connection, used to open the client's switch database.
class AdoConnection : public Object {
  public:
    std::string TypeName() const override { return "Connection"; }
    // Throws HostError when the provider or the data source cannot be opened.
    virtual void Open(std::string_view connectionString, std::string_view user,
                      std::string_view password) = 0;
    // The connection string as the open connection gives it back.
    virtual std::string ConnectionString() const = 0;
    virtual void Close() = 0;
};

// VelaMQMGrading.CGetGradingData: the rows of a query, as the class link takes chosen bills.
class GradingData : public Object {
  public:
    std::string TypeName() const override { return "CGetGradingData"; }
    // A Vector of one Dictionary per row (column name -> value); Empty when the query returns
    // no recordset.
    virtual Variant GetData(std::string_view propsString, std::string_view sql) = 0;
};

// VelaMPlanMrp.MrpRuntime: the planning module's reads over the host database.
class MrpRuntime : public Object {
  public:
    std::string TypeName() const override { return "MrpRuntime"; }
    // The recordset of the statement's query; null when the statement returns none.
    virtual RecordsetPtr GetData(std::string_view propsString, std::string_view sql) = 0;
};

// VelaMQMDataAccess.DataInfo: quality-module reads.
class DataInfo : public Object {
  public:
    std::string TypeName() const override { return "DataInfo"; }
    virtual std::string GetSysValue(std::string_view propsString, std::string_view category,
                                    std::string_view name) = 0;
    virtual VectorPtr GetProjData(std::string_view propsString, std::string_view filter) = 0;
    virtual VectorPtr GetQCSchemeBilldata(std::string_view propsString,
                                          std::string_view filter) = 0;
    virtual Variant GetSelOldBillData(std::string_view propsString, const Variant& arg2,
                                      const Variant& arg3, const Variant& arg4) = 0;
    virtual Variant GetEmptyData(const Variant& page, const Variant& row,
                                 const Variant& dataSrv) = 0;
};

// VelaMQMDataAccess.DataUpDate: quality-module calculations.
class DataUpDate : public Object {
  public:
    std::string TypeName() const override { return "DataUpDate"; }
    // The supply quality of a supplier over a period ("SupID", "BDate" and "EDate" of the
    // Dictionary): the share of what was checked that passed, -1 when there was no supply.
    virtual double score(std::string_view propsString, const DictionaryPtr& period) = 0;
};

// VelaFormulaEd.clsFormula: the formula editor.
class FormulaEditor : public Object {
  public:
    std::string TypeName() const override { return "clsFormula"; }
    // Shows the editor on the formula; returns the edited text.
    virtual std::string Show(std::string& formula) = 0;
    // True when the user confirmed the editor.
    virtual bool OK() const = 0;
};

// VelaResLoader.Loader: the string loader (Chinese source text to the current language).
class ResLoader : public Object {
  public:
    std::string TypeName() const override { return "Loader"; }
    virtual std::string ResFileBaseName() const = 0;
    virtual void SetResFileBaseName(std::string_view name) = 0;
    virtual std::string LanguageID() const = 0;
    virtual void SetLanguageID(std::string_view language) = 0;
    virtual std::string LoadString(std::string_view text) = 0;
};

// VelaLangInfo.LangInfo.
class LangInfo : public Object {
  public:
    std::string TypeName() const override { return "LangInfo"; }
    virtual std::string CurrentLanguage() const = 0;
};

// VelaFormRes.FrmResLoader: form fonts per language.
class FrmResLoader : public Object {
  public:
    std::string TypeName() const override { return "FrmResLoader"; }
    virtual void SetFrmFont(const ObjectPtr& form, std::string_view language) = 0;
};

// CVLogMsg.Log: the trace log.
class LogMsg : public Object {
  public:
    std::string TypeName() const override { return "Log"; }
    virtual bool IsEnabled() const = 0;
    virtual int LogStart(std::string_view text) = 0;
    virtual void LogEnd(int handle, int result) = 0;
};

// VelaQMItemDialog.cQMItemDialog: the dialog that links check values to a check item.
class QMItemDialog : public Object {
  public:
    std::string TypeName() const override { return "cQMItemDialog"; }
    // The dialog's form of that name (a QMItemDialogForm); Nothing when it has none.
    virtual Variant Load(std::string_view formName) = 0;
};

// A form the item dialog loaded.
class QMItemDialogForm : public Object {
  public:
    std::string TypeName() const override { return "Form"; }
    // Hands the form its data and how to use it; true when the form is ready to be shown.
    virtual bool SetFunc(const DictionaryPtr& data, int function) = 0;
    // Shows the form; modal 1 returns once the person has closed it.
    virtual void Show(int modal) = 0;
};

// Class names (ProgIDs) of the components above.
namespace progid {
inline constexpr std::string_view kAppConnection = "VelaConnection.Appconnection";
inline constexpr std::string_view kBillSimpleCheck = "VelaMQMDataAccess.cBillSimpleCheck";
inline constexpr std::string_view kGLData = "VelaGLView.GLData";
inline constexpr std::string_view kShareProps = "VelaProps.ShareProps";
inline constexpr std::string_view kClassUpdate = "VelaMClass.ClassUpdate";
inline constexpr std::string_view kClassInfo = "VelaMClass.ClassInfo";
inline constexpr std::string_view kClassTemplate = "VelaClassTpl.DataSrv";
inline constexpr std::string_view kBillLookUp = "VelaClassLookUp.BillLookUp";
inline constexpr std::string_view kClassLink = "VelaClassLink.ClassLink";
inline constexpr std::string_view kDispBuilder = "VelaDisplayer.DispBuilder";
inline constexpr std::string_view kShopRptData = "VelaMShopRpt.data";
inline constexpr std::string_view kDataInfo = "VelaMQMDataAccess.DataInfo";
inline constexpr std::string_view kDataUpDate = "VelaMQMDataAccess.DataUpDate";
inline constexpr std::string_view kGradingData = "VelaMQMGrading.CGetGradingData";
inline constexpr std::string_view kMrpRuntime = "VelaMPlanMrp.MrpRuntime";
inline constexpr std::string_view kFormulaEditor = "VelaFormulaEd.clsFormula";
inline constexpr std::string_view kQMItemDialog = "VelaQMItemDialog.cQMItemDialog";
inline constexpr std::string_view kResLoader = "VelaResLoader.Loader";
inline constexpr std::string_view kLangInfo = "VelaLangInfo.LangInfo";
inline constexpr std::string_view kFrmResLoader = "VelaFormRes.FrmResLoader";
inline constexpr std::string_view kLogMsg = "CVLogMsg.Log";
inline constexpr std::string_view kAdoConnection = "ADODB.Connection";
// The host's toolbar control, which the library's hidden toolbar form carries.
inline constexpr std::string_view kToolbarControl = "VelaActiveBar.ActiveBar";
}  // namespace progid

}  // namespace velaqm
