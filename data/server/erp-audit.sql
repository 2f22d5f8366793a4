-- An ERP audit database: one row per change of a master-data record, in the order the ERP made
-- them (SEQ). docs/erp-audit.md describes the fields of every business object.
--   sqlite3 500-audit.db < data/server/erp-audit.sql
CREATE TABLE ERPAUDIT (
    SEQ INTEGER PRIMARY KEY,   -- order of the changes
    BUSINESSOBJECT TEXT,       -- the server table it feeds, e.g. UNITS
    CHANGEDAT TEXT,            -- local time, YYYY-MM-DD hh:mm:ss
    KIND INTEGER,              -- 0 deleted, 1 modified, 2 inserted
    OLDVALUES TEXT,            -- JSON object of the fields before the change (may be empty)
    NEWVALUES TEXT             -- JSON object of the fields after it (a deletion: its key)
);
CREATE INDEX ERPAUDIT_OBJECT ON ERPAUDIT (BUSINESSOBJECT, SEQ);
