-- Base data the bills look up: items, suppliers, operations, work centres, departments,
-- warehouses and stock places, with a few demo records each.

CREATE TABLE t_MeasureUnit (
    FItemID       INTEGER PRIMARY KEY,
    FNumber       TEXT COLLATE tsql_ci NOT NULL,
    FName         TEXT COLLATE tsql_ci NOT NULL,
    FUnitGroupID  INTEGER DEFAULT 0
);
INSERT INTO t_MeasureUnit (FItemID, FNumber, FName, FUnitGroupID) VALUES
    (1, 'kg', '千克', 1),
    (2, 'g', '克', 1),
    (3, 'pcs', '片', 2),
    (4, 'box', '盒', 2);

-- An item's inspection project is the inspection scheme (icqcscheme.FInterID) its samples are
-- observed by; 0 when it has none. An item may have no unit (FUnitID 0). FBatchManager is 1 for
-- an item kept in batches, which may be graded within itself.
CREATE TABLE t_ICItem (
    FItemID             INTEGER PRIMARY KEY,
    FNumber             TEXT COLLATE tsql_ci NOT NULL,
    FName               TEXT COLLATE tsql_ci NOT NULL,
    FModel              TEXT COLLATE tsql_ci DEFAULT '',
    FUnitID             INTEGER DEFAULT 0,
    FInspectionProject  INTEGER DEFAULT 0,
    FBatchManager       INTEGER DEFAULT 0
);
INSERT INTO t_ICItem (FItemID, FNumber, FName, FModel, FUnitID, FInspectionProject,
                      FBatchManager) VALUES
    (1, '01.001', '对乙酰氨基酚', '25kg/桶', 1, 1, 1),
    (2, '01.002', '微晶纤维素', '20kg/袋', 1, 0, 1),
    (3, '02.001', '铝塑泡罩', '1000片/卷', 0, 0, 0),
    (4, '03.001', '对乙酰氨基酚片', '0.5g*20片', 4, 2, 0),
    (5, '01.001.A', '对乙酰氨基酚（优级）', '25kg/桶', 2, 0, 1),
    (6, '01.001.B', '对乙酰氨基酚（合格级）', '25kg/桶', 1, 0, 1);

CREATE TABLE t_Supplier (
    FItemID  INTEGER PRIMARY KEY,
    FNumber  TEXT COLLATE tsql_ci NOT NULL,
    FName    TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO t_Supplier (FItemID, FNumber, FName) VALUES
    (1, 'S001', '华东原料药厂'),
    (2, 'S002', '江南辅料公司'),
    (3, 'S003', '北方包装材料厂');

CREATE TABLE t_Operation (
    FInterID  INTEGER PRIMARY KEY,
    FNumber   TEXT COLLATE tsql_ci NOT NULL,
    FName     TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO t_Operation (FInterID, FNumber, FName) VALUES
    (1, 'OP10', '制粒'),
    (2, 'OP20', '压片'),
    (3, 'OP30', '包装');

CREATE TABLE t_WorkCenter (
    FInterID  INTEGER PRIMARY KEY,
    FNumber   TEXT COLLATE tsql_ci NOT NULL,
    FName     TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO t_WorkCenter (FInterID, FNumber, FName) VALUES
    (1, 'WC01', '固体制剂一线'),
    (2, 'WC02', '固体制剂二线');

CREATE TABLE t_Department (
    FItemID  INTEGER PRIMARY KEY,
    FNumber  TEXT COLLATE tsql_ci NOT NULL,
    FName    TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO t_Department (FItemID, FNumber, FName) VALUES
    (1, 'D01', '固体制剂车间'),
    (2, 'D02', '包装车间');

CREATE TABLE t_Stock (
    FItemID  INTEGER PRIMARY KEY,
    FNumber  TEXT COLLATE tsql_ci NOT NULL,
    FName    TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO t_Stock (FItemID, FNumber, FName) VALUES
    (1, 'CK01', '原料库'),
    (2, 'CK02', '留样室');

CREATE TABLE t_StockPlace (
    FSPID    INTEGER PRIMARY KEY,
    FNumber  TEXT COLLATE tsql_ci NOT NULL,
    FName    TEXT COLLATE tsql_ci NOT NULL
);
INSERT INTO t_StockPlace (FSPID, FNumber, FName) VALUES
    (1, 'A-01', '留样柜A层1'),
    (2, 'A-02', '留样柜A层2');
