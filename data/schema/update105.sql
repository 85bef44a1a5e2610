-- Zefirant: update of a version 4 database to schema version 5.
-- Adds the staffing thresholds of the organisational units (UNITSTAFFING):
-- the least number of a unit's employees who must be at work on every
-- working day of a plan. Nothing else changes, so copies of the program
-- that know only version 4 keep working on the database.
-- Every statement is followed by a separator line and runs in a
-- transaction of its own; a run that broke off is offered again at the
-- next start, so each step checks the catalogue first. SQL dialect 1.
--
-- One row per unit with a threshold; no row means none. Deleting the unit
-- deletes its threshold.
EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT * FROM RDB$RELATIONS
                  WHERE RDB$RELATION_NAME = 'UNITSTAFFING')) THEN
    EXECUTE STATEMENT
      'CREATE TABLE UNITSTAFFING (
         IDDICUNIT INTEGER NOT NULL,
         MINSTAFF INTEGER DEFAULT 0 NOT NULL,
         CONSTRAINT PK_UNITSTAFFING PRIMARY KEY (IDDICUNIT),
         CONSTRAINT FK_UNITSTAFFING_UNIT FOREIGN KEY (IDDICUNIT)
           REFERENCES DICTIONARY (IDDICTIONARY) ON DELETE CASCADE ON UPDATE CASCADE)';
END
/* ---- */
-- Last: the version is claimed only when everything above has been done.
UPDATE OR INSERT INTO SYSTEMPARAMS (ID, IVALUE) VALUES ('DBUPDATEDTO', 5) MATCHING (ID)
/* ---- */
