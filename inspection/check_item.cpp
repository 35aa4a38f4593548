#include "inspection/check_item.h"

#include "billops/bill_values.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/host_services.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/plugin_show.h"

namespace velaqm {

namespace {

constexpr std::string_view kItemValueTool = "mnuItemValue";
constexpr std::string_view kItemValueCaption = "检验值";
constexpr std::string_view kInsertBefore = "mnuDataRefesh";
constexpr std::string_view kSaveItemFirst = "设置检验值与检验项目对应关系前，请先保存检验项目.";
// The tool's bitmap among the library's resources, drawn with its grey background transparent.
constexpr int kToolBitmap = 1;
constexpr std::int32_t kToolMaskColor = 0xC0C0C0;
constexpr std::string_view kItemValueForm = "FrmItemValue";
constexpr int kItemValueFunction = 1;
constexpr int kModal = 1;

}  // namespace

void CCheckItem::Show(const Variant& oBillInterface) {
    m_billinterface = BillObjectOf(oBillInterface);
}

// The template's note replaces whatever note the host had.
void CCheckItem::m_billinterface_BeforeSetExportNote(const VectorPtr& vctExportNote) {
    vctExportNote->Clear();
    for (std::string_view line : kExportNoteLines)
        vctExportNote->Insert(Variant(LoadCVString(line)));
}

void CCheckItem::m_BillInterface_Change(const DictionaryPtr& dct, const DictionaryPtr& /*dctFld*/,
                                        int /*Col*/, int /*Row*/, bool& /*Cancel*/) {
    TrapSilently([&] {
        if (Text(dct->Item("FFieldName")) == "FAnalysisMethodID") ApplyDecimalRule();
    });
}

void CCheckItem::m_billinterface_MenuBarClick(const ToolPtr& XPFTool, bool& Cancel) {
    if (Cancel) return;
    if (ResumeNextOr([&] { return XPFTool->Name(); }, std::string()) == kItemValueTool)
        ShowItemValues(Cancel);
}

// The command goes into the data menu and onto the toolbar, before the refresh.
void CCheckItem::m_billinterface_MenuBarInitialize(const MenuBarPtr& oMenuBar) {
    TrapSilently([&] {
        const ToolPtr tool = oMenuBar->Tools()->Add(kItemValueTool);
        tool->SetCaption(LoadCVString(kItemValueCaption));
        tool->SetToolTipText(LoadCVString(kItemValueCaption));
        tool->SetDescription(LoadCVString(kItemValueCaption));
        tool->SetPicture(0, Variant(CurrentPlatform().LoadResPicture(kToolBitmap)), kToolMaskColor);
        tool->SetVisible(true);
        tool->SetEnabled(true);
        tool->SetBeginGroup(true);
        oMenuBar->Bands("mnuData")->Tools()->InsertBefore(kInsertBefore, tool);
        oMenuBar->Bands("BandToolBar")->Tools()->InsertBefore(kInsertBefore, tool);
    });
}

void CCheckItem::ApplyDecimalRule() {
    const std::optional<std::int16_t> places =
        QtyDecimalOf(BillValues(*m_billinterface).Head("FAnalysisMethodID"));
    if (places) m_billinterface->SetValueByKey("FQtyDecimal", Variant(*places), -1);
}

// Every failing call is passed over: a missing field or dialog leaves the command without
// effect. Only an item not yet saved is told why nothing opens.
void CCheckItem::ShowItemValues(bool& Cancel) {
    const std::optional<CheckItemFacts> item = ReadItem();
    if (!item) return;
    if (item->id == 0) {
        ShowMessage(LoadCVString(kSaveItemFirst), kMsgInformation);
        Cancel = true;
        return;
    }
    const auto dialog =
        ResumeNextOr([] { return CreateObject<QMItemDialog>(progid::kQMItemDialog); },
                     std::shared_ptr<QMItemDialog>());
    if (!dialog) return;
    const auto form =
        ResumeNextOr([&] { return dialog->Load(kItemValueForm).ObjectAs<QMItemDialogForm>(); },
                     std::shared_ptr<QMItemDialogForm>());
    if (!form) return;
    const DictionaryPtr data = NewDictionary();
    for (const DialogItem& entry : ItemDialogData(*item))
        data->SetItem(entry.key, entry.value);
    if (ResumeNextOr([&] { return form->SetFunc(data, kItemValueFunction); }, false))
        ResumeNext([&] { form->Show(kModal); });
}

// The item's ID, number, parent number and name; nullopt when one cannot be read.
std::optional<CheckItemFacts> CCheckItem::ReadItem() {
    return ResumeNextOr(
        [&] {
            const BillValues values(*m_billinterface);
            return std::optional<CheckItemFacts>(CheckItemFacts{
                .id = LongNumber(values.Head("FID")),
                .number = Text(values.Head("FNumber")),
                .parentNumber = Text(values.Head("FParentNumber")),
                .name = Text(values.Head("FName")),
            });
        },
        std::optional<CheckItemFacts>());
}

}  // namespace velaqm
