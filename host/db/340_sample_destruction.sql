-- Sample destruction record (class type 1001911): retained samples of a sampling record that
-- were destroyed, one sample per row.

CREATE TABLE QMSampleDestroy (
    FID         INTEGER PRIMARY KEY,
    FBillNo     TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate       DATETIME,
    FCheckerID  INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX QMSampleDestroy_FBillNo ON QMSampleDestroy (FBillNo) WHERE FBillNo <> '';

CREATE TABLE QMSampleDestroyentry (
    FID        INTEGER NOT NULL,
    FEntryID   INTEGER NOT NULL,
    FSampleNO  TEXT COLLATE tsql_ci DEFAULT '',
    PRIMARY KEY (FID, FEntryID)
);

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID,
                         FBillNoPrefix) VALUES
    (1001911, '样品销毁记录', 'Sample destruction record', 'QMSampleDestroy', 4010, 1001911, 'XH');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001911, 1, 'QMSampleDestroy', 0),
    (1001911, 2, 'QMSampleDestroyentry', 1);

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FEnabled)
VALUES
    (1001911, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0),
    (1001911, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 1),
    (1001911, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 1),
    (1001911, 'FCheckerID', 'FCheckerID', 1, 3, '审核人', 'Checker', 3, '', 0),
    (1001911, 'FSampleNO', 'FSampleNO', 2, 1, '样品编号', 'Sample number', 200, '', 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES
    (1001911, 1001911, '样品销毁记录');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable) VALUES
    (1001911, '样品销毁记录', 'QMSampleDestroy', 'QMSampleDestroyentry');
