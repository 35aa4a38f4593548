-- The substitute host's own bookkeeping: users, rights, the user-action log, network task locks,
-- system parameters and bill edit locks.

CREATE TABLE t_User (
    FUserID  INTEGER PRIMARY KEY,
    FName    TEXT COLLATE tsql_ci NOT NULL
);

CREATE TABLE t_AccessRight (
    FUserID      INTEGER NOT NULL,
    FObjectType  INTEGER NOT NULL,
    FObjectID    INTEGER NOT NULL,
    FRightMask   INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE t_ActionLog (
    FID            INTEGER PRIMARY KEY AUTOINCREMENT,
    FUserID        INTEGER,
    FFunctionCode  TEXT COLLATE tsql_ci,
    FKind          INTEGER,
    FText          TEXT COLLATE tsql_ci,
    FDate          DATETIME
);

CREATE TABLE t_TaskLock (
    FTaskID    INTEGER PRIMARY KEY AUTOINCREMENT,
    FSubSysID  INTEGER,
    FNumber    INTEGER,
    FComputer  TEXT COLLATE tsql_ci,
    FBillID    INTEGER,
    FUserID    INTEGER
);

CREATE TABLE t_SystemProfile (
    FCategory  TEXT COLLATE tsql_ci NOT NULL,
    FKey       TEXT COLLATE tsql_ci NOT NULL,
    FValue     TEXT COLLATE tsql_ci,
    PRIMARY KEY (FCategory, FKey)
);

CREATE TABLE t_BillMutex (
    FClassTypeID  INTEGER NOT NULL,
    FBillID       INTEGER NOT NULL,
    FUserID       INTEGER NOT NULL,
    PRIMARY KEY (FClassTypeID, FBillID)
);

INSERT INTO t_User (FUserID, FName) VALUES
    (16394, 'morgan'), (16395, 'riley'), (16396, 'casey'), (1, 'administrator');
