-- Check item (class type 1001903): a master record on a menu-bar form over QMCheckItem (seeded
-- with the inspection schemes). The analysis method is a plain numeric field: its rule in the
-- plug-in sets the decimal places of the item's quantities.

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix)
VALUES (1001903, '检验项目', 'Check item', 'QMCheckItem', 4010, 1001903,
        'VelaQMBillEvent.CCheckItem', 1, 'JC');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType)
VALUES (1001903, 1, 'QMCheckItem', 0);

-- The item's number is the record's number, by which scenarios open it: one item per number.
CREATE UNIQUE INDEX QMCheckItem_FNumber ON QMCheckItem (FNumber) WHERE FNumber <> '';

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FSRCTableName,
                              FSRCFieldName, FDSPFieldName, FFNDFieldName, FEnabled)
VALUES
    (1001903, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, '', '', '', '', 0),
    (1001903, 'FNumber', 'FNumber', 1, 1, '代码', 'Number', 200, 'BILLNO', 0, '', '', '', '', 1),
    (1001903, 'FParentNumber', 'FParentNumber', 1, 2, '上级组', 'Parent group', 200, '', 0, '',
     '', '', '', 1),
    (1001903, 'FName', 'FName', 1, 3, '名称', 'Name', 200, '', 0, '', '', '', '', 1),
    (1001903, 'FAnalysisMethodID', 'FAnalysisMethodID', 1, 4, '分析方法', 'Analysis method', 3,
     '', 0, '', '', '', '', 1),
    (1001903, 'FQtyDecimal', 'FQtyDecimal', 1, 5, '数量精度', 'Quantity decimals', 2, '', 0, '',
     '', '', '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (1001903, 1001903, '检验项目');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable)
VALUES (1001903, '检验项目', 'QMCheckItem', NULL);

-- The check items of the physical tests form a group of their own.
UPDATE QMCheckItem SET FParentNumber = 'JC' WHERE FID IN (3, 4, 5);
