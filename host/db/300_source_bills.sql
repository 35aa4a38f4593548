-- The source bills that a sampling record is made from: purchase receipts, inspection requests
-- (production, delivery and return), production tasks and work orders, with a few demo bills in
-- every status (0 to 3) so that the lists' filters matter. Each is reached the host's way: its
-- list template (the ID its lookups name) gives its transaction type, which gives its tables.
-- ICClassLink maps a source's columns to the target bill's field keys, one row per target field.

CREATE TABLE POInStock (
    FInterID   INTEGER PRIMARY KEY,
    FBillNo    TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate      DATETIME,
    FStatus    INTEGER DEFAULT 0,
    FBizType   INTEGER DEFAULT 12510,  -- 12510 purchase, 12511 outsourced processing
    FSupplyID  INTEGER DEFAULT 0,
    FTranType  INTEGER DEFAULT 702,
    FCancellation  INTEGER DEFAULT 0  -- 1 once the receipt is cancelled
);
-- A receipt row made from a purchase order row names it (FSourceTranType 71); its inspection
-- checked FQCheckQty, of which FQtyPass passed and FConPassQty was accepted on concession.
-- FAuxNotPassQty did not pass, and FAuxCommitQty of that is already handled.
CREATE TABLE POInStockEntry (
    FInterID         INTEGER NOT NULL,
    FEntryID         INTEGER NOT NULL,
    FItemID          INTEGER DEFAULT 0,
    FQty             NUMERIC DEFAULT 0,
    FBatchNo         TEXT COLLATE tsql_ci DEFAULT '',
    FSourceTranType  INTEGER DEFAULT 0,
    FSourceInterID   INTEGER DEFAULT 0,
    FSourceEntryID   INTEGER DEFAULT 0,
    FQCheckQty       NUMERIC DEFAULT 0,
    FQtyPass         NUMERIC DEFAULT 0,
    FConPassQty      NUMERIC DEFAULT 0,
    FAuxNotPassQty   NUMERIC DEFAULT 0,
    FAuxCommitQty    NUMERIC DEFAULT 0,
    PRIMARY KEY (FInterID, FEntryID)
);

CREATE TABLE QMICMOCKRequest (
    FInterID     INTEGER PRIMARY KEY,
    FBillNo      TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate        DATETIME,
    FStatus      INTEGER DEFAULT 0,
    FWorkShopID  INTEGER DEFAULT 0
);
CREATE TABLE QMICMOCKRequestEntry (
    FInterID  INTEGER NOT NULL,
    FEntryID  INTEGER NOT NULL,
    FItemID   INTEGER DEFAULT 0,
    FQty      NUMERIC DEFAULT 0,
    FBatchNo  TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FInterID, FEntryID)
);

-- Delivery (705) and return (704) inspection requests share their tables.
CREATE TABLE QMSaleCkRequest (
    FInterID   INTEGER PRIMARY KEY,
    FBillNo    TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate      DATETIME,
    FStatus    INTEGER DEFAULT 0,
    FTranType  INTEGER NOT NULL,
    FCustID    INTEGER DEFAULT 0
);
CREATE TABLE QMSaleCkRequestEntry (
    FInterID  INTEGER NOT NULL,
    FEntryID  INTEGER NOT NULL,
    FItemID   INTEGER DEFAULT 0,
    FQty      NUMERIC DEFAULT 0,
    FBatchNo  TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FInterID, FEntryID)
);

CREATE TABLE ICMO (
    FInterID   INTEGER PRIMARY KEY,
    FBillNo    TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate      DATETIME,
    FStatus    INTEGER DEFAULT 0,
    FItemID    INTEGER DEFAULT 0,
    FQty       NUMERIC DEFAULT 0,
    FWorkShop  INTEGER DEFAULT 0
);

CREATE TABLE SHWorkBill (
    FInterID      INTEGER PRIMARY KEY,
    FBillNo       TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FICMOInterID  INTEGER DEFAULT 0
);
CREATE TABLE SHWorkBillEntry (
    FInterID       INTEGER NOT NULL,
    FEntryID       INTEGER NOT NULL,
    FWBInterID     INTEGER NOT NULL,          -- the operation's own internal ID
    FWorkBillNO    TEXT COLLATE tsql_ci DEFAULT '',
    FStatus        INTEGER DEFAULT 0,
    FIsOut         INTEGER DEFAULT 1059,      -- 1059 own work, 1058 outsourced
    FOperID        INTEGER DEFAULT 0,
    FWorkCenterID  INTEGER DEFAULT 0,
    FSupplyID      INTEGER DEFAULT 0,
    PRIMARY KEY (FInterID, FEntryID)
);

