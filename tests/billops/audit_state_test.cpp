// The audit rules as tables of bill facts: audited, read-only, locked fields, and the toolbar
// after a load.
#include "billops/audit_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "billops/bill_tools.h"
#include "tests/support/tool_settings.h"

namespace velaqm {
namespace {

TEST(AuditStateTest, ABillIsAuditedWhileItsCheckerIsSet) {
    for (double checker : {1.0, 16394.0, 2147483647.0})
        EXPECT_TRUE(IsAudited(checker)) << checker;
    for (double checker : {0.0, -1.0, -16394.0})
        EXPECT_FALSE(IsAudited(checker)) << checker;
}

TEST(AuditStateTest, WhoMayEditTheBillItsFieldsAndItsAuditState) {
    struct Case {
        const char* name;
        BillFacts bill;
        bool readOnly, fieldsLocked, auditTools;
    };
    using bill_mode::kExisting, bill_mode::kNone;
    const Case cases[] = {
        {"worked on by its holder",
         {.billStatus = bill_status::kEdit, .mode = kExisting},
         false,
         false,
         true},
        {"a new bill",
         {.billStatus = bill_status::kNew, .mode = bill_mode::kNew},
         false,
         false,
         true},
        {"opened for viewing",
         {.billStatus = bill_status::kView, .mode = kNone},
         false,
         true,
         false},
        {"audited",
         {.billStatus = bill_status::kEdit, .mode = kExisting, .checker = 5},
         true,
         true,
         true},
        {"held by another user",
         {.billStatus = bill_status::kEdit, .mode = kExisting, .heldHere = false},
         true,
         true,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsReadOnly(c.bill), c.readOnly);
        EXPECT_EQ(FieldsLocked(c.bill), c.fieldsLocked);
        EXPECT_EQ(OffersAuditTools(c.bill), c.auditTools);
    }
}

using testing::Setting;

TEST(AuditStateTest, TheToolbarAfterALoadFollowsStatusAuditAndEditLock) {
    const BillFacts editing{.classTypeId = 1001910, .billStatus = bill_status::kEdit};
    struct Case {
        const char* name;
        BillFacts bill;
        bool keepRowTools;
        std::optional<bool> checkVisible, checkEnabled, addRowVisible, delEntryVisible, saveEnabled,
            selectBillVisible;
    };
    const Case cases[] = {
        {"editable, row tools kept", editing, true, std::nullopt, true, std::nullopt, std::nullopt,
         std::nullopt, std::nullopt},
        {"editable, row tools hidden", editing, false, std::nullopt, true, false, std::nullopt,
         std::nullopt, std::nullopt},
        {"a new bill cannot be audited",
         {.billStatus = bill_status::kNew},
         true,
         std::nullopt,
         false,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         std::nullopt},
        {"nor one opened for viewing, audited or not",
         {.billStatus = bill_status::kView},
         true,
         std::nullopt,
         false,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         std::nullopt},
        {"an audited bill keeps its audit tools but no row or save tools",
         {.classTypeId = 1001910, .billStatus = bill_status::kEdit, .checker = 16394},
         true,
         std::nullopt,
         true,
         false,
         false,
         false,
         std::nullopt},
        {"a bill held by another user loses its row tools and audit",
         {.classTypeId = 1001910, .billStatus = bill_status::kEdit, .heldHere = false},
         true,
         std::nullopt,
         false,
         false,
         false,
         false,
         std::nullopt},
        {"source selection goes with the row tools of the bills that have it",
         {.classTypeId = 1001902, .billStatus = bill_status::kEdit, .checker = 1},
         true,
         std::nullopt,
         true,
         false,
         false,
         false,
         false},
        {"a running multi-level audit hides the audit tools",
         {.billStatus = bill_status::kEdit, .multiCheckRunning = true},
         true,
         false,
         true,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         std::nullopt},
        {"but not on a bill opened for viewing",
         {.billStatus = bill_status::kView, .multiCheckRunning = true},
         true,
         std::nullopt,
         false,
         std::nullopt,
         std::nullopt,
         std::nullopt,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolSettings settings = AuditMenuState(c.bill, c.keepRowTools);
        for (std::string_view audit : {tool::kCheck, tool::kUnCheck}) {
            EXPECT_EQ(Setting(settings, audit, kVisible), c.checkVisible);
            EXPECT_EQ(Setting(settings, audit, kEnabled), c.checkEnabled);
        }
        EXPECT_EQ(Setting(settings, tool::kAddRow, kVisible), c.addRowVisible);
        EXPECT_EQ(Setting(settings, tool::kDelEntry, kVisible), c.delEntryVisible);
        EXPECT_EQ(Setting(settings, tool::kFileSave, kEnabled), c.saveEnabled);
        EXPECT_EQ(Setting(settings, tool::kDataLookUp, kEnabled), c.saveEnabled);
        EXPECT_EQ(Setting(settings, tool::kSelectBill, kVisible), c.selectBillVisible);
    }
}

}  // namespace
}  // namespace velaqm
