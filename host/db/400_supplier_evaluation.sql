-- Supplier evaluation. A project (class type 1001901) lists the evaluation items, each with its
-- weight in percent and its share of the total mark, and carries the total and pass marks; an
-- evaluation (class type 1001905) scores one supplier, optionally for one item, over a period,
-- against a project whose items it takes through the class link. The evaluation items are
-- quality auxiliary data of class 1001320; "002" is the supply quality, which the evaluation
-- scores from the purchase receipts of the period.

INSERT INTO QMAInfo (FID, FNumber, FName, FClassTypeID) VALUES
    (60, '001', '质量体系', 1001320),
    (61, '002', '供货质量', 1001320),
    (62, '003', '交货及时率', 1001320),
    (63, '004', '价格水平', 1001320),
    (64, '005', '服务配合', 1001320);

-- The marks a new project starts from, and whether an evaluation is made per item ("1") or for
-- the supplier as a whole ("0").
INSERT INTO t_SystemProfile (FCategory, FKey, FValue) VALUES
    ('IC', 'TotalEvaluateMark', '100'),
    ('IC', 'PassEvaluateMark', '60'),
    ('IC', 'IsAimAtICItem', '0');

CREATE TABLE QMEvaProj (
    FID         INTEGER PRIMARY KEY,
    FProjID     TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FProjName   TEXT COLLATE tsql_ci DEFAULT '',
    FDate       DATETIME,
    FTotalMark  NUMERIC,
    FPassMark   NUMERIC,
    FCheckerID  INTEGER DEFAULT 0,
    FNote       TEXT COLLATE tsql_ci DEFAULT ''
);
CREATE UNIQUE INDEX QMEvaProj_FProjID ON QMEvaProj (FProjID) WHERE FProjID <> '';

CREATE TABLE QMEvaProjEntry (
    FID           INTEGER NOT NULL,
    FEntryID      INTEGER NOT NULL,
    FEvaItemNo    INTEGER DEFAULT 0,
    FEvaItemName  TEXT COLLATE tsql_ci DEFAULT '',
    FPercent      NUMERIC,
    FProjS        NUMERIC,
    PRIMARY KEY (FID, FEntryID)
);

CREATE TABLE QMSupplierEva (
    FID           INTEGER PRIMARY KEY,
    FBillID       TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate         DATETIME,
    FProjID       TEXT COLLATE tsql_ci DEFAULT '',
    FSupID        INTEGER DEFAULT 0,
    FItemID       INTEGER DEFAULT 0,
    FBAssessDate  DATETIME,
    FEAssessDate  DATETIME,
    FPassMark     NUMERIC,
    FScore        NUMERIC,
    FEvaResult    INTEGER DEFAULT 0,
    FCheckerID    INTEGER DEFAULT 0,
    FNote         TEXT COLLATE tsql_ci DEFAULT ''
);
CREATE UNIQUE INDEX QMSupplierEva_FBillID ON QMSupplierEva (FBillID) WHERE FBillID <> '';

CREATE TABLE QMSupplierEvaEntry (
    FID         INTEGER NOT NULL,
    FEntryID    INTEGER NOT NULL,
    FEvaItemNo  INTEGER DEFAULT 0,
    FProjS      NUMERIC,
    FGrade      NUMERIC,
    FNote       TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix)
VALUES
    (1001901, '供应商评估方案', 'Supplier evaluation project', 'QMEvaProj', 4010, 1001901,
     'VelaQMBillEvent.EvaProjExt', 0, 'PJ'),
    (1001905, '供应商评估', 'Supplier evaluation', 'QMSupplierEva', 4010, 1001905,
     'VelaQMBillEvent.SupplierEvaExt', 0, 'PG');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001901, 1, 'QMEvaProj', 0),
    (1001901, 2, 'QMEvaProjEntry', 1),
    (1001905, 1, 'QMSupplierEva', 0),
    (1001905, 2, 'QMSupplierEvaEntry', 1);

-- The project's item column FEvaItemNo47848 is the item's name as typed beside it. The
-- evaluation's project is a source-bill lookup (type 100): what is typed reaches the plug-in,
-- which checks it; its one item column shows the item's name, which tells the supply-quality row.
INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FLookupClassID,
                              FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, FFilter,
                              FEnabled)