-- The target's field keys each source fills, by link: FSourceExpr is read over the source's
-- head (v1) and entry (u1); FKeyExpr, where given, is what the chosen rows' FInterID names
-- instead of the head's internal ID.
-- No two bills of a kind share a number.
CREATE UNIQUE INDEX POInStock_FBillNo ON POInStock (FBillNo) WHERE FBillNo <> '';
CREATE UNIQUE INDEX QMICMOCKRequest_FBillNo ON QMICMOCKRequest (FBillNo) WHERE FBillNo <> '';
CREATE UNIQUE INDEX QMSaleCkRequest_FBillNo ON QMSaleCkRequest (FBillNo) WHERE FBillNo <> '';
CREATE UNIQUE INDEX ICMO_FBillNo ON ICMO (FBillNo) WHERE FBillNo <> '';
CREATE UNIQUE INDEX SHWorkBill_FBillNo ON SHWorkBill (FBillNo) WHERE FBillNo <> '';

CREATE TABLE ICClassLink (
    FLinkKey          TEXT COLLATE tsql_ci NOT NULL,
    FSourceClassID    INTEGER NOT NULL,
    FDestClassTypeID  INTEGER NOT NULL,
    FDestKey          TEXT COLLATE tsql_ci NOT NULL,
    FSourceExpr       TEXT COLLATE tsql_ci NOT NULL,
    FKeyExpr          TEXT COLLATE tsql_ci DEFAULT ''
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName) VALUES
    (702, '外购入库单', 'Purchase receipt', 'POInStock'),
    (701, '产品检验申请单', 'Product inspection request', 'QMICMOCKRequest'),
    (705, '发货检验申请单', 'Delivery inspection request', 'QMSaleCkRequest'),
    (704, '退货检验申请单', 'Return inspection request', 'QMSaleCkRequest'),
    (85, '生产任务单', 'Production task', 'ICMO'),
    (52, '工序计划单', 'Work order', 'SHWorkBill');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (702, 1, 'POInStock', 0), (702, 2, 'POInStockEntry', 1),
    (701, 1, 'QMICMOCKRequest', 0), (701, 2, 'QMICMOCKRequestEntry', 1),
    (705, 1, 'QMSaleCkRequest', 0), (705, 2, 'QMSaleCkRequestEntry', 1),
    (704, 1, 'QMSaleCkRequest', 0), (704, 2, 'QMSaleCkRequestEntry', 1),
    (85, 1, 'ICMO', 0),
    (52, 1, 'SHWorkBill', 0), (52, 2, 'SHWorkBillEntry', 1);

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord)
VALUES
    (702, 'FInterID', 'FInterID', 1, 0, '内码', 'Internal ID', 3, ''),
    (702, 'FBillNo', 'FBillNo', 1, 1, '编号', 'Number', 200, 'BILLNO'),
    (702, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, ''),
    (702, 'FStatus', 'FStatus', 1, 3, '状态', 'Status', 3, ''),
    (701, 'FInterID', 'FInterID', 1, 0, '内码', 'Internal ID', 3, ''),
    (701, 'FBillNo', 'FBillNo', 1, 1, '编号', 'Number', 200, 'BILLNO'),
    (701, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, ''),
    (701, 'FStatus', 'FStatus', 1, 3, '状态', 'Status', 3, ''),
    (705, 'FInterID', 'FInterID', 1, 0, '内码', 'Internal ID', 3, ''),
    (705, 'FBillNo', 'FBillNo', 1, 1, '编号', 'Number', 200, 'BILLNO'),
    (705, 'FStatus', 'FStatus', 1, 2, '状态', 'Status', 3, ''),
    (704, 'FInterID', 'FInterID', 1, 0, '内码', 'Internal ID', 3, ''),
    (704, 'FBillNo', 'FBillNo', 1, 1, '编号', 'Number', 200, 'BILLNO'),
    (704, 'FStatus', 'FStatus', 1, 2, '状态', 'Status', 3, ''),
    (85, 'FInterID', 'FInterID', 1, 0, '内码', 'Internal ID', 3, ''),
    (85, 'FBillNo', 'FBillNo', 1, 1, '编号', 'Number', 200, 'BILLNO'),
    (85, 'FStatus', 'FStatus', 1, 2, '状态', 'Status', 3, ''),
    (52, 'FInterID', 'FInterID', 1, 0, '内码', 'Internal ID', 3, ''),
    (52, 'FBillNo', 'FBillNo', 1, 1, '编号', 'Number', 200, 'BILLNO');

