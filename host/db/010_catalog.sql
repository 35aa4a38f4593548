-- The host's metadata: class types, their pages and fields, list templates, transaction types
-- and the task-lock list. Columns the host does not name are nullable or have defaults, so a row
-- can be inserted naming only the columns the plug-ins use.

CREATE TABLE ICClassType (
    FID            INTEGER PRIMARY KEY,
    FName_chs      TEXT NOT NULL,
    FName_en       TEXT,
    FTableName     TEXT,
    FObjectType    INTEGER DEFAULT 0,
    FObjectID      INTEGER DEFAULT 0,
    FProgID        TEXT,               -- the plug-in's ProgID
    FFormKind      INTEGER DEFAULT 0,  -- 0 toolbar form, 1 menu-bar form
    FBillNoPrefix  TEXT DEFAULT '',
    FGridMaxRows   INTEGER DEFAULT 500,
    FListPlugin    INTEGER DEFAULT 0   -- 1 when the plug-in also serves the bill list
);

CREATE TABLE ICClassTypeEntry (
    FParentID   INTEGER NOT NULL,   -- class type
    FIndex      INTEGER NOT NULL,   -- page number, 1 = head
    FTableName  TEXT NOT NULL,
    FEntryType  INTEGER NOT NULL DEFAULT 0,  -- 0 head page, 1 entry page
    PRIMARY KEY (FParentID, FIndex)
);

CREATE TABLE ICClassTableInfo (
    FClassTypeID   INTEGER NOT NULL,
    FKey           TEXT NOT NULL,
    FFieldName     TEXT NOT NULL,
    FPage          INTEGER NOT NULL DEFAULT 1,
    FIndex         INTEGER NOT NULL DEFAULT 0,  -- column order on its page
    FCaption_chs   TEXT,
    FCaption_en    TEXT,
    FValueType     INTEGER DEFAULT 200,         -- database type code
    FKeyWord       TEXT DEFAULT '',
    FLookUpType    INTEGER DEFAULT 0,
    FLookupClassID INTEGER DEFAULT 0,
    FSRCTableName  TEXT DEFAULT '',
    FSRCFieldName  TEXT DEFAULT '',
    FDSPFieldName  TEXT DEFAULT '',
    FFNDFieldName  TEXT DEFAULT '',
    FFilter        TEXT DEFAULT '',
    FUserDefine    INTEGER DEFAULT 0,
    FEnabled       INTEGER DEFAULT 1,           -- the template's default enable switch
    FLocked        INTEGER DEFAULT 0,           -- the template's default field lock
    PRIMARY KEY (FClassTypeID, FKey)
);

CREATE TABLE ICListTemplate (
    FID              INTEGER PRIMARY KEY,
    FBillTemplateID  INTEGER,
    FName            TEXT,
    FFilter          TEXT DEFAULT ''
);

CREATE TABLE ICTransactiontype (
    FID          INTEGER PRIMARY KEY,
    FName        TEXT,
    FHeadTable   TEXT,
    FEntryTable  TEXT
);

CREATE TABLE ICClassMutex (
    FClassTypeID  INTEGER NOT NULL,
    FOpareteType  INTEGER NOT NULL,
    FSubSysID     INTEGER NOT NULL DEFAULT 0,
    FNumber       INTEGER NOT NULL DEFAULT 0
);
