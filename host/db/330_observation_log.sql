-- Retained-sample observation log (class type 1001907), bill and list: observations made over
-- time on one sample kept back from a sampling record. The head names the sample, the sampling
-- record and date it comes from, its item and the inspection scheme observed; each entry row is
-- one check item of the scheme with the value observed.

CREATE TABLE qmwatchlog (
    FID                INTEGER PRIMARY KEY,
    FBillNo            TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate              DATETIME,
    FSampleNo          TEXT COLLATE tsql_ci DEFAULT '',
    FSampleBillNo      TEXT COLLATE tsql_ci DEFAULT '',
    FSampleDate        DATETIME,
    FItemCode          INTEGER,            -- t_ICItem.FItemID
    FCheckProjectName  TEXT COLLATE tsql_ci DEFAULT '',  -- the scheme's number (FBillNo)
    FWatchDate         DATETIME,
    FNote              TEXT COLLATE tsql_ci DEFAULT '',
    FCheckerID         INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX qmwatchlog_FBillNo ON qmwatchlog (FBillNo) WHERE FBillNo <> '';

-- The observed value is kept as text, as a chosen grade (QMAInfo) or as a quantity; the limits
-- and target are the scheme row's own texts.
CREATE TABLE qmwatchlogentry (
    FID                INTEGER NOT NULL,
    FEntryID           INTEGER NOT NULL,
    FCheckItemID       INTEGER,
    FVatchValue        TEXT COLLATE tsql_ci DEFAULT '',
    FVatchValueID      INTEGER,
    FVatchValueQty     NUMERIC,
    FWatchResult       TEXT COLLATE tsql_ci DEFAULT '',
    FMemo1             TEXT COLLATE tsql_ci DEFAULT '',
    FAnalysisMethodID  INTEGER,
    FBaseProperty      INTEGER DEFAULT 0,
    FSpecLowerLimit    TEXT COLLATE tsql_ci DEFAULT '',
    FSpecUpperLimit    TEXT COLLATE tsql_ci DEFAULT '',
    FObjectValue       TEXT COLLATE tsql_ci DEFAULT '',
    FUserText1         TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix, FListPlugin)
VALUES (1001907, '留样观察记录', 'Retained-sample observation log', 'qmwatchlog', 4010, 1001907,
        'VelaQMBillEvent.WatchLogEvent', 0, 'GC', 1);

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001907, 1, 'qmwatchlog', 0),
    (1001907, 2, 'qmwatchlogentry', 1);

-- The sample and scheme numbers are source-bill fields (lookup type 100): the plug-in checks
-- what is typed and fills the bill from the sampling record or the scheme it names.
INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FLookupClassID,
                              FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, FFilter,
                              FUserDefine, FEnabled)
