-- Quality standard (class type 1001902): the acceptance values of an item's check items, taken
-- from an inspection scheme (class type 45) whose number the head keeps as text. Each entry row
-- is one check item with its analysis method, its unit (0 when it has none) and the eight value
-- columns: a target quantity with its limits, a target with its limits, and two tolerances.

CREATE TABLE QMQualityStandard (
    FID          INTEGER PRIMARY KEY,
    FBillNo      TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate        DATETIME,
    FItemID      INTEGER DEFAULT 0,
    FQCSchemeNo  TEXT COLLATE tsql_ci DEFAULT '',
    FCheckerID   INTEGER DEFAULT 0,
    FNote        TEXT COLLATE tsql_ci DEFAULT ''
);
CREATE UNIQUE INDEX QMQualityStandard_FBillNo ON QMQualityStandard (FBillNo) WHERE FBillNo <> '';

CREATE TABLE QMQualityStandardEntry (
    FID                INTEGER NOT NULL,
    FEntryID           INTEGER NOT NULL,
    FQCItemID          INTEGER,
    FAnalysisMethodID  INTEGER,
    FBaseProperty      INTEGER DEFAULT 0,
    FUnitID            INTEGER DEFAULT 0,
    FTargetQty         NUMERIC,
    FLowerLimitQty     NUMERIC,
    FUpperLimitQty     NUMERIC,
    FTarget            TEXT COLLATE tsql_ci DEFAULT '',
    FLowerLimit        TEXT COLLATE tsql_ci DEFAULT '',
    FUpperLimit        TEXT COLLATE tsql_ci DEFAULT '',
    FLowerTolerance    NUMERIC,
    FUpperTolerance    NUMERIC,
    FNote              TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix)
VALUES (1001902, '质量标准', 'Quality standard', 'QMQualityStandard', 4010, 1001902,
        'VelaQMBillEvent.QualityStandard', 0, 'ZB');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001902, 1, 'QMQualityStandard', 0),
    (1001902, 2, 'QMQualityStandardEntry', 1);

-- The scheme number is a source-bill lookup into the schemes (lookup type 100): whatever is
-- typed reaches the plug-in, which checks it.
INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FLookupClassID,
                              FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, FFilter,
                              FEnabled)
