-- Sample destruction record (class type 1001911), bill and list: retained samples of one audited
-- sampling record that were destroyed, one sample per row with the reason, who destroyed it,
-- when, and a note. The head names the sampling record by its number (FSampleNO) and its internal
-- ID (FSampleID); the rows are filled from that record's samples through the class link.

CREATE TABLE QMSampleDestroy (
    FID         INTEGER PRIMARY KEY,
    FBillNo     TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate       DATETIME,
    FSampleNO   TEXT COLLATE tsql_ci DEFAULT '',   -- the sampling record's bill number
    FSampleID   INTEGER DEFAULT 0,                 -- the sampling record's FID
    FNote       TEXT COLLATE tsql_ci DEFAULT '',
    FCheckerID  INTEGER DEFAULT 0
);
CREATE UNIQUE INDEX QMSampleDestroy_FBillNo ON QMSampleDestroy (FBillNo) WHERE FBillNo <> '';

CREATE TABLE QMSampleDestroyentry (
    FID           INTEGER NOT NULL,
    FEntryID      INTEGER NOT NULL,
    FSampleNO     TEXT COLLATE tsql_ci DEFAULT '',
    FReason       TEXT COLLATE tsql_ci DEFAULT '',
    FDestroyerID  INTEGER DEFAULT 0,
    FDestroyDate  DATETIME,
    FNote         TEXT COLLATE tsql_ci DEFAULT '',
    FWitness      TEXT COLLATE tsql_ci DEFAULT '',  -- a deployment's own column
    PRIMARY KEY (FID, FEntryID)
);

-- What the host's own services do when a destruction record takes effect, which the plug-in
-- never does: auditing a record marks its samples destroyed in their sampling record, and
-- un-auditing it unmarks them, unless another audited record names the same sample.
CREATE TRIGGER QMSampleDestroy_Audited
AFTER UPDATE OF FCheckerID ON QMSampleDestroy
WHEN IFNULL(NEW.FCheckerID, 0) > 0 AND IFNULL(OLD.FCheckerID, 0) <= 0
BEGIN
    UPDATE qmsamplingentry SET FDestoryFlag = 1
    WHERE FSampleNO IN (SELECT e.FSampleNO FROM QMSampleDestroyentry e WHERE e.FID = NEW.FID
                        AND e.FSampleNO <> '');
END;

CREATE TRIGGER QMSampleDestroy_UnAudited
AFTER UPDATE OF FCheckerID ON QMSampleDestroy
WHEN IFNULL(NEW.FCheckerID, 0) <= 0 AND IFNULL(OLD.FCheckerID, 0) > 0
BEGIN
    UPDATE qmsamplingentry SET FDestoryFlag = 0
    WHERE FSampleNO IN (SELECT e.FSampleNO FROM QMSampleDestroyentry e WHERE e.FID = NEW.FID)
      AND NOT EXISTS (SELECT 1 FROM QMSampleDestroyentry o
                      INNER JOIN QMSampleDestroy h ON h.FID = o.FID
                      WHERE o.FSampleNO = qmsamplingentry.FSampleNO AND h.FID <> NEW.FID
                        AND IFNULL(h.FCheckerID, 0) > 0);
END;

INSERT INTO ICClassType (FID, FName_chs, FName_en, FTableName, FObjectType, FObjectID, FProgID,
                         FFormKind, FBillNoPrefix, FListPlugin) VALUES
    (1001911, '样品销毁记录', 'Sample destruction record', 'QMSampleDestroy', 4010, 1001911,
     'VelaQMBillEvent.CSampleDestroy', 0, 'XH', 1);

INSERT INTO ICClassTypeEntry (FParentID, FIndex, FTableName, FEntryType) VALUES
    (1001911, 1, 'QMSampleDestroy', 0),
    (1001911, 2, 'QMSampleDestroyentry', 1);

-- The sampling-record number is a text field: the plug-in checks what is typed and clears it
-- itself. The head's note has its own key, as the rows' note takes FNote.
INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FCaption_chs,
                              FCaption_en, FValueType, FKeyWord, FLookUpType, FSRCTableName,
                              FSRCFieldName, FDSPFieldName, FFNDFieldName, FUserDefine, FEnabled)
VALUES
    (1001911, 'FID', 'FID', 1, 0, '内码', 'Internal ID', 3, '', 0, '', '', '', '', 0, 0),
    (1001911, 'FBillNo', 'FBillNo', 1, 1, '单据编号', 'Bill number', 200, 'BILLNO', 0, '', '', '',
     '', 0, 1),
    (1001911, 'FDate', 'FDate', 1, 2, '日期', 'Date', 135, '', 0, '', '', '', '', 0, 1),
    (1001911, 'FSampleNO', 'FSampleNO', 1, 3, '取样记录', 'Sampling record', 200, '', 0, '', '',
     '', '', 0, 1),
    (1001911, 'FSampleID', 'FSampleID', 1, 4, '取样记录内码', 'Sampling record ID', 3, '', 0, '',
     '', '', '', 0, 0),
    (1001911, 'FHeadNote', 'FNote', 1, 5, '备注', 'Note', 200, '', 0, '', '', '', '', 0, 1),
    (1001911, 'FCheckerID', 'FCheckerID', 1, 6, '审核人', 'Checker', 3, '', 1, 't_User',
     'FUserID', 'FName', 'FUserID', 0, 0),
    (1001911, 'FSampleNO_2', 'FSampleNO', 2, 1, '样品编号', 'Sample number', 200, '', 0, '', '',
     '', '', 0, 1),
    (1001911, 'FReason', 'FReason', 2, 2, '销毁原因', 'Reason', 200, '', 0, '', '', '', '', 0, 1),
    (1001911, 'FDestroyerID', 'FDestroyerID', 2, 3, '销毁人', 'Destroyed by', 3, '', 1, 't_User',
     'FUserID', 'FName', 'FName', 0, 1),
    (1001911, 'FDestroyDate', 'FDestroyDate', 2, 4, '销毁日期', 'Destroyed on', 135, '', 0, '', '',
     '', '', 0, 1),
    (1001911, 'FNote', 'FNote', 2, 5, '备注', 'Note', 200, '', 0, '', '', '', '', 0, 1),
    (1001911, 'FWitness', 'FWitness', 2, 6, '监销人', 'Witness', 200, '', 0, '', '', '', '', 1, 1);

INSERT INTO ICListTemplate (FID, FBillTemplateID, FName) VALUES
    (1001911, 1001911, '样品销毁记录');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable) VALUES
    (1001911, '样品销毁记录', 'QMSampleDestroy', 'QMSampleDestroyentry');

-- Deletion (3) and audit (4) from the list take the network task lock of function 1001911.
INSERT INTO ICClassMutex (FClassTypeID, FOpareteType, FSubSysID, FNumber) VALUES
    (1001911, 3, 19, 1001911),
    (1001911, 4, 19, 1001911);

-- A sampling record's samples fill a destruction record: its number and ID the head, each
-- sample a row.
INSERT INTO ICClassLink (FLinkKey, FSourceClassID, FDestClassTypeID, FDestKey, FSourceExpr,
                         FKeyExpr) VALUES
    ('FSampleNO', 1001906, 1001911, 'FSampleNO', 'v1.FBillNo', ''),
    ('FSampleNO', 1001906, 1001911, 'FSampleID', 'v1.FID', ''),
    ('FSampleNO', 1001906, 1001911, 'FSampleNO_2', 'u1.FSampleNO', '');