VALUES
    (1001907, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, 0, '', '', '', '', '', 0, 0),
    (1001907, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 0, 0, '', '',
     '', '', '', 0, 1),
    (1001907, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 0, 0, '', '', '', '', '', 0, 1),
    (1001907, 'FSampleNo', 'FSampleNo', 1, 3, '样品编号', 'Sample number', 200, '', 100, 1001906,
     'qmsamplingentry', 'FSampleNO', 'FSampleNO', 'FSampleNO', '', 0, 1),
    (1001907, 'FSampleBillNo', 'FSampleBillNo', 1, 4, '取样单号', 'Sampling record', 200, '', 0, 0,
     '', '', '', '', '', 0, 0),
    (1001907, 'FSampleDate', 'FSampleDate', 1, 5, '取样日期', 'Sampling date', 135, '', 0, 0, '',
     '', '', '', '', 0, 0),
    (1001907, 'FItemCode', 'FItemCode', 1, 6, '物料', 'Item', 3, '', 1, 0, 't_ICItem', 'FItemID',
     'FName', 'FNumber', '', 0, 0),
    (1001907, 'FCheckProjectName', 'FCheckProjectName', 1, 7, '检验方案', 'Inspection scheme', 200,
     '', 100, 45, 'icqcscheme', 'FBillNo', 'FSchemeName', 'FBillNo', '', 0, 1),
    (1001907, 'FWatchDate', 'FWatchDate', 1, 8, '观察日期', 'Observation date', 135, '', 0, 0, '',
     '', '', '', '', 0, 1),
    (1001907, 'FCheckerID', 'FCheckerID', 1, 9, '审核人', 'Checker', 3, '', 1, 0, 't_User',
     'FUserID', 'FName', 'FUserID', '', 0, 0),
    (1001907, 'FNote', 'FNote', 1, 10, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 0, 1),
    (1001907, 'FCheckItemID', 'FCheckItemID', 2, 1, '检验项目', 'Check item', 3, '', 1, 0,
     'QMCheckItem', 'FID', 'FName', 'FNumber', '', 0, 1),
    (1001907, 'FVatchValue', 'FVatchValue', 2, 2, '观察值', 'Observed value', 200, '', 0, 0, '',
     '', '', '', '', 0, 1),
    (1001907, 'FVatchValueID', 'FVatchValueID', 2, 3, '观察值(定性)', 'Observed grade', 3, '', 1,
     0, 'QMAInfo', 'FID', 'FName', 'FNumber', 'FClassTypeID=1001314', 0, 1),
    (1001907, 'FVatchValueQty', 'FVatchValueQty', 2, 4, '观察值(定量)', 'Observed quantity', 131,
     '', 0, 0, '', '', '', '', '', 0, 1),
    (1001907, 'FWatchResult', 'FWatchResult', 2, 5, '观察结果', 'Result', 200, '', 0, 0, '', '', '',
     '', '', 0, 1),
    (1001907, 'FMemo1', 'FMemo1', 2, 6, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 0, 1),
    (1001907, 'FAnalysisMethodID', 'FAnalysisMethodID', 2, 7, '分析方法', 'Analysis method', 3, '',
     1, 0, 'QMAnalysisMethod', 'FID', 'FName', 'FNumber', '', 0, 0),
    (1001907, 'FBaseProperty', 'FBaseProperty', 2, 8, '精度', 'Decimals', 3, '', 0, 0, '', '', '',
     '', '', 0, 0),
    (1001907, 'FSpecLowerLimit', 'FSpecLowerLimit', 2, 9, '下限', 'Lower limit', 200, '', 0, 0, '',
     '', '', '', '', 0, 0),
    (1001907, 'FSpecUpperLimit', 'FSpecUpperLimit', 2, 10, '上限', 'Upper limit', 200, '', 0, 0,
     '', '', '', '', '', 0, 0),
    (1001907, 'FObjectValue', 'FObjectValue', 2, 11, '目标值', 'Target', 200, '', 0, 0, '', '', '',
     '', '', 0, 0),
    (1001907, 'FUserText1', 'FUserText1', 2, 12, '自定义项1', 'User field 1', 200, '', 0, 0, '',
     '', '', '', '', 1, 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES
    (1001907, 1001907, '留样观察记录');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable) VALUES
    (1001907, '留样观察记录', 'qmwatchlog', 'qmwatchlogentry');

-- Deletion (3) and audit (4) from the list take the network task lock of function 1001907.
INSERT INTO ICClassMutex (FClassTypeID, FOpareteType, FSubSysID, FNumber) VALUES
    (1001907, 3, 19, 1001907),
    (1001907, 4, 19, 1001907);

-- A log is filled from the sample chosen in a sampling record (the head: sample, its record and
-- date, its item) and from an inspection scheme (its number and its check items with their
-- limits and target).
INSERT INTO ICClassLink (FLinkKey, FSourceClassID, FDestClassTypeID, FDestKey, FSourceExpr,
                         FKeyExpr) VALUES
    ('FSampleNo', 1001906, 1001907, 'FSampleNo', 'u1.FSampleNO', ''),
    ('FSampleNo', 1001906, 1001907, 'FItemCode', 'u1.FItemID', ''),
    ('FSampleNo', 1001906, 1001907, 'FSampleBillNo', 'v1.FBillNo', ''),
    ('FSampleNo', 1001906, 1001907, 'FSampleDate', 'v1.FSamplingDT', ''),
    ('FCheckProjectName', 45, 1001907, 'FCheckProjectName', 'v1.FBillNo', ''),
    ('FCheckProjectName', 45, 1001907, 'FCheckItemID', 'u1.FQCItemID', ''),
    ('FCheckProjectName', 45, 1001907, 'FAnalysisMethodID', 'u1.FAnalysisMethodID', ''),
    ('FCheckProjectName', 45, 1001907, 'FBaseProperty', 'u1.FBaseProperty', ''),
    ('FCheckProjectName', 45, 1001907, 'FSpecLowerLimit', 'u1.FLowerLimit', ''),
    ('FCheckProjectName', 45, 1001907, 'FSpecUpperLimit', 'u1.FUpperLimit', ''),
    ('FCheckProjectName', 45, 1001907, 'FObjectValue', 'u1.FTarget', '');