-- List templates carry the IDs the lookups name; 36 and 601 are the lists of transaction types
-- 85 and 52.
INSERT INTO ICListTemplate (FID, FBillTemplateID, FName, FFilter) VALUES
    (702, 702, '外购入库单', ''),
    (701, 701, '产品检验申请单', ''),
    (705, 705, '发货检验申请单', 'v1.FTranType = 705'),
    (704, 704, '退货检验申请单', 'v1.FTranType = 704'),
    (36, 85, '生产任务单', ''),
    (601, 52, '工序计划单', '');

INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable) VALUES
    (702, '外购入库单', 'POInStock', 'POInStockEntry'),
    (701, '产品检验申请单', 'QMICMOCKRequest', 'QMICMOCKRequestEntry'),
    (705, '发货检验申请单', 'QMSaleCkRequest', 'QMSaleCkRequestEntry'),
    (704, '退货检验申请单', 'QMSaleCkRequest', 'QMSaleCkRequestEntry'),
    (85, '生产任务单', 'ICMO', NULL),
    (52, '工序计划单', 'SHWorkBill', 'SHWorkBillEntry');

INSERT INTO POInStock (FInterID, FBillNo, FDate, FStatus, FBizType, FSupplyID) VALUES
    (1, 'WIN000001', '2009-09-01 00:00:00', 1, 12510, 1),
    (2, 'WIN000002', '2009-09-02 00:00:00', 2, 12510, 2),
    (3, 'WIN000003', '2009-09-03 00:00:00', 0, 12510, 3),
    (4, 'WIN000004', '2009-09-04 00:00:00', 1, 12511, 1),
    (5, 'WIN000005', '2009-09-05 00:00:00', 3, 12510, 2);
INSERT INTO POInStockEntry (FInterID, FEntryID, FItemID, FQty, FBatchNo) VALUES
    (1, 1, 1, 100, 'B0901'), (1, 2, 2, 50, 'B0902'),
    (2, 1, 3, 200, 'B0903'),
    (3, 1, 4, 30, 'B0904'),
    (4, 1, 1, 80, 'B0905'),
    (5, 1, 2, 60, 'B0906');

INSERT INTO QMICMOCKRequest (FInterID, FBillNo, FDate, FStatus, FWorkShopID) VALUES
    (1, 'CKR000001', '2009-09-10 00:00:00', 1, 1),
    (2, 'CKR000002', '2009-09-11 00:00:00', 0, 2),
    (3, 'CKR000003', '2009-09-12 00:00:00', 3, 1);
INSERT INTO QMICMOCKRequestEntry (FInterID, FEntryID, FItemID, FQty, FBatchNo) VALUES
    (1, 1, 3, 500, 'P0901'), (2, 1, 4, 120, 'P0902'), (3, 1, 3, 40, 'P0903');

INSERT INTO QMSaleCkRequest (FInterID, FBillNo, FDate, FStatus, FTranType, FCustID) VALUES
    (1, 'FHJ000001', '2009-09-15 00:00:00', 1, 705, 1),
    (2, 'FHJ000002', '2009-09-16 00:00:00', 2, 705, 2),
    (3, 'THJ000001', '2009-09-17 00:00:00', 1, 704, 1),
    (4, 'THJ000002', '2009-09-18 00:00:00', 0, 704, 2);
INSERT INTO QMSaleCkRequestEntry (FInterID, FEntryID, FItemID, FQty, FBatchNo) VALUES
    (1, 1, 3, 300, 'S0901'), (2, 1, 4, 20, 'S0902'), (3, 1, 3, 15, 'S0903'),
    (4, 1, 4, 5, 'S0904');

INSERT INTO ICMO (FInterID, FBillNo, FDate, FStatus, FItemID, FQty, FWorkShop) VALUES
    (1, 'WORK000001', '2009-08-20 00:00:00', 1, 3, 1000, 1),
    (2, 'WORK000002', '2009-08-21 00:00:00', 2, 4, 400, 2),
    (3, 'WORK000003', '2009-08-22 00:00:00', 0, 3, 250, 1);

INSERT INTO SHWorkBill (FInterID, FBillNo, FICMOInterID) VALUES
    (1, 'GXJH000001', 1),
    (2, 'GXJH000002', 2);
INSERT INTO SHWorkBillEntry (FInterID, FEntryID, FWBInterID, FWorkBillNO, FStatus, FIsOut,
                             FOperID, FWorkCenterID, FSupplyID) VALUES
    (1, 1, 101, 'GXJH000001-1', 1, 1059, 1, 1, 0),
    (1, 2, 102, 'GXJH000001-2', 2, 1058, 2, 2, 3),
    (2, 1, 103, 'GXJH000002-1', 0, 1059, 3, 1, 0);

