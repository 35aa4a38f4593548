-- Purchase orders (transaction type 71) and the receipts made from them over the year, which
-- the supplier evaluation scores the supply quality from. An order row stocked without a receipt
-- (FStockQty) counts as checked and passed. Supplier 1 delivers item 1 with some rejects and
-- concessions, supplier 2 delivers item 2 and has stock taken in without a receipt, and
-- supplier 3 delivered last year only.

CREATE TABLE POOrder (
    FInterID    INTEGER PRIMARY KEY,
    FBillNo     TEXT COLLATE tsql_ci NOT NULL DEFAULT '',
    FDate       DATETIME,
    FTranType   INTEGER DEFAULT 71,
    FSupplyID   INTEGER DEFAULT 0,
    FCheckerID  INTEGER DEFAULT 0
);
CREATE TABLE POOrderEntry (
    FInterID   INTEGER NOT NULL,
    FEntryID   INTEGER NOT NULL,
    FItemID    INTEGER DEFAULT 0,
    FQty       NUMERIC DEFAULT 0,
    FStockQty  NUMERIC DEFAULT 0,
    PRIMARY KEY (FInterID, FEntryID)
);

INSERT INTO POOrder (FInterID, FBillNo, FDate, FTranType, FSupplyID, FCheckerID) VALUES
    (1, 'POORD000001', '2026-02-10 00:00:00', 71, 1, 16394),
    (2, 'POORD000002', '2026-06-15 00:00:00', 71, 1, 16394),
    (3, 'POORD000003', '2026-10-20 00:00:00', 71, 1, 16394),
    (4, 'POORD000004', '2026-03-01 00:00:00', 71, 2, 16394),
    (5, 'POORD000005', '2026-09-01 00:00:00', 71, 2, 16394),
    (6, 'POORD000006', '2025-05-01 00:00:00', 71, 3, 16394);
INSERT INTO POOrderEntry (FInterID, FEntryID, FItemID, FQty, FStockQty) VALUES
    (1, 1, 1, 1000, 0),
    (2, 1, 1, 1500, 0),
    (3, 1, 1, 1000, 0),
    (4, 1, 2, 500, 0),
    (5, 1, 2, 100, 100),
    (6, 1, 3, 2000, 0);

INSERT INTO POInStock (FInterID, FBillNo, FDate, FStatus, FBizType, FSupplyID, FTranType) VALUES
    (101, 'WIN000101', '2026-02-20 00:00:00', 1, 12510, 1, 702),
    (102, 'WIN000102', '2026-06-25 00:00:00', 1, 12510, 1, 702),
    (103, 'WIN000103', '2026-10-30 00:00:00', 1, 12510, 1, 702),
    (104, 'WIN000104', '2026-03-10 00:00:00', 1, 12510, 2, 702),
    (105, 'WIN000105', '2025-05-10 00:00:00', 1, 12510, 3, 702);
INSERT INTO POInStockEntry (FInterID, FEntryID, FItemID, FQty, FBatchNo, FSourceTranType,
                            FSourceInterID, FSourceEntryID, FQCheckQty, FQtyPass, FConPassQty)
VALUES
    (101, 1, 1, 1000, 'B2602', 71, 1, 1, 1000, 950, 20),
    (102, 1, 1, 1500, 'B2606', 71, 2, 1, 1500, 1500, 0),
    (103, 1, 1, 1000, 'B2610', 71, 3, 1, 1000, 900, 30),
    (104, 1, 2, 500, 'B2603', 71, 4, 1, 500, 500, 0),
    (105, 1, 3, 2000, 'B2505', 71, 6, 1, 2000, 1900, 0);
