-- Reject processing (class type 1001800, a menu-bar form): how a quantity that incoming
-- inspection found nonconforming is handled. Its source is the incoming-inspection bill ICQCBill
-- (class type 711), one per receipt row; choosing one names the inspection and its receipt.
-- The demo receipts of November hold rejects: WIN000201 two rows with open nonconforming
-- quantities, WIN000202 cancelled, WIN000203 with everything already handled.

CREATE TABLE ICQCBill (
    FInterID         INTEGER PRIMARY KEY,
    FBillNo          TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate            DATETIME,
    FStatus          INTEGER DEFAULT 1,
    FInStockInterID  INTEGER DEFAULT 0,  -- the receipt (POInStock.FInterID)
    FSerialID        INTEGER DEFAULT 0,  -- its row (POInStockEntry.FEntryID)
    FItemID          INTEGER DEFAULT 0,
    FCheckQty        NUMERIC DEFAULT 0,
    FNotPassQty      NUMERIC DEFAULT 0,
    FCancellation    INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX ICQCBill_FBillNo ON ICQCBill (FBillNo) WHERE FBillNo <> '';

CREATE TABLE QMRejectPro (
    FID             INTEGER PRIMARY KEY,
    FBillNo         TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FCheckerID      INTEGER DEFAULT 0,
    FDate           DATETIME,
    fcheckbillid    INTEGER DEFAULT 0,
    FRequestBillID  INTEGER DEFAULT 0,
    FRequestBillNo  TEXT COLLATE tsql_ci DEFAULT '',
    FRejectQty      NUMERIC,
    FNote           TEXT COLLATE tsql_ci DEFAULT ''
);
CREATE UNIQUE INDEX QMRejectPro_FBillNo ON QMRejectPro (FBillNo) WHERE FBillNo <> '';
CREATE TABLE QMRejectProEntry (
    FID                INTEGER NOT NULL,
    FEntryID           INTEGER NOT NULL,
    FDefectHandlingID  INTEGER,
    FDefectQty         NUMERIC,
    FNote              TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix)
VALUES
    (711, '来料检验单', 'Incoming inspection', 'ICQCBill', 0, 0, '', 0, ''),
    (1001800, '不合格品处理', 'Reject processing', 'QMRejectPro', 4010, 1001800,
     'VelaQMBillEvent.CRejectPro', 1, 'BL');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (711, 1, 'ICQCBill', 0),
    (1001800, 1, 'QMRejectPro', 0),
    (1001800, 2, 'QMRejectProEntry', 1);

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FSRCTableName,
                              FSRCFieldName, FDSPFieldName, FFNDFieldName, FEnabled)
VALUES
    (711, 'FInterID', 'FInterID', 1, 0, '内码', 'Internal ID', 3, '', 0, '', '', '', '', 0),
    (711, 'FBillNo', 'FBillNo', 1, 1, '编号', 'Number', 200, 'BILLNO', 0, '', '', '', '', 1),
    (711, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 0, '', '', '', '', 1),
    (711, 'FStatus', 'FStatus', 1, 3, '状态', 'Status', 3, '', 0, '', '', '', '', 1),
    (711, 'FNotPassQty', 'FNotPassQty', 1, 4, '不合格数量', 'Quantity not passed', 131, '', 0,
     '', '', '', '', 1),
    (1001800, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, '', '', '', '', 0),
    (1001800, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 0, '', '',
     '', '', 1),
    (1001800, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 0, '', '', '', '', 1),
    (1001800, 'fcheckbillid', 'fcheckbillid', 1, 3, '检验单内码', 'Inspection ID', 3, '', 0,
     '', '', '', '', 1),
    (1001800, 'FRequestBillID', 'FRequestBillID', 1, 4, '入库单内码', 'Receipt ID', 3, '', 0,
     '', '', '', '', 1),
    (1001800, 'FRequestBillNo', 'FRequestBillNo', 1, 5, '入库单号', 'Receipt number', 200, '',
     0, '', '', '', '', 0),
    (1001800, 'FRejectQty', 'FRejectQty', 1, 6, '检验不良数量', 'Reject quantity', 131, '', 0,
     '', '', '', '', 1),
    (1001800, 'FCheckerID', 'FCheckerID', 1, 7, '审核人', 'Checker', 3, '', 1, 't_User',
     'FUserID', 'FName', 'FUserID', 0),
    (1001800, 'FNote', 'FNote', 1, 8, '备注', 'Note', 200, '', 0, '', '', '', '', 1),
    (1001800, 'FDefectHandlingID', 'FDefectHandlingID', 2, 1, '不良处理方式', 'Defect handling',
     3, '', 0, '', '', '', '', 1),
    (1001800, 'FDefectQty', 'FDefectQty', 2, 2, '不良数量', 'Defect quantity', 131, '', 0, '',
     '', '', '', 1),
    (1001800, 'FEntryNote', 'FNote', 2, 3, '说明', 'Note', 200, '', 0, '', '', '', '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES
    (711, 711, '来料检验单'),
    (1001800, 1001800, '不合格品处理');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable) VALUES
    (711, '来料检验单', 'ICQCBill', NULL),
    (1001800, '不合格品处理', 'QMRejectPro', 'QMRejectProEntry');

