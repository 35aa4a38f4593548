-- Customer service log (class type 1001910): one head page.

CREATE TABLE QMClientServiceLog (
    FID         INTEGER PRIMARY KEY,
    FBillNo     TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FCheckerID  INTEGER DEFAULT 0,
    FDate       DATETIME,
    FCustomer   TEXT COLLATE tsql_ci DEFAULT '',
    FContent    TEXT COLLATE tsql_ci DEFAULT ''
);
-- No two bills share a number; a bill saved without one is left alone.
CREATE UNIQUE INDEX QMClientServiceLog_FBillNo ON QMClientServiceLog (FBillNo) WHERE FBillNo <> '';

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix)
VALUES (1001910, '客户服务记录', 'Customer service log', 'QMClientServiceLog', 4010, 1001910,
        'VelaQMBillEvent.ClientServiceLog', 0, 'KF');

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType)
VALUES (1001910, 1, 'QMClientServiceLog', 0);

INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FSRCTableName,
                              FSRCFieldName, FDSPFieldName, FFNDFieldName, FEnabled)
VALUES
    (1001910, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, '', '', '', '', 0),
    (1001910, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 0, '', '', '', '', 1),
    (1001910, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 0, '', '', '', '', 1),
    (1001910, 'FCustomer', 'FCustomer', 1, 3, '客户', 'Customer', 200, '', 0, '', '', '', '', 1),
    (1001910, 'FContent', 'FContent', 1, 4, '服务内容', 'Service content', 200, '', 0, '', '', '', '', 1),
    (1001910, 'FCheckerID', 'FCheckerID', 1, 5, '审核人', 'Checker', 3, '', 1, 't_User', 'FUserID',
     'FName', 'FUserID', 0);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES (1001910, 1001910, '客户服务记录');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable)
VALUES (1001910, '客户服务记录', 'QMClientServiceLog', NULL);

-- Audit and deletion from the list take the network task lock of function 1001910.
INSERT INTO ICClassMutex (FClassTypeID, FOpareteType, FSubSysID, FNumber) VALUES
    (1001910, 3, 19, 1001910),
    (1001910, 4, 19, 1001910);
