-- Quality accident (class type 1001909): one head page. The routing and the work process are
-- lookups into the routings and the operations; the plug-in keeps the work process's lookup to
-- the operations of the chosen routing, through t_routingoper.

CREATE TABLE t_Routing (
    FInterID  INTEGER PRIMARY KEY,
    FNumber   TEXT COLLATE tsql_ci NOT NULL,
    FName     TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO t_Routing (FInterID, FNumber, FName) VALUES
    (11, 'GY01', '片剂工艺'),
    (12, 'GY02', '胶囊工艺');

-- Granulation and packing belong to both routings; tableting and capsule filling to one each.
INSERT INTO t_Operation (FInterID, FNumber, FName) VALUES
    (4, 'OP40', '胶囊填充');

CREATE TABLE t_routingoper (
    FInterID  INTEGER NOT NULL,
    FOperID   INTEGER NOT NULL,
    PRIMARY KEY (FInterID, FOperID)
);
INSERT INTO t_routingoper (FInterID, FOperID) VALUES
    (11, 1), (11, 2), (11, 3),
    (12, 1), (12, 4), (12, 3);

CREATE TABLE QMAccident (
    FID           INTEGER PRIMARY KEY,
    FBillNo       TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FCheckerID    INTEGER DEFAULT 0,
    FRoutingname  INTEGER,
    FWorkPrc      INTEGER,
    FDate         DATETIME,
    FNote         TEXT COLLATE tsql_ci DEFAULT ''
);
CREATE UNIQUE INDEX QMAccident_FBillNo ON QMAccident (FBillNo) WHERE FBillNo <> '';

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix)
VALUES (1001909, '质量事故', 'Quality accident', 'QMAccident', 4010, 1001909,
        'VelaQMBillEvent.QMAccident', 0, 'SG');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType)
VALUES (1001909, 1, 'QMAccident', 0);

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FSRCTableName,
                              FSRCFieldName, FDSPFieldName, FFNDFieldName, FEnabled)
VALUES
    (1001909, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, '', '', '', '', 0),
    (1001909, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 0, '', '', '', '', 1),
    (1001909, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 0, '', '', '', '', 1),
    (1001909, 'FRoutingname', 'FRoutingname', 1, 3, '工艺路线', 'Routing', 3, '', 1, 't_Routing',
     'FInterID', 'FName', 'FNumber', 1),
    (1001909, 'FWorkPrc', 'FWorkPrc', 1, 4, '工序', 'Work process', 3, '', 1, 't_Operation',
     'FInterID', 'FName', 'FNumber', 1),
    (1001909, 'FNote', 'FNote', 1, 5, '事故说明', 'Description', 200, '', 0, '', '', '', '', 1),
    (1001909, 'FCheckerID', 'FCheckerID', 1, 6, '审核人', 'Checker', 3, '', 1, 't_User', 'FUserID',
     'FName', 'FUserID', 0);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (1001909, 1001909, '质量事故');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable)
VALUES (1001909, '质量事故', 'QMAccident', NULL);

INSERT INTO ICClassMutex (FClassTypeID, FOpareteType, FSubSysID, FNumber) VALUES
    (1001909, 3, 19, 1001909),
    (1001909, 4, 19, 1001909);

-- A demo accident at tableting on the tablet routing, not yet audited.
INSERT INTO QMAccident (FID, FBillNo, FCheckerID, FRoutingname, FWorkPrc, FDate, FNote)
VALUES (1, 'SG000001', 0, 11, 2, '2009-10-12 00:00:00', '压片工序片重差异超限');
