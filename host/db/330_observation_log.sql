-- Retained-sample observation log (class type 1001907): observations made over time on one
-- sample kept back from a sampling record.

CREATE TABLE qmwatchlog (
    FID         INTEGER PRIMARY KEY,
    FBillNo     TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate       DATETIME,
    FSampleNo   TEXT COLLATE tsql_ci DEFAULT '',
    FCheckerID  INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX qmwatchlog_FBillNo ON qmwatchlog (FBillNo) WHERE FBillNo <> '';

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID,
                         FBillNoPrefix) VALUES
    (1001907, '留样观察记录', 'Retained-sample observation log', 'qmwatchlog', 4010, 1001907,
     'GC');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001907, 1, 'qmwatchlog', 0);

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FEnabled)
VALUES
    (1001907, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0),
    (1001907, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 1),
    (1001907, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 1),
    (1001907, 'FSampleNo', 'FSampleNo', 1, 3, '样品编号', 'Sample number', 200, '', 1),
    (1001907, 'FCheckerID', 'FCheckerID', 1, 4, '审核人', 'Checker', 3, '', 0);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES
    (1001907, 1001907, '留样观察记录');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable) VALUES
    (1001907, '留样观察记录', 'qmwatchlog', NULL);
