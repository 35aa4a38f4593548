-- Item supply (class type 1001908): the suppliers an item is bought from, each with its share of
-- the orders, the check mode of its deliveries and the inspection scheme they are checked by.
-- The head's internal ID is shown under the key FInterID; FSupplyID54072 is the supplier's name
-- beside its lookup.

-- Check modes; 352 is the mode without an inspection scheme.
CREATE TABLE t_CheckMode (
    FInterID  INTEGER PRIMARY KEY,
    FNumber   TEXT COLLATE tsql_ci NOT NULL,
    FName     TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO t_CheckMode (FInterID, FNumber, FName) VALUES
    (351, 'JY01', '全检'),
    (352, 'JY02', '免检'),
    (353, 'JY03', '抽检');

CREATE TABLE QMItemSupplyInfo (
    FID         INTEGER PRIMARY KEY,
    FItemID     INTEGER DEFAULT 0,
    FCheckerID  INTEGER DEFAULT 0,
    FNote       TEXT COLLATE tsql_ci DEFAULT ''
);

CREATE TABLE QMItemSupplyInfoEntry (
    FID             INTEGER NOT NULL,
    FEntryID        INTEGER NOT NULL,
    FSupplyID       INTEGER DEFAULT 0,
    FSupplyID54072  TEXT COLLATE tsql_ci DEFAULT '',
    FOrderPercent   NUMERIC DEFAULT 0,
    FCheckMode      INTEGER DEFAULT 0,
    FProjectID      INTEGER DEFAULT 0,
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind)
VALUES (1001908, '物料来源关系', 'Item supply', 'QMItemSupplyInfo', 4010, 1001908,
        'VelaQMBillEvent.cItemSupply', 0);

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001908, 1, 'QMItemSupplyInfo', 0),
    (1001908, 2, 'QMItemSupplyInfoEntry', 1);

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FLookupClassID,
                              FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, FFilter,
                              FEnabled)
VALUES
    (1001908, 'FInterID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, 0, '', '', '', '', '', 0),
    (1001908, 'FItemID', 'FItemID', 1, 1, '物料', 'Item', 3, '', 1, 0, 't_ICItem', 'FItemID',
     'FName', 'FNumber', '', 1),
    (1001908, 'FNote', 'FNote', 1, 2, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 1),
    (1001908, 'FCheckerID', 'FCheckerID', 1, 3, '审核人', 'Checker', 3, '', 1, 0, 't_User',
     'FUserID', 'FName', 'FUserID', '', 0),
    (1001908, 'FSupplyID', 'FSupplyID', 2, 1, '供应商', 'Supplier', 3, '', 1, 0, 't_Supplier',
     'FItemID', 'FName', 'FNumber', '', 1),
    (1001908, 'FSupplyID54072', 'FSupplyID54072', 2, 2, '供应商名称', 'Supplier name', 200, '', 0,
     0, '', '', '', '', '', 1),
    (1001908, 'FOrderPercent', 'FOrderPercent', 2, 3, '订货比例(%)', 'Order share (%)', 131, '',
     0, 0, '', '', '', '', '', 1),
    (1001908, 'FCheckMode', 'FCheckMode', 2, 4, '检验方式', 'Check mode', 3, '', 1, 0,
     't_CheckMode', 'FInterID', 'FName', 'FNumber', '', 1),
    (1001908, 'FProjectID', 'FProjectID', 2, 5, '检验方案代码', 'Inspection scheme', 3, '', 1, 0,
     'icqcscheme', 'FInterID', 'FBillNo', 'FBillNo', '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (1001908, 1001908, '物料来源关系');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable)
VALUES (1001908, '物料来源关系', 'QMItemSupplyInfo', 'QMItemSupplyInfoEntry');
