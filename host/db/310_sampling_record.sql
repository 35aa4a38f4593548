-- Sampling record (class type 1001906), bill and list: the head says what kind of sampling it is
-- (the sample type) and which source bill the samples come from; each entry row is one sample
-- with its number, storage deadline and, for process sampling, its process, work centre or
-- supplier. The list pushes a sample on to an observation log (1001907) or a destruction
-- record (1001911).

CREATE TABLE qmsampling (
    FID           INTEGER PRIMARY KEY,
    FBillNo       TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FClassTypeID  INTEGER DEFAULT 1001906,
    FSamplingDT   DATETIME,          -- the day the samples were taken
    FSampleType   INTEGER DEFAULT 0,
    FReqBillNo    TEXT COLLATE tsql_ci DEFAULT '',
    FReqBillID    INTEGER DEFAULT 0,
    FManTaskNo    TEXT COLLATE tsql_ci DEFAULT '',
    FManTaskID    INTEGER DEFAULT 0,
    FWorkOrderNo  TEXT COLLATE tsql_ci DEFAULT '',
    FWorkOrderID  INTEGER DEFAULT 0,
    FWHID         INTEGER,
    FSPID         INTEGER,
    FWorkShopID   INTEGER,
    FNote         TEXT COLLATE tsql_ci DEFAULT '',
    FCheckerID    INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX qmsampling_FBillNo ON qmsampling (FBillNo) WHERE FBillNo <> '';

CREATE TABLE qmsamplingentry (
    FID            INTEGER NOT NULL,
    FEntryID       INTEGER NOT NULL,
    FSampleNO      TEXT COLLATE tsql_ci DEFAULT '',
    FItemID        INTEGER,
    FBatchNo       TEXT COLLATE tsql_ci DEFAULT '',
    FQty           NUMERIC,
    FSaveDT        DATETIME,
    FWorkProcID    INTEGER,
    FWorkCenterID  INTEGER,
    FVendorID      INTEGER,
    FDestoryFlag   INTEGER DEFAULT 0,
    FNote          TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix, FListPlugin, FPushClasses)
VALUES (1001906, '取样记录', 'Sampling record', 'qmsampling', 4010, 1001906,
        'VelaQMBillEvent.SamplingLogEvent', 0, 'QY', 1, '1001907,1001911');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001906, 1, 'qmsampling', 0),
    (1001906, 2, 'qmsamplingentry', 1);

-- The source-bill fields (lookup type 100) start as the purchase-receipt lookup of sample type
-- 16; the plug-in reconfigures them for the sample type chosen.
INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FLookupClassID,
                              FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, FFilter,
                              FEnabled)
