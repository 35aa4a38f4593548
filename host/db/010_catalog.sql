-- The host's metadata: class types, their pages and fields, list templates, transaction types
-- and the task-lock list. Columns the host does not name are nullable or have defaults, so a row
-- can be inserted naming only the columns the plug-ins use.
-- Text columns take the collation tsql_ci, SQL Server's case-insensitive collation of the client
-- databases that the substitute host registers on every connection (host/db/tsql_functions.h).

CREATE TABLE ICClassType (
    FID            INTEGER PRIMARY KEY,
    FName_chs      TEXT COLLATE tsql_ci NOT NULL,
    FName_en       TEXT COLLATE tsql_ci,
    FTableName     TEXT COLLATE tsql_ci,
    FObjectType    INTEGER DEFAULT 0,
    FObjectID      INTEGER DEFAULT 0,
    FProgID        TEXT COLLATE tsql_ci,               -- the plug-in's ProgID
    FFormKind      INTEGER DEFAULT 0,  -- 0 toolbar form, 1 menu-bar form
    FBillNoPrefix  TEXT COLLATE tsql_ci DEFAULT '',
    FGridMaxRows   INTEGER DEFAULT 500,
    FListPlugin    INTEGER DEFAULT 0,  -- 1 when the plug-in also serves the bill list
    FPushClasses   TEXT DEFAULT ''     -- the class types the list pushes bills down to: '1001907,1001911'
);

CREATE TABLE ICClassTypeEntry (
    FParentID   INTEGER NOT NULL,   -- class type
    FIndex      INTEGER NOT NULL,   -- page number, 1 = head
    FTableName  TEXT COLLATE tsql_ci NOT NULL,
    FEntryType  INTEGER NOT NULL DEFAULT 0,  -- 0 head page, 1 entry page
    PRIMARY KEY (FParentID, FIndex)
);

CREATE TABLE ICClassTableInfo (
    FClassTypeID   INTEGER NOT NULL,
    FKey           TEXT COLLATE tsql_ci NOT NULL,
    FFieldName     TEXT COLLATE tsql_ci NOT NULL,
    FPage          INTEGER NOT NULL DEFAULT 1,
    FIndex         INTEGER NOT NULL DEFAULT 0,  -- column order on its page
    FCaption_chs   TEXT COLLATE tsql_ci,
    FCaption_en    TEXT COLLATE tsql_ci,
    FValueType     INTEGER DEFAULT 200,         -- database type code
    FKeyWord       TEXT COLLATE tsql_ci DEFAULT '',
    FLookUpType    INTEGER DEFAULT 0,
    FLookupClassID INTEGER DEFAULT 0,
    FSRCTableName  TEXT COLLATE tsql_ci DEFAULT '',
    FSRCFieldName  TEXT COLLATE tsql_ci DEFAULT '',
    FDSPFieldName  TEXT COLLATE tsql_ci DEFAULT '',
    FFNDFieldName  TEXT COLLATE tsql_ci DEFAULT '',
    FFilter        TEXT COLLATE tsql_ci DEFAULT '',
    FUserDefine    INTEGER DEFAULT 0,
    FEnabled       INTEGER DEFAULT 1,           -- the template's default enable switch
    FLocked        INTEGER DEFAULT 0,           -- the template's default field lock
    PRIMARY KEY (FClassTypeID, FKey)
);

CREATE TABLE ICListTemplate (
    FID              INTEGER PRIMARY KEY,
    FBillTemplateID  INTEGER,
    FName            TEXT COLLATE tsql_ci,
    FFilter          TEXT COLLATE tsql_ci DEFAULT ''
);

CREATE TABLE ICTransactiontype (
    FID          INTEGER PRIMARY KEY,
    FName        TEXT COLLATE tsql_ci,
    FHeadTable   TEXT COLLATE tsql_ci,
    FEntryTable  TEXT COLLATE tsql_ci
);

CREATE TABLE ICClassMutex (
    FClassTypeID  INTEGER NOT NULL,
    FOpareteType  INTEGER NOT NULL,
    FSubSysID     INTEGER NOT NULL DEFAULT 0,
    FNumber       INTEGER NOT NULL DEFAULT 0
);