INSERT INTO ICClassMutex (FClassTypeID, FOpareteType, FSubSysID, FNumber) VALUES
    (1001800, 3, 19, 1001800),
    (1001800, 4, 19, 1001800);

-- A chosen inspection names itself and the receipt it inspected.
INSERT INTO ICClassLink (FLinkKey, FSourceClassID, FDestClassTypeID, FDestKey, FSourceExpr,
                         FKeyExpr) VALUES
    ('fcheckbillid', 711, 1001800, 'fcheckbillid', 'v1.FInterID', ''),
    ('fcheckbillid', 711, 1001800, 'FRequestBillID', 'v1.FInStockInterID', '');

INSERT INTO POInStock (FInterID, FBillNo, FDate, FStatus, FBizType, FSupplyID, FTranType,
                       FCancellation) VALUES
    (201, 'WIN000201', '2026-11-20 00:00:00', 1, 12510, 1, 702, 0),
    (202, 'WIN000202', '2026-11-21 00:00:00', 1, 12510, 2, 702, 1),
    (203, 'WIN000203', '2026-11-22 00:00:00', 1, 12510, 2, 702, 0);
INSERT INTO POInStockEntry (FInterID, FEntryID, FItemID, FQty, FBatchNo, FAuxNotPassQty,
                            FAuxCommitQty) VALUES
    (201, 1, 1, 500, 'B2611', 40, 10),
    (201, 2, 2, 200, 'B2612', 12, 0),
    (202, 1, 2, 100, 'B2613', 5, 0),
    (203, 1, 4, 60, 'B2614', 8, 8);

-- IQC000001 found 25 nonconforming of the 30 still open on its row; IQC000002 found 20 where
-- only 12 are open; IQC000003 inspected the cancelled receipt; IQC000004 is itself cancelled;
-- IQC000005's row has nothing open.
INSERT INTO ICQCBill (FInterID, FBillNo, FDate, FStatus, FInStockInterID, FSerialID, FItemID,
                      FCheckQty, FNotPassQty, FCancellation) VALUES
    (1, 'IQC000001', '2026-11-20 00:00:00', 1, 201, 1, 1, 500, 25, 0),
    (2, 'IQC000002', '2026-11-20 00:00:00', 1, 201, 2, 2, 200, 20, 0),
    (3, 'IQC000003', '2026-11-21 00:00:00', 1, 202, 1, 2, 100, 5, 0),
    (4, 'IQC000004', '2026-11-21 00:00:00', 1, 201, 1, 1, 500, 30, 1),
    (5, 'IQC000005', '2026-11-22 00:00:00', 1, 203, 1, 4, 60, 8, 0);
