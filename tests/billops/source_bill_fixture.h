// A session with a small target class of its own (9001, "取样测试": a head with a source-bill
// lookup to purchase receipts, an entry of items) and its class link from the purchase receipts
// of the seed, so that the source-bill tests need no other bill's template.
#pragma once

#include <string>

#include "frame/collections.h"
#include "host/bill_form.h"
#include "host/session.h"
#include "tests/support/session_fixture.h"

namespace velaqm::testing {

class SourceBillTest : public SessionTest {
  protected:
    static constexpr int kTarget = 9001;

    void SetUp() override {
        SessionTest::SetUp();
        session->Db().ExecuteNative(R"sql(
CREATE TABLE TestSampHead (FID INTEGER PRIMARY KEY, FBillNo TEXT DEFAULT '',
    FReqBillNo TEXT DEFAULT '', FReqBillID INTEGER DEFAULT 0, FDate DATETIME,
    FSupplyID INTEGER DEFAULT 0, FCheckerID INTEGER DEFAULT 0);
CREATE TABLE TestSampEntry (FID INTEGER NOT NULL, FEntryID INTEGER NOT NULL,
    FItemID INTEGER DEFAULT 0, FBatchNo TEXT DEFAULT '', FQty NUMERIC DEFAULT 0);
INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName) VALUES
    (9001, '取样测试', 'Sampling test', 'TestSampHead');
INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (9001, 1, 'TestSampHead', 0), (9001, 2, 'TestSampEntry', 1);
INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FValueType,
    FKeyWord) VALUES
    (9001, 'FID', 'FID', 1, 0, 56, ''),
    (9001, 'FBillNo', 'FBillNo', 1, 1, 200, 'BILLNO'),
    (9001, 'FReqBillNo', 'FReqBillNo', 1, 2, 200, ''),
    (9001, 'FReqBillID', 'FReqBillID', 1, 3, 56, ''),
    (9001, 'FDate', 'FDate', 1, 4, 61, ''),
    (9001, 'FSupplyID', 'FSupplyID', 1, 5, 56, ''),
    (9001, 'FItemID', 'FItemID', 2, 0, 56, ''),
    (9001, 'FBatchNo', 'FBatchNo', 2, 1, 200, ''),
    (9001, 'FQty', 'FQty', 2, 2, 3, '');
INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (9001, 9001, '取样测试');
INSERT INTO ICClassLink (FLinkKey, FSourceClassID, FDestClassTypeID, FDestKey, FSourceExpr)
VALUES
    ('TestLink', 702, 9001, 'FReqBillNo', 'v1.FBillNo'),
    ('TestLink', 702, 9001, 'FReqBillID', 'v1.FInterID'),
    ('TestLink', 702, 9001, 'FSupplyID', 'v1.FSupplyID'),
    ('TestLink', 702, 9001, 'FItemID', 'u1.FItemID'),
    ('TestLink', 702, 9001, 'FBatchNo', 'u1.FBatchNo'),
    ('TestLink', 702, 9001, 'FQty', 'u1.FQty');
)sql");
    }

    host::BillForm& OpenTarget() { return session->OpenNewBill(kTarget); }

    // The lookup of the request number into purchase receipts (list 702) by their number.
    static DictionaryPtr ReqBillLookup(const std::string& filter, int lookupClassId = 702) {
        DictionaryPtr lookup = NewDictionary();
        lookup->SetItem("FKey", "FReqBillNo");
        lookup->SetItem("FFieldName", "FReqBillNo");
        lookup->SetItem("FLookUpType", 100);
        lookup->SetItem("FLookupClassID", lookupClassId);
        lookup->SetItem("FSRCTableName", "POInStock");
        lookup->SetItem("FSRCFieldName", "v1.FInterID");
        lookup->SetItem("FDSPFieldName", "v1.FBillNo");
        lookup->SetItem("FFNDFieldName", "v1.FBillNo");
        lookup->SetItem("FFilter", filter);
        lookup->SetItem("FValueType", 200);
        return lookup;
    }
};

}  // namespace velaqm::testing
