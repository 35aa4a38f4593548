-- Item grade (class type 1001904): the grades in which a main item occurs. Type 0 grades by
-- separate grade products (each row another item with its unit and grade); any other type
-- grades within the item itself. FItemIDE56435 and FItemIDE56467 are the grade product's name
-- and model beside its lookup; FParentID is the group the record is filed under.

CREATE TABLE QMItemGrade (
    FID         INTEGER PRIMARY KEY,
    FItemID     INTEGER DEFAULT 0,
    FType       INTEGER DEFAULT 0,
    FGrade      TEXT COLLATE tsql_ci DEFAULT '',
    FParentID   INTEGER DEFAULT 0,
    FCheckerID  INTEGER DEFAULT 0
);

CREATE TABLE QMItemGradeEntry (
    FID            INTEGER NOT NULL,
    FEntryID       INTEGER NOT NULL,
    FItemIDE       INTEGER DEFAULT 0,
    FItemIDE56435  TEXT COLLATE tsql_ci DEFAULT '',
    FItemIDE56467  TEXT COLLATE tsql_ci DEFAULT '',
    FUnitIDE       INTEGER DEFAULT 0,
    FGradeE        TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind)
VALUES (1001904, '等级品', 'Item grade', 'QMItemGrade', 4010, 1001904,
        'VelaQMBillEvent.CItemGrade', 0);

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001904, 1, 'QMItemGrade', 0),
    (1001904, 2, 'QMItemGradeEntry', 1);

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FLookupClassID,
                              FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, FFilter,
                              FEnabled)
VALUES
    (1001904, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, 0, '', '', '', '', '', 0),
    (1001904, 'FItemID', 'FItemID', 1, 1, '主物料', 'Main item', 3, '', 1, 0, 't_ICItem',
     'FItemID', 'FName', 'FNumber', '', 1),
    (1001904, 'FType', 'FType', 1, 2, '分级方式', 'Grading type', 3, '', 0, 0, '', '', '', '', '',
     1),
    (1001904, 'FGrade', 'FGrade', 1, 3, '等级', 'Grade', 200, '', 0, 0, '', '', '', '', '', 1),
    (1001904, 'FParentID', 'FParentID', 1, 4, '上级组', 'Parent group', 3, '', 0, 0, '', '', '',
     '', '', 1),
    (1001904, 'FCheckerID', 'FCheckerID', 1, 5, '审核人', 'Checker', 3, '', 1, 0, 't_User',
     'FUserID', 'FName', 'FUserID', '', 0),
    (1001904, 'FItemIDE', 'FItemIDE', 2, 1, '等级品', 'Grade product', 3, '', 1, 0, 't_ICItem',
     'FItemID', 'FName', 'FNumber', '', 1),
    (1001904, 'FItemIDE56435', 'FItemIDE56435', 2, 2, '等级品名称', 'Grade product name', 200, '',
     0, 0, '', '', '', '', '', 1),
    (1001904, 'FItemIDE56467', 'FItemIDE56467', 2, 3, '规格型号', 'Model', 200, '', 0, 0, '', '',
     '', '', '', 1),
    (1001904, 'FUnitIDE', 'FUnitIDE', 2, 4, '计量单位', 'Unit', 3, '', 1, 0, 't_MeasureUnit',
     'FItemID', 'FName', 'FNumber', '', 1),
    (1001904, 'FGradeE', 'FGradeE', 2, 5, '等级', 'Grade', 200, '', 0, 0, '', '', '', '', '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (1001904, 1001904, '等级品');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable)
VALUES (1001904, '等级品', 'QMItemGrade', 'QMItemGradeEntry');
