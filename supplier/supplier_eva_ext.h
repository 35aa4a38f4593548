// The supplier evaluation: one supplier, or one item of it, scored over a period against an
// evaluation project. Choosing the project brings in its items and points; the supply-quality
// item is scored from the purchase receipts of the period; the grades add up to the score,
// which the project's pass mark turns into pass or fail. A new evaluation is proposed the year
// up to its end date; the bill is checked before a save, audited from the toolbar, locked while
// it has a checker, and its creation and saves are logged.
#pragma once

#include <optional>
#include <string>

#include "frame/events.h"
#include "frame/plugin.h"
#include "supplier/supplier_eva_rules.h"

namespace velaqm {

class SupplierEvaExt final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001905;

    void Show(const Variant& oBillInterface) override;

  private:
    void m_billinterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_billinterface_BarClick(const ToolPtr& Tool, bool& Cancel);
    void m_billinterface_AfterNewBill();
    void m_billinterface_AfterLoadBill();
    void m_billinterface_AfterCopyBill();
    void m_billinterface_AfterSelBill(int lSelBillType);
    void m_billinterface_BeginEdit(const DictionaryPtr& dct, int Col, int Row);
    void m_billinterface_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col,
                                int Row, bool& Cancel);
    void m_billinterface_BeforeSave(bool& bCancel);
    void m_billinterface_AfterSave(bool& bCancel);

    // The steps of the handlers.
    void ProposePeriod();
    void Refresh();
    void CheckProject();
    void ScoreSupplyQuality();
    std::optional<double> SupplyGrade(const SupplyScope& scope, double points);
    void ShowTotalScore();
    bool SaveRefused();
    bool ZeroScoreRefused();
    bool PerItem();

    EventMember<BillEvent> m_billinterface{{
        .AfterLoadBill = Handler(this, &SupplierEvaExt::m_billinterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &SupplierEvaExt::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &SupplierEvaExt::m_billinterface_AfterCopyBill),
        .BeforeSave = Handler(this, &SupplierEvaExt::m_billinterface_BeforeSave),
        .AfterSave = Handler(this, &SupplierEvaExt::m_billinterface_AfterSave),
        .AfterSelBill = Handler(this, &SupplierEvaExt::m_billinterface_AfterSelBill),
        .BarInitialize = Handler(this, &SupplierEvaExt::m_billinterface_BarInitialize),
        .BarClick = Handler(this, &SupplierEvaExt::m_billinterface_BarClick),
        .BeginEdit = Handler(this, &SupplierEvaExt::m_billinterface_BeginEdit),
        .Change = Handler(this, &SupplierEvaExt::m_billinterface_Change),
    }};
    // The project number the last refresh saw: typing it again changes nothing.
    std::string m_lastProject;
    // The key of the field where editing last began: the lookup tool looks up only the project.
    std::string m_currentField;
    // Set by the copy tool: the new bill it makes keeps the copied period.
    bool m_copying = false;
    // Set when a new bill's period could not be proposed: it is, once a project is chosen.
    bool m_periodPending = false;
    // What the last supply-quality grade was worked out for, in whichever bill of the form.
    std::optional<SupplyScope> m_lastScope;
};

}  // namespace velaqm
