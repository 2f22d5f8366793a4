-- The sibling application's database: the properties of each bus identifier. VALUE is the
-- bus-component address of the company, for the ERP stand-in the connection string of the
-- company's ERP audit database (for example sqlite:/srv/erp/500-audit.db or DSN=ERP500).
--   sqlite3 pentavy.mdb < data/server/sibling-database.sql
CREATE TABLE BISPROPERTYVALUES (BISID TEXT, VALUE TEXT);
