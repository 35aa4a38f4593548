// The sampling record, bill and list. On the bill the sample type decides which fields may be
// edited and where the source-bill lookups point, the samples are checked before a save (unique
// numbers, storage deadlines, the process fields of process sampling), a record whose samples
// are observed or destroyed is not un-audited, and the bill is filled from a chosen source bill.
// On the list: audit, un-audit, delete, the source and follow-up bills of a record, and the push
// of one sample on to an observation log or a destruction record.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frame/events.h"
#include "frame/plugin.h"
#include "sampling/sampling_log_rules.h"

namespace velaqm {

class SamplingLogEvent final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001906;

    void Show(const Variant& oBillInterface) override;

  private:
    // The bill.
    void m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel);
    void m_BillInterface_AfterLoadBill();
    void m_billinterface_AfterCopyBill();
    void m_billinterface_AfterNewBill();
    void m_BillInterface_AfterNewEmptyData();
    void m_billinterface_BeginEdit(const DictionaryPtr& dct, int Col, int Row);
    void m_billinterface_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col,
                                int Row, bool& Cancel);
    void m_billinterface_BeforeSave(bool& bCancel);

    // The steps of the bill's handlers.
    void SetUpSampleType();
    void EmptyBillKeeping(const std::string& id, const std::string& text,
                          const std::string& number);
    void ApplySampleTypeFields(const SampleTypeForm& form);
    void ApplySampleTypeLookups(const SampleTypeForm& form);
    void LockSavedSource();
    void HideAuditToolsFromOthers();
    bool SaveRefused();
    bool SampleNumberStored(const SampleRow& row);
    void RefuseRepeatedNumber(int Row);
    bool UnAuditRefused();
    void LookUpSource();
    void FillFromTypedSource(const DictionaryPtr& field, int Row);
    void FillFromSource(const DictionaryPtr& field, const VectorPtr& chosen);

    // Reading the bill.
    int SampleType();
    std::vector<SampleRow> SampleRows();

    // The list.
    void m_listInterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_listInterface_AfterSelList(const Variant& RsId, const VectorPtr& VectList);
    void m_listInterface_BarClick(const ToolPtr& Tool, bool& Cancel);

    // The steps of the list's handlers.
    bool PushDownRefused(bool checkExpiry);
    bool PushedRecordAudited();
    void ShowSourceBill();
    void ShowFollowUpBills();

    EventMember<BillEvent> m_BillInterface{{
        .AfterLoadBill = Handler(this, &SamplingLogEvent::m_BillInterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &SamplingLogEvent::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &SamplingLogEvent::m_billinterface_AfterCopyBill),
        .AfterNewEmptyData = Handler(this, &SamplingLogEvent::m_BillInterface_AfterNewEmptyData),
        .BeforeSave = Handler(this, &SamplingLogEvent::m_billinterface_BeforeSave),
        .BarInitialize = Handler(this, &SamplingLogEvent::m_BillInterface_BarInitialize),
        .BarClick = Handler(this, &SamplingLogEvent::m_BillInterface_BarClick),
        .BeginEdit = Handler(this, &SamplingLogEvent::m_billinterface_BeginEdit),
        .Change = Handler(this, &SamplingLogEvent::m_billinterface_Change),
    }};

    EventMember<ListEvents> m_listInterface{{
        .AfterSelList = Handler(this, &SamplingLogEvent::m_listInterface_AfterSelList),
        .BarInitialize = Handler(this, &SamplingLogEvent::m_listInterface_BarInitialize),
        .BarClick = Handler(this, &SamplingLogEvent::m_listInterface_BarClick),
    }};
    // Set once a push command was used: from then on rows of several records may be selected.
    bool m_pushing = false;

    // The sample type as it was when editing of FSampleType began: FFLD, FDSP, FFND.
    struct RememberedType {
        std::string id;
        std::string text;
        std::string number;
    };
    std::optional<RememberedType> m_previousType;
    // The field info of the field last entered: the one the lookup command looks up.
    DictionaryPtr m_enteredField;
};

}  // namespace velaqm