VALUES
    (1001906, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, 0, '', '', '', '', '', 0),
    (1001906, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 0, 0, '', '',
     '', '', '', 1),
    (1001906, 'FSamplingDT', 'FSamplingDT', 1, 2, '取样日期', 'Sampling date', 135, '', 0, 0, '',
     '', '', '', '', 1),
    (1001906, 'FSampleType', 'FSampleType', 1, 3, '取样类型', 'Sample type', 3, '', 1, 0,
     'QMAInfo', 'FID', 'FName', 'FNumber', 'FClassTypeID=1001322', 1),
    (1001906, 'FReqBillNo', 'FReqBillNo', 1, 4, '源单编号', 'Source bill', 200, '', 100, 702,
     'POInStock', 'FInterID', 'FBillNo', 'FBillNo',
     'v1.FStatus in (1,2) AND v1.FBizType = 12510', 1),
    (1001906, 'FReqBillID', 'FReqBillID', 1, 5, '源单内码', 'Source bill ID', 3, '', 0, 0, '', '',
     '', '', '', 0),
    (1001906, 'FManTaskNo', 'FManTaskNo', 1, 6, '生产任务单', 'Production task', 200, '', 100,
     36, 'ICMO', 'FInterID', 'FBillNo', 'FBillNo', '', 0),
    (1001906, 'FManTaskID', 'FManTaskID', 1, 7, '生产任务单内码', 'Production task ID', 3, '', 0,
     0, '', '', '', '', '', 0),
    (1001906, 'FWorkOrderNo', 'FWorkOrderNo', 1, 8, '工序计划单', 'Work order', 200, '', 100,
     601, 'SHWorkBillEntry', 'FWBInterID', 'FWorkBillNO', 'u1.FWorkBillNO', '', 0),
    (1001906, 'FWorkOrderID', 'FWorkOrderID', 1, 9, '工序计划单内码', 'Work order ID', 3, '', 0,
     0, '', '', '', '', '', 0),
    (1001906, 'FWHID', 'FWHID', 1, 10, '仓库', 'Warehouse', 3, '', 1, 0, 't_Stock', 'FItemID',
     'FName', 'FNumber', '', 0),
    (1001906, 'FSPID', 'FSPID', 1, 11, '仓位', 'Stock place', 3, '', 1, 0, 't_StockPlace', 'FSPID',
     'FName', 'FNumber', '', 0),
    (1001906, 'FWorkShopID', 'FWorkShopID', 1, 12, '车间', 'Workshop', 3, '', 1, 0,
     't_Department', 'FItemID', 'FName', 'FNumber', '', 0),
    (1001906, 'FNote', 'FNote', 1, 13, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 1),
    (1001906, 'FCheckerID', 'FCheckerID', 1, 14, '审核人', 'Checker', 3, '', 1, 0, 't_User',
     'FUserID', 'FName', 'FUserID', '', 0),
    (1001906, 'FSampleNO', 'FSampleNO', 2, 1, '样品编号', 'Sample number', 200, '', 0, 0, '', '',
     '', '', '', 1),
    (1001906, 'FItemID', 'FItemID', 2, 2, '物料', 'Item', 3, '', 1, 0, 't_ICItem', 'FItemID',
     'FName', 'FNumber', '', 1),
    (1001906, 'FBatchNo', 'FBatchNo', 2, 3, '批号', 'Batch', 200, '', 0, 0, '', '', '', '', '', 1),
    (1001906, 'FQty', 'FQty', 2, 4, '取样数量', 'Sample quantity', 131, '', 0, 0, '', '', '', '',
     '', 1),
    (1001906, 'FSaveDT', 'FSaveDT', 2, 5, '保存期限', 'Keep until', 135, '', 0, 0, '', '', '', '',
     '', 1),
    (1001906, 'FWorkProcID', 'FWorkProcID', 2, 6, '工序', 'Process', 3, '', 1, 0, 't_Operation',
     'FInterID', 'FName', 'FNumber', '', 0),
    (1001906, 'FWorkCenterID', 'FWorkCenterID', 2, 7, '工作中心', 'Work centre', 3, '', 1, 0,
     't_WorkCenter', 'FInterID', 'FName', 'FNumber', '', 0),
    (1001906, 'FVendorID', 'FVendorID', 2, 8, '供应商', 'Supplier', 3, '', 1, 0, 't_Supplier',
     'FItemID', 'FName', 'FNumber', '', 1),
    (1001906, 'FDestoryFlag', 'FDestoryFlag', 2, 9, '已销毁', 'Destroyed', 3, '', 0, 0, '', '', '',
     '', '', 0),
    (1001906, 'FEntryNote', 'FNote', 2, 10, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (1001906, 1001906, '取样记录');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable)
VALUES (1001906, '取样记录', 'qmsampling', 'qmsamplingentry');

-- Deletion (3) and audit (4) from the list take the network task lock of function 1001906.
INSERT INTO ICClassMutex (FClassTypeID, FOpareteType, FSubSysID, FNumber) VALUES
    (1001906, 3, 19, 1001906),
    (1001906, 4, 19, 1001906);
