-- Sampling standard (class type 1001900): a head page that chooses the sampling method (and, for
-- the table methods, inspection level, strictness and AQL), and an entry page of lot-size ranges
-- with their sample quantities and acceptance and rejection numbers.

CREATE TABLE QMSampStd (
    FID            INTEGER PRIMARY KEY,
    FBillNo        TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FName          TEXT COLLATE tsql_ci DEFAULT '',
    FDate          DATETIME,
    FSampMethodID  INTEGER DEFAULT 0,
    FQCLevelID     INTEGER DEFAULT 0,
    FYGDID         INTEGER DEFAULT 0,
    FAQLID         INTEGER DEFAULT 0,
    FNote          TEXT COLLATE tsql_ci DEFAULT '',
    FCheckerID     INTEGER DEFAULT 0
);
-- No two bills share a number; a bill saved without one is left alone.
CREATE UNIQUE INDEX QMSampStd_FBillNo ON QMSampStd (FBillNo) WHERE FBillNo <> '';

CREATE TABLE QMSampStdEntry (
    FID          INTEGER NOT NULL,
    FEntryID     INTEGER NOT NULL,
    FLotSize     NUMERIC,
    FSwatchCode  TEXT COLLATE tsql_ci DEFAULT '',
    FSampQty     INTEGER,
    FFormula     TEXT COLLATE tsql_ci DEFAULT '',
    FAcQty1      INTEGER,
    FReQty1      INTEGER,
    FAcQty2      INTEGER,
    FReQty2      INTEGER,
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix)
VALUES (1001900, '抽样标准', 'Sampling standard', 'QMSampStd', 4010, 1001900,
        'VelaQMBillEvent.SampleStandard', 0, 'CYBZ');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001900, 1, 'QMSampStd', 0),
    (1001900, 2, 'QMSampStdEntry', 1);

-- The four lookups read QMAInfo records of their own class type.
INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FSRCTableName,
                              FSRCFieldName, FDSPFieldName, FFNDFieldName, FFilter, FEnabled)
VALUES
    (1001900, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, '', '', '', '', '', 0),
    (1001900, 'FBillNo', 'FBillNo', 1, 1, '编号', 'Number', 200, 'BILLNO', 0, '', '', '', '', '', 1),
    (1001900, 'FName', 'FName', 1, 2, '名称', 'Name', 200, '', 0, '', '', '', '', '', 1),
    (1001900, 'FDate', 'FDate', 1, 3, '日期', 'Date', 135, '', 0, '', '', '', '', '', 1),
    (1001900, 'FSampMethodID', 'FSampMethodID', 1, 4, '抽样方式', 'Sampling method', 3, '', 1,
     'QMAInfo', 'FID', 'FName', 'FNumber', 'FClassTypeID=1001302', 1),
    (1001900, 'FQCLevelID', 'FQCLevelID', 1, 5, '检验水平', 'Inspection level', 3, '', 1,
     'QMAInfo', 'FID', 'FName', 'FNumber', 'FClassTypeID=1001304', 1),
    (1001900, 'FYGDID', 'FYGDID', 1, 6, '严格度', 'Strictness', 3, '', 1,
     'QMAInfo', 'FID', 'FName', 'FNumber', 'FClassTypeID=1001300', 1),
    (1001900, 'FAQLID', 'FAQLID', 1, 7, 'AQL', 'AQL', 3, '', 1,
     'QMAInfo', 'FID', 'FName', 'FNumber', 'FClassTypeID=1001303', 1),
    (1001900, 'FNote', 'FNote', 1, 8, '备注', 'Note', 200, '', 0, '', '', '', '', '', 1),
    (1001900, 'FCheckerID', 'FCheckerID', 1, 9, '审核人', 'Checker', 3, '', 1, 't_User',
     'FUserID', 'FName', 'FUserID', '', 0),
    (1001900, 'FLotSize', 'FLotSize', 2, 1, '批量', 'Lot size', 131, '', 0, '', '', '', '', '', 1),
    (1001900, 'FSwatchCode', 'FSwatchCode', 2, 2, '样本字码', 'Code letter', 200, '', 0, '', '',
     '', '', '', 1),
    (1001900, 'FSampQty', 'FSampQty', 2, 3, '样本数', 'Sample size', 3, '', 0, '', '', '', '', '',
     1),
    (1001900, 'FFormula', 'FFormula', 2, 4, '样本数公式', 'Sample size formula', 200, '', 0, '',
     '', '', '', '', 1),
    (1001900, 'FAcQty1', 'FAcQty1', 2, 5, '允收数', 'Acceptance number', 3, '', 0, '', '', '', '',
     '', 1),
    (1001900, 'FReQty1', 'FReQty1', 2, 6, '拒收数', 'Rejection number', 3, '', 0, '', '', '', '',
     '', 1),
    (1001900, 'FAcQty2', 'FAcQty2', 2, 7, '允收数2', 'Acceptance number 2', 3, '', 0, '', '', '',
     '', '', 1),
    (1001900, 'FReQty2', 'FReQty2', 2, 8, '拒收数2', 'Rejection number 2', 3, '', 0, '', '', '',
     '', '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (1001900, 1001900, '抽样标准');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable)
VALUES (1001900, '抽样标准', 'QMSampStd', 'QMSampStdEntry');
