-- The quality module's auxiliary data: strictness, sampling methods, inspection levels,
-- evaluation results and sample types (the kind of sampling a sampling record is: where its
-- samples come from).

CREATE TABLE QMAInfo (
    FID           INTEGER PRIMARY KEY,
    FNumber       TEXT COLLATE tsql_ci NOT NULL,
    FName         TEXT COLLATE tsql_ci NOT NULL,
    FClassTypeID  INTEGER NOT NULL
);

INSERT INTO QMAInfo (FID, FNumber, FName, FClassTypeID) VALUES
    (1, 'YGD01', '正常检验', 1001300),
    (2, 'YGD02', '加严检验', 1001300),
    (3, 'YGD03', '放宽检验', 1001300),
    (4, 'M04', '按抽样表', 1001302),
    (5, 'M05', '按公式', 1001302),
    (6, 'M06', '单行抽样', 1001302),
    (50, 'M50', '按字码抽样', 1001302),
    (7, 'C1', '一般检验水平I', 1001304),
    (8, 'C2', '一般检验水平II', 1001304),
    (9, 'C3', '一般检验水平III', 1001304),
    (10, 'S1', '特殊检验水平S-1', 1001304),
    (11, 'S2', '特殊检验水平S-2', 1001304),
    (12, 'S3', '特殊检验水平S-3', 1001304),
    (13, 'S4', '特殊检验水平S-4', 1001304),
    (14, 'HG', '合格', 1001314),
    (15, 'BHG', '不合格', 1001314),
    (16, '001', '外购入库取样', 1001322),
    (17, '002', '工序取样', 1001322),
    (18, '003', '委外工序取样', 1001322),
    (19, '004', '产品检验取样', 1001322),
    (20, '005', '委外加工入库取样', 1001322),
    (21, '006', '发货检验取样', 1001322),
    (22, '007', '退货检验取样', 1001322),
    (23, '008', '稳定性取样', 1001322),
    (24, '009', '其他取样', 1001322);
