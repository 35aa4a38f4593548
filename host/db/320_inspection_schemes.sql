-- Inspection schemes (class type 45): what is checked of an item and what is accepted. Each row
-- of a scheme is one check item with its analysis method (10: quantitative, measured against a
-- target and limits; 20: qualitative) and its acceptance values. A scheme is used while it is
-- approved (FStatus 1) and today lies between FValidDate and FInValidDate; FIsValid is 0 for a
-- scheme not released for use.

CREATE TABLE QMAnalysisMethod (
    FID      INTEGER PRIMARY KEY,
    FNumber  TEXT COLLATE tsql_ci NOT NULL,
    FName    TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO QMAnalysisMethod (FID, FNumber, FName) VALUES
    (10, '01', '定量分析'),
    (20, '02', '定性分析');

-- The check items; FQtyDecimal is the number of decimals of their measured quantities.
CREATE TABLE QMCheckItem (
    FID                INTEGER PRIMARY KEY,
    FNumber            TEXT COLLATE tsql_ci NOT NULL,
    FParentNumber      TEXT COLLATE tsql_ci DEFAULT '',
    FName              TEXT COLLATE tsql_ci NOT NULL,
    FAnalysisMethodID  INTEGER DEFAULT 20,
    FQtyDecimal        INTEGER DEFAULT 0,
    FCheckerID         INTEGER DEFAULT 0
);
INSERT INTO QMCheckItem (FID, FNumber, FName, FAnalysisMethodID, FQtyDecimal) VALUES
    (1, 'JC01', '性状', 20, 0),
    (2, 'JC02', '含量', 10, 2),
    (3, 'JC03', '水分', 10, 2),
    (4, 'JC04', '溶出度', 10, 2),
    (5, 'JC05', '崩解时限', 10, 2),
    (6, 'JC06', '鉴别', 20, 0);

CREATE TABLE icqcscheme (
    FInterID      INTEGER PRIMARY KEY,
    FBillNo       TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FSchemeName   TEXT COLLATE tsql_ci DEFAULT '',
    FTrantype     INTEGER DEFAULT 45,
    FStatus       INTEGER DEFAULT 0,
    FValidDate    DATETIME,
    FInValidDate  DATETIME,
    FCheckerID    INTEGER DEFAULT 0,
    FIsValid      INTEGER DEFAULT 1
);
CREATE UNIQUE INDEX icqcscheme_FBillNo ON icqcscheme (FBillNo) WHERE FBillNo <> '';

-- FBaseProperty is the number the form's cells of a row are set up with (the decimals shown).
CREATE TABLE IcqcSchemeEntry (
    FInterID           INTEGER NOT NULL,
    FEntryID           INTEGER NOT NULL,
    FIdentity          INTEGER NOT NULL UNIQUE,
    FQCItemID          INTEGER,
    FAnalysisMethodID  INTEGER DEFAULT 20,
    FBaseProperty      INTEGER DEFAULT 0,
    FUnitID            INTEGER DEFAULT 0,
    FTargetQty         NUMERIC DEFAULT 0,
    FLowerLimitQty     NUMERIC DEFAULT 0,
    FUpperLimitQty     NUMERIC DEFAULT 0,
    FTarget            TEXT COLLATE tsql_ci DEFAULT '',
    FLowerLimit        TEXT COLLATE tsql_ci DEFAULT '',
    FUpperLimit        TEXT COLLATE tsql_ci DEFAULT '',
    FLowerTolerance    NUMERIC DEFAULT 0,
    FUpperTolerance    NUMERIC DEFAULT 0,
    PRIMARY KEY (FInterID, FEntryID)
);

INSERT INTO icqcscheme (FInterID, FBillNo, FSchemeName, FTrantype, FStatus, FValidDate,
                        FInValidDate, FCheckerID, FIsValid) VALUES
    (1, 'FA-001', '原料对乙酰氨基酚检验方案', 45, 1, '2026-01-01', '2099-12-31', 16394, 1),
    (2, 'FA-002', '对乙酰氨基酚片成品检验方案', 45, 1, '2026-01-01', '2099-12-31', 16394, 1),
    (3, 'FA-003', '旧版片剂检验方案', 45, 1, '2020-01-01', '2025-12-31', 16394, 1),
    (4, 'FA-004', '待审片剂检验方案', 45, 0, '2026-01-01', '2099-12-31', 0, 0);

INSERT INTO IcqcSchemeEntry (FInterID, FEntryID, FIdentity, FQCItemID, FAnalysisMethodID,
                             FBaseProperty, FUnitID, FTargetQty, FLowerLimitQty, FUpperLimitQty,
                             FTarget, FLowerLimit, FUpperLimit, FLowerTolerance,
                             FUpperTolerance) VALUES
    (1, 1, 101, 1, 20, 0, 0, 0, 0, 0, '白色结晶性粉末', '', '', 0, 0),
    (1, 2, 102, 2, 10, 2, 0, 99.5, 98.0, 101.0, '99.5', '98.0', '101.0', 1.5, 1.5),
    (1, 3, 103, 3, 10, 2, 0, 0.2, 0, 0.5, '0.2', '0', '0.5', 0, 0),
    (2, 1, 201, 6, 20, 0, 0, 0, 0, 0, '应呈正反应', '', '', 0, 0),
    (2, 2, 202, 2, 10, 2, 0, 100, 95.0, 105.0, '100', '95.0', '105.0', 5, 5),
    (2, 3, 203, 4, 10, 2, 0, 85, 80, 100, '85', '80', '100', 5, 15),
    (2, 4, 204, 5, 10, 2, 0, 10, 0, 15, '10', '0', '15', 0, 5),
    (3, 1, 301, 2, 10, 2, 0, 100, 95.0, 105.0, '100', '95.0', '105.0', 5, 5),
    (4, 1, 401, 2, 10, 2, 0, 100, 95.0, 105.0, '100', '95.0', '105.0', 5, 5);

-- The scheme is chosen in the source-bill selection of the bills filled from it.
INSERT INTO ICListTemplate (FID, FBillTemplateID, FName, FFilter) VALUES
    (45, 45, '质检方案', '');
INSERT INTO ICTransactiontype (FID, FName, FHeadTable, FEntryTable) VALUES
    (45, '质检方案', 'icqcscheme', 'IcqcSchemeEntry');