INSERT INTO ICClassLink (FLinkKey, FSourceClassID, FDestClassTypeID, FDestKey, FSourceExpr,
                         FKeyExpr) VALUES
    ('FReqBillNo_16', 702, 1001906, 'FReqBillNo', 'v1.FBillNo', ''),
    ('FReqBillNo_16', 702, 1001906, 'FReqBillID', 'v1.FInterID', ''),
    ('FReqBillNo_16', 702, 1001906, 'FItemID', 'u1.FItemID', ''),
    ('FReqBillNo_16', 702, 1001906, 'FBatchNo', 'u1.FBatchNo', ''),
    ('FReqBillNo_16', 702, 1001906, 'FQty', 'u1.FQty', ''),
    ('FReqBillNo_16', 702, 1001906, 'FVendorID', 'v1.FSupplyID', ''),
    ('FReqBillNo_19', 701, 1001906, 'FReqBillNo', 'v1.FBillNo', ''),
    ('FReqBillNo_19', 701, 1001906, 'FReqBillID', 'v1.FInterID', ''),
    ('FReqBillNo_19', 701, 1001906, 'FWorkShopID', 'v1.FWorkShopID', ''),
    ('FReqBillNo_19', 701, 1001906, 'FItemID', 'u1.FItemID', ''),
    ('FReqBillNo_19', 701, 1001906, 'FBatchNo', 'u1.FBatchNo', ''),
    ('FReqBillNo_19', 701, 1001906, 'FQty', 'u1.FQty', ''),
    ('FReqBillNo_21', 705, 1001906, 'FReqBillNo', 'v1.FBillNo', ''),
    ('FReqBillNo_21', 705, 1001906, 'FReqBillID', 'v1.FInterID', ''),
    ('FReqBillNo_21', 705, 1001906, 'FItemID', 'u1.FItemID', ''),
    ('FReqBillNo_21', 705, 1001906, 'FBatchNo', 'u1.FBatchNo', ''),
    ('FReqBillNo_21', 705, 1001906, 'FQty', 'u1.FQty', ''),
    ('FReqBillNo_22', 704, 1001906, 'FReqBillNo', 'v1.FBillNo', ''),
    ('FReqBillNo_22', 704, 1001906, 'FReqBillID', 'v1.FInterID', ''),
    ('FReqBillNo_22', 704, 1001906, 'FItemID', 'u1.FItemID', ''),
    ('FReqBillNo_22', 704, 1001906, 'FBatchNo', 'u1.FBatchNo', ''),
    ('FReqBillNo_22', 704, 1001906, 'FQty', 'u1.FQty', ''),
    ('FManTaskNo', 36, 1001906, 'FManTaskNo', 'v1.FBillNo', ''),
    ('FManTaskNo', 36, 1001906, 'FManTaskID', 'v1.FInterID', ''),
    ('FManTaskNo', 36, 1001906, 'FWorkShopID', 'v1.FWorkShop', ''),
    ('FManTaskNo', 36, 1001906, 'FItemID', 'v1.FItemID', ''),
    ('FManTaskNo', 36, 1001906, 'FQty', 'v1.FQty', ''),
    ('FWorkOrderNo', 601, 1001906, 'FWorkOrderNo', 'u1.FWorkBillNO', 'u1.FWBInterID'),
    ('FWorkOrderNo', 601, 1001906, 'FWorkOrderID', 'u1.FWBInterID', 'u1.FWBInterID'),
    ('FWorkOrderNo', 601, 1001906, 'FManTaskID', 'v1.FICMOInterID', 'u1.FWBInterID'),
    ('FWorkOrderNo', 601, 1001906, 'FManTaskNo',
     '(SELECT t3.FBillNo FROM ICMO t3 WHERE t3.FInterID = v1.FICMOInterID)', 'u1.FWBInterID'),
    ('FWorkOrderNo', 601, 1001906, 'FItemID',
     '(SELECT t3.FItemID FROM ICMO t3 WHERE t3.FInterID = v1.FICMOInterID)', 'u1.FWBInterID'),
    ('FWorkOrderNo', 601, 1001906, 'FWorkProcID', 'u1.FOperID', 'u1.FWBInterID'),
    ('FWorkOrderNo', 601, 1001906, 'FWorkCenterID', 'u1.FWorkCenterID', 'u1.FWBInterID'),
    ('FWorkOrderNo', 601, 1001906, 'FVendorID', 'u1.FSupplyID', 'u1.FWBInterID');