VALUES
    (1001902, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, 0, '', '', '', '', '', 0),
    (1001902, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 0, 0, '', '',
     '', '', '', 1),
    (1001902, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 0, 0, '', '', '', '', '', 1),
    (1001902, 'FItemID', 'FItemID', 1, 3, '物料', 'Item', 3, '', 1, 0, 't_ICItem', 'FItemID',
     'FName', 'FNumber', '', 1),
    (1001902, 'FQCSchemeNo', 'FQCSchemeNo', 1, 4, '质检方案', 'Inspection scheme', 200, '', 100,
     45, 'icqcscheme', 'FInterID', 'FBillNo', 'FBillNo', '', 1),
    (1001902, 'FNote', 'FNote', 1, 5, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 1),
    (1001902, 'FCheckerID', 'FCheckerID', 1, 6, '审核人', 'Checker', 3, '', 1, 0, 't_User',
     'FUserID', 'FName', 'FUserID', '', 0),
    (1001902, 'FQCItemID', 'FQCItemID', 2, 1, '检验项目', 'Check item', 3, '', 1, 0,
     'QMCheckItem', 'FID', 'FName', 'FNumber', '', 1),
    (1001902, 'FAnalysisMethodID', 'FAnalysisMethodID', 2, 2, '分析方法', 'Analysis method', 3,
     '', 1, 0, 'QMAnalysisMethod', 'FID', 'FName', 'FNumber', '', 1),
    (1001902, 'FBaseProperty', 'FBaseProperty', 2, 3, '精度', 'Decimals', 3, '', 0, 0, '', '',
     '', '', '', 1),
    (1001902, 'FUnitID', 'FUnitID', 2, 4, '计量单位', 'Unit', 3, '', 1, 0, 't_MeasureUnit',
     'FItemID', 'FName', 'FNumber', '', 1),
    (1001902, 'FTargetQty', 'FTargetQty', 2, 5, '目标值', 'Target quantity', 131, '', 0, 0, '', '',
     '', '', '', 1),
    (1001902, 'FLowerLimitQty', 'FLowerLimitQty', 2, 6, '下限值', 'Lower limit quantity', 131, '',
     0, 0, '', '', '', '', '', 1),
    (1001902, 'FUpperLimitQty', 'FUpperLimitQty', 2, 7, '上限值', 'Upper limit quantity', 131, '',
     0, 0, '', '', '', '', '', 1),
    (1001902, 'FTarget', 'FTarget', 2, 8, '标准', 'Target', 200, '', 0, 0, '', '', '', '', '', 1),
    (1001902, 'FLowerLimit', 'FLowerLimit', 2, 9, '下限', 'Lower limit', 200, '', 0, 0, '', '', '',
     '', '', 1),
    (1001902, 'FUpperLimit', 'FUpperLimit', 2, 10, '上限', 'Upper limit', 200, '', 0, 0, '', '', '',
     '', '', 1),
    (1001902, 'FLowerTolerance', 'FLowerTolerance', 2, 11, '下偏差', 'Lower tolerance', 131, '', 0,
     0, '', '', '', '', '', 1),
    (1001902, 'FUpperTolerance', 'FUpperTolerance', 2, 12, '上偏差', 'Upper tolerance', 131, '', 0,
     0, '', '', '', '', '', 1),
    (1001902, 'FEntryNote', 'FNote', 2, 13, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (1001902, 1001902, '质量标准');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable)
VALUES (1001902, '质量标准', 'QMQualityStandard', 'QMQualityStandardEntry');

INSERT INTO ICClassMutex (FClassTypeID, FOpareteType, FSubSysID, FNumber) VALUES
    (1001902, 3, 19, 1001902),
    (1001902, 4, 19, 1001902);

-- A quality standard is filled from a scheme: its number, and one row per check item.
INSERT INTO ICClassLink (FLinkKey, FSourceClassID, FDestClassTypeID, FDestKey, FSourceExpr,
                         FKeyExpr) VALUES
    ('FQCSchemeNo', 45, 1001902, 'FQCSchemeNo', 'v1.FBillNo', ''),
    ('FQCSchemeNo', 45, 1001902, 'FQCItemID', 'u1.FQCItemID', ''),
    ('FQCSchemeNo', 45, 1001902, 'FAnalysisMethodID', 'u1.FAnalysisMethodID', ''),
    ('FQCSchemeNo', 45, 1001902, 'FBaseProperty', 'u1.FBaseProperty', ''),
    ('FQCSchemeNo', 45, 1001902, 'FUnitID', 'u1.FUnitID', ''),
    ('FQCSchemeNo', 45, 1001902, 'FTargetQty', 'u1.FTargetQty', ''),
    ('FQCSchemeNo', 45, 1001902, 'FLowerLimitQty', 'u1.FLowerLimitQty', ''),
    ('FQCSchemeNo', 45, 1001902, 'FUpperLimitQty', 'u1.FUpperLimitQty', ''),
    ('FQCSchemeNo', 45, 1001902, 'FTarget', 'u1.FTarget', ''),
    ('FQCSchemeNo', 45, 1001902, 'FLowerLimit', 'u1.FLowerLimit', ''),
    ('FQCSchemeNo', 45, 1001902, 'FUpperLimit', 'u1.FUpperLimit', ''),
    ('FQCSchemeNo', 45, 1001902, 'FLowerTolerance', 'u1.FLowerTolerance', ''),
    ('FQCSchemeNo', 45, 1001902, 'FUpperTolerance', 'u1.FUpperTolerance', '');