VALUES
    (1001901, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, 0, '', '', '', '', '', 0),
    (1001901, 'FProjID', 'FProjID', 1, 1, '方案编号', 'Project number', 200, 'BILLNO', 0, 0, '',
     '', '', '', '', 1),
    (1001901, 'FProjName', 'FProjName', 1, 2, '方案名称', 'Project name', 200, '', 0, 0, '', '',
     '', '', '', 1),
    (1001901, 'FDate', 'FDate', 1, 3, '日期', 'Date', 135, '', 0, 0, '', '', '', '', '', 1),
    (1001901, 'FTotalMark', 'FTotalMark', 1, 4, '总分', 'Total mark', 131, '', 0, 0, '', '', '',
     '', '', 1),
    (1001901, 'FPassMark', 'FPassMark', 1, 5, '合格分', 'Pass mark', 131, '', 0, 0, '', '', '',
     '', '', 1),
    (1001901, 'FCheckerID', 'FCheckerID', 1, 6, '审核人', 'Checker', 3, '', 1, 0, 't_User',
     'FUserID', 'FName', 'FUserID', '', 0),
    (1001901, 'FNote', 'FNote', 1, 7, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 1),
    (1001901, 'FEvaItemNo', 'FEvaItemNo', 2, 1, '评估项目', 'Evaluation item', 3, '', 1, 0,
     'QMAInfo', 'FID', 'FName', 'FNumber', 'FClassTypeID=1001320', 1),
    (1001901, 'FEvaItemNo47848', 'FEvaItemName', 2, 2, '项目说明', 'Item description', 200, '',
     0, 0, '', '', '', '', '', 1),
    (1001901, 'FPercent', 'FPercent', 2, 3, '权重(%)', 'Weight (%)', 131, '', 0, 0, '', '', '',
     '', '', 1),
    (1001901, 'FProjS', 'FProjS', 2, 4, '分值', 'Points', 131, '', 0, 0, '', '', '', '', '', 0),
    (1001905, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, 0, '', '', '', '', '', 0),
    (1001905, 'FBillID', 'FBillID', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 0, 0, '', '',
     '', '', '', 1),
    (1001905, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 0, 0, '', '', '', '', '', 1),
    (1001905, 'FProjID', 'FProjID', 1, 3, '评估方案', 'Evaluation project', 200, '', 100,
     1001901, 'QMEvaProj', 'FProjID', 'FProjName', 'FProjID', '', 1),
    (1001905, 'FSupID', 'FSupID', 1, 4, '供应商', 'Supplier', 3, '', 1, 0, 't_Supplier',
     'FItemID', 'FName', 'FNumber', '', 1),
    (1001905, 'FItemID', 'FItemID', 1, 5, '物料', 'Item', 3, '', 1, 0, 't_ICItem', 'FItemID',
     'FName', 'FNumber', '', 1),
    (1001905, 'FBAssessDate', 'FBAssessDate', 1, 6, '考核开始日期', 'Period start', 135, '', 0,
     0, '', '', '', '', '', 1),
    (1001905, 'FEAssessDate', 'FEAssessDate', 1, 7, '考核结束日期', 'Period end', 135, '', 0, 0,
     '', '', '', '', '', 1),
    (1001905, 'FPassMark', 'FPassMark', 1, 8, '合格分', 'Pass mark', 131, '', 0, 0, '', '', '',
     '', '', 0),
    (1001905, 'FScore', 'FScore', 1, 9, '评估得分', 'Score', 131, '', 0, 0, '', '', '', '', '',
     0),
    (1001905, 'FEvaResult', 'FEvaResult', 1, 10, '评估结果', 'Result', 3, '', 1, 0, 'QMAInfo',
     'FID', 'FName', 'FNumber', 'FClassTypeID=1001314', 0),
    (1001905, 'FCheckerID', 'FCheckerID', 1, 11, '审核人', 'Checker', 3, '', 1, 0, 't_User',
     'FUserID', 'FName', 'FUserID', '', 0),
    (1001905, 'FNote', 'FNote', 1, 12, '备注', 'Note', 200, '', 0, 0, '', '', '', '', '', 1),
    (1001905, 'FEvaItemNo39765', 'FEvaItemNo', 2, 1, '评估项目', 'Evaluation item', 3, '', 1, 0,
     'QMAInfo', 'FID', 'FName', 'FNumber', 'FClassTypeID=1001320', 0),
    (1001905, 'FProjS', 'FProjS', 2, 2, '分值', 'Points', 131, '', 0, 0, '', '', '', '', '', 0),
    (1001905, 'FGrade', 'FGrade', 2, 3, '得分', 'Grade', 131, '', 0, 0, '', '', '', '', '', 1),
    (1001905, 'FEntryNote', 'FNote', 2, 4, '说明', 'Note', 200, '', 0, 0, '', '', '', '', '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES
    (1001901, 1001901, '供应商评估方案'),
    (1001905, 1001905, '供应商评估');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable) VALUES
    (1001901, '供应商评估方案', 'QMEvaProj', 'QMEvaProjEntry'),
    (1001905, '供应商评估', 'QMSupplierEva', 'QMSupplierEvaEntry');

INSERT INTO ICClassMutex (FClassTypeID, FOpareteType, FSubSysID, FNumber) VALUES
    (1001901, 3, 19, 1001901),
    (1001901, 4, 19, 1001901),
    (1001905, 3, 19, 1001905),
    (1001905, 4, 19, 1001905);

-- An evaluation takes its project's number, pass mark and items with their points.
INSERT INTO ICClassLink (FLinkKey, FSourceClassID, FDestClassTypeID, FDestKey, FSourceExpr,
                         FKeyExpr) VALUES
    ('FProjID', 1001901, 1001905, 'FProjID', 'v1.FProjID', ''),
    ('FProjID', 1001901, 1001905, 'FPassMark', 'v1.FPassMark', ''),
    ('FProjID', 1001901, 1001905, 'FEvaItemNo39765', 'u1.FEvaItemNo', ''),
    ('FProjID', 1001901, 1001905, 'FProjS', 'u1.FProjS', '');

-- Two projects: the yearly evaluation of raw-material suppliers (audited) and one of packaging
-- suppliers whose three weights add up to 100 only in exact decimals.
INSERT INTO QMEvaProj (FID, FProjID, FProjName, FDate, FTotalMark, FPassMark, FCheckerID) VALUES
    (1, 'PJ-001', '原料供应商年度评估', '2026-01-05 00:00:00', 100, 60, 16394),
    (2, 'PJ-002', '包材供应商评估', '2026-01-05 00:00:00', 100, 70, 0);
INSERT INTO QMEvaProjEntry (FID, FEntryID, FEvaItemNo, FEvaItemName, FPercent, FProjS) VALUES
    (1, 1, 60, '', 20, 20),
    (1, 2, 61, '', 40, 40),
    (1, 3, 62, '', 20, 20),
    (1, 4, 63, '', 10, 10),
    (1, 5, 64, '', 10, 10),
    (2, 1, 61, '', 33.3, 33.3),
    (2, 2, 62, '', 33.3, 33.3),
    (2, 3, 64, '', 33.4, 33.4);
