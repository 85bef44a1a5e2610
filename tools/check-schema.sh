#!/bin/bash
# Developer check of the schema scripts on throw-away embedded databases.
#
#   tools/check-schema.sh [MODE...] [-k]
#
# Modes (default: all of them):
#   lint     the separator format the program's script runner relies on
#   create   data/schema/create.sql on a new database
#   upgrade  the first-release fixture, then update102.sql, update104.sql and
#            update105.sql
#   rerun    the same with each update run twice (a repeated offer)
#   partial  each update broken off after every one of its statements and
#            then run again in full (a run that failed half-way)
# -k keeps the work folder with the databases and dumps.
#
# Each script is split the way the program does it (a line containing the
# comment opener ends a statement and is itself dropped), turned into isql
# input with one commit per statement, converted to Windows-1250 and run by
# isql-fb in SQL dialect 1 without a connection character set. Upgraded
# databases must show the same metadata (catalogue dump and isql -x) and
# the same seed rows as a new one, keep the test rows inserted on the way,
# and pass the same behaviour and query checks.

set -u
set -o pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CREATE_SQL=$ROOT/data/schema/create.sql
U102_SQL=$ROOT/data/schema/update102.sql
U104_SQL=$ROOT/data/schema/update104.sql
U105_SQL=$ROOT/data/schema/update105.sql
V0_SQL=$ROOT/tests/data/fixtures/schema_v0.sql
ISQL=${ISQL:-isql-fb}
PASSWORD=x

KEEP=0
MODES=()
for arg in "$@"; do
  case $arg in
    -k) KEEP=1 ;;
    lint|create|upgrade|rerun|partial) MODES+=("$arg") ;;
    all) MODES+=(lint create upgrade rerun partial) ;;
    -h|--help) sed -n '2,22p' "$0"; exit 0 ;;
    *) echo "unknown argument: $arg" >&2; exit 2 ;;
  esac
done
[ ${#MODES[@]} -eq 0 ] && MODES=(lint create upgrade rerun partial)

command -v "$ISQL" >/dev/null || { echo "$ISQL not found (firebird3.0-utils)" >&2; exit 2; }

WORK=$(mktemp -d /tmp/check-schema.XXXXXX)
if [ $KEEP -eq 0 ]; then trap 'rm -rf "$WORK"' EXIT; else echo "work folder: $WORK"; fi

FAILURES=0
fail() { echo "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
pass() { echo "ok:   $*"; }

# ---------------------------------------------------------------- splitting

# Checks one script against the runner's rules; prints problems, returns 1
# when there is any.
lint_file() {
  awk -v F="$1" '
    function problem(msg) { printf "%s:%d: %s\n", F, NR, msg; bad = 1 }
    # strips literals and comments; keeps quote state across lines
    function code_of(line,   out, i, c, n) {
      out = ""; n = length(line)
      for (i = 1; i <= n; i++) {
        c = substr(line, i, 1)
        if (q != "") { if (c == q) q = ""; continue }
        if (c == "\047" || c == "\"") { q = c; out = out " "; continue }
        if (c == "-" && substr(line, i + 1, 1) == "-") break
        out = out c
      }
      return out
    }
    /\/\*/ {
      if ($0 !~ /^[ \t]*\/\*.*\*\/[ \t]*$/ || gsub(/\/\*/, "&") != 1)
        problem("separator line holds text that would never run")
      if (q != "") problem("separator inside a string literal")
      if (!has_code) problem("separator without a statement before it")
      if (last ~ /;[ \t]*$/) problem("statement ends with a semicolon")
      statements++; has_code = 0; last = ""; q = ""
      next
    }
    {
      c = code_of($0)
      if (c ~ /[^ \t\r]/) { has_code = 1; last = c }
      if (c ~ /:[A-Za-z_]/) problem("colon before a name: a runner binding named parameters would rewrite it")
      if ($0 ~ /\r$/) problem("carriage return: keep LF line ends")
    }
    END {
      if (has_code) problem("statement after the last separator is never executed")
      if (statements == 0) problem("no statement")
      exit bad
    }' "$1" || return 1
  iconv -f UTF-8 -t WINDOWS-1250 "$1" >/dev/null 2>&1 || { echo "$1: not convertible to Windows-1250"; return 1; }
  return 0
}

# Number of statements of a script.
count_statements() { grep -c '/\*' "$1"; }

# isql input running the first LIMIT statements of a script (all when LIMIT
# is empty), each committed on its own, in Windows-1250.
to_isql() { # script db [limit]
  {
    echo "SET SQL DIALECT 1;"
    echo "CONNECT '$2' USER 'SYSDBA' PASSWORD '$PASSWORD';"
    echo "SET BAIL ON;"
    echo "SET AUTODDL OFF;"
    echo "SET TERM ^ ;"
    awk -v LIMIT="${3:-}" '
      /\/\*/ { n++; if (LIMIT == "" || n <= LIMIT) printf "%s^\nCOMMIT^\n", stmt; stmt = ""; next }
      { stmt = stmt $0 "\n" }' "$1"
  } | iconv -f UTF-8 -t WINDOWS-1250
}

# ------------------------------------------------------------ running isql

# Runs isql input given on stdin (already Windows-1250); output to $1.log.
# isql reads it from a file: its interactive stdin drops bytes above 127.
isql_run() { # name
  local log=$WORK/$1.log
  cat >"$WORK/$1.in"
  "$ISQL" -q -b -i "$WORK/$1.in" >"$log" 2>&1
  local rc=$?
  if [ $rc -ne 0 ] || grep -q 'Statement failed\|SQLSTATE' "$log"; then
    echo "isql failed ($1):"; iconv -f WINDOWS-1250 -t UTF-8 "$log" | sed 's/^/    /' | head -40
    return 1
  fi
  return 0
}

new_db() { # db
  rm -f "$1"
  echo "SET SQL DIALECT 1; CREATE DATABASE '$1' USER 'SYSDBA' PASSWORD '$PASSWORD' DEFAULT CHARACTER SET WIN1250;" \
    | isql_run "$(basename "$1" .fdb)-create"
}

run_script() { # db script [limit]
  to_isql "$2" "$1" "${3:-}" | isql_run "$(basename "$1" .fdb)-$(basename "$2" .sql)${3:+-$3}"
}

# Runs plain SQL (UTF-8, ';' terminated, SET TERM allowed) and prints the
# output in UTF-8; fails on any error unless $3 is "tolerant".
run_sql() { # db sqlfile [tolerant]
  local out in=$WORK/run_sql.in
  { echo "SET SQL DIALECT 1;"; echo "CONNECT '$1' USER 'SYSDBA' PASSWORD '$PASSWORD';"
    [ "${3:-}" = tolerant ] || echo "SET BAIL ON;"
    cat "$2"; } | iconv -f UTF-8 -t WINDOWS-1250 >"$in"
  out=$("$ISQL" -q -i "$in" 2>&1 | iconv -f WINDOWS-1250 -t UTF-8)
  local rc=$?
  printf '%s\n' "$out"
  if [ "${3:-}" != tolerant ] && { [ $rc -ne 0 ] || grep -q 'Statement failed' <<<"$out"; }; then return 1; fi
  return 0
}

# ------------------------------------------------------------ dumps

cat >"$WORK/meta.sql" <<'EOF'
SET HEADING OFF;
SET WIDTH LINE 250;
SELECT CAST('CHARSET WIN1250 default collation ' || TRIM(RDB$DEFAULT_COLLATE_NAME) AS VARCHAR(250)) AS LINE
FROM RDB$CHARACTER_SETS WHERE RDB$CHARACTER_SET_NAME = 'WIN1250';
SELECT CAST('COLUMN ' || TRIM(RF.RDB$RELATION_NAME) || '.' || TRIM(RF.RDB$FIELD_NAME)
  || ' type=' || F.RDB$FIELD_TYPE || ' length=' || COALESCE(F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_LENGTH)
  || ' scale=' || COALESCE(F.RDB$FIELD_SCALE, 0) || ' subtype=' || COALESCE(F.RDB$FIELD_SUB_TYPE, 0)
  || ' charset=' || COALESCE(TRIM(CS.RDB$CHARACTER_SET_NAME), '-')
  || ' collation=' || COALESCE(TRIM(CO.RDB$COLLATION_NAME), '-')
  || ' notnull=' || COALESCE(RF.RDB$NULL_FLAG, F.RDB$NULL_FLAG, 0)
  || ' default=' || COALESCE(CAST(RF.RDB$DEFAULT_SOURCE AS VARCHAR(100)), CAST(F.RDB$DEFAULT_SOURCE AS VARCHAR(100)), '-')
  AS VARCHAR(250)) AS LINE
FROM RDB$RELATION_FIELDS RF
JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME
JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE
LEFT JOIN RDB$CHARACTER_SETS CS ON CS.RDB$CHARACTER_SET_ID = F.RDB$CHARACTER_SET_ID
LEFT JOIN RDB$COLLATIONS CO ON CO.RDB$CHARACTER_SET_ID = F.RDB$CHARACTER_SET_ID
  AND CO.RDB$COLLATION_ID = COALESCE(RF.RDB$COLLATION_ID, F.RDB$COLLATION_ID)
WHERE COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0
ORDER BY RF.RDB$RELATION_NAME, RF.RDB$FIELD_POSITION;
SELECT CAST('INDEX ' || TRIM(I.RDB$RELATION_NAME) || ' '
  || IIF(I.RDB$INDEX_NAME STARTING WITH 'RDB$', '<generated>', TRIM(I.RDB$INDEX_NAME))
  || ' unique=' || COALESCE(I.RDB$UNIQUE_FLAG, 0) || ' descending=' || COALESCE(I.RDB$INDEX_TYPE, 0)
  || ' inactive=' || COALESCE(I.RDB$INDEX_INACTIVE, 0)
  || ' (' || (SELECT LIST(TRIM(S.RDB$FIELD_NAME), ',') FROM (SELECT S2.RDB$FIELD_NAME FROM RDB$INDEX_SEGMENTS S2
             WHERE S2.RDB$INDEX_NAME = I.RDB$INDEX_NAME ORDER BY S2.RDB$FIELD_POSITION) S) || ')'
  AS VARCHAR(250)) AS LINE
FROM RDB$INDICES I
WHERE COALESCE(I.RDB$SYSTEM_FLAG, 0) = 0
ORDER BY 1;
SELECT CAST('CONSTRAINT ' || TRIM(C.RDB$RELATION_NAME) || ' ' || TRIM(C.RDB$CONSTRAINT_TYPE) || ' '
  || IIF(C.RDB$CONSTRAINT_NAME STARTING WITH 'INTEG_', '<generated>', TRIM(C.RDB$CONSTRAINT_NAME))
  || COALESCE(' index=' || TRIM(C.RDB$INDEX_NAME), '')
  || COALESCE(' references ' || TRIM(P.RDB$RELATION_NAME) || ' via ' || TRIM(P.RDB$CONSTRAINT_NAME)
              || ' on update ' || TRIM(R.RDB$UPDATE_RULE) || ' on delete ' || TRIM(R.RDB$DELETE_RULE), '')
  AS VARCHAR(250)) AS LINE
FROM RDB$RELATION_CONSTRAINTS C
JOIN RDB$RELATIONS T ON T.RDB$RELATION_NAME = C.RDB$RELATION_NAME
LEFT JOIN RDB$REF_CONSTRAINTS R ON R.RDB$CONSTRAINT_NAME = C.RDB$CONSTRAINT_NAME
LEFT JOIN RDB$RELATION_CONSTRAINTS P ON P.RDB$CONSTRAINT_NAME = R.RDB$CONST_NAME_UQ
WHERE COALESCE(T.RDB$SYSTEM_FLAG, 0) = 0 AND C.RDB$CONSTRAINT_TYPE <> 'NOT NULL'
ORDER BY 1;
SELECT CAST('GENERATOR ' || TRIM(RDB$GENERATOR_NAME) AS VARCHAR(250)) AS LINE
FROM RDB$GENERATORS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;
SELECT CAST('TRIGGER ' || TRIM(RDB$TRIGGER_NAME) AS VARCHAR(250)) AS LINE
FROM RDB$TRIGGERS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;
SELECT CAST('PARAMETER ' || TRIM(PP.RDB$PROCEDURE_NAME) || '.' || TRIM(PP.RDB$PARAMETER_NAME)
  || ' kind=' || PP.RDB$PARAMETER_TYPE || ' number=' || PP.RDB$PARAMETER_NUMBER
  || ' type=' || F.RDB$FIELD_TYPE AS VARCHAR(250)) AS LINE
FROM RDB$PROCEDURE_PARAMETERS PP JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = PP.RDB$FIELD_SOURCE
WHERE COALESCE(PP.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;
SET LIST ON;
SELECT TRIM(RDB$PROCEDURE_NAME) AS PROCEDURE_NAME, RDB$PROCEDURE_TYPE AS PROCEDURE_KIND,
       RDB$PROCEDURE_SOURCE AS PROCEDURE_SOURCE
FROM RDB$PROCEDURES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;
EOF

cat >"$WORK/seeddata.sql" <<'EOF'
SET LIST ON;
SELECT ID, IVALUE FROM SYSTEMPARAMS ORDER BY ID;
SELECT LOGIN, PWD FROM USERS ORDER BY LOGIN;
SELECT IDDICTIONARY, IDTYPE, DESCRIPTION, ADDITIONAL1, ADDITIONAL2 FROM DICTIONARY ORDER BY IDDICTIONARY;
SELECT GEN_ID(GEN_DICTIONARY, 0) AS GEN_DICTIONARY, GEN_ID(GEN_SCHEDULER, 0) AS GEN_SCHEDULER FROM RDB$DATABASE;
SELECT COUNT(*) AS GLOBALNOTES_ROWS FROM GLOBALNOTES;
EOF

# Catalogue dump, isql -x extract and seed rows of a database.
dump_db() { # db prefix
  run_sql "$1" "$WORK/meta.sql" | sed -e 's/[ \t]*$//' -e '/^$/d' -e '/^PROCEDURE_SOURCE/,$s/^[ \t]*//' -e 's/^PROCEDURE_SOURCE *[0-9a-f]*:[0-9a-f]*$/PROCEDURE_SOURCE/' \
    >"$2.meta" || return 1
  "$ISQL" -x -q "$1" -user SYSDBA -password "$PASSWORD" 2>&1 | iconv -f WINDOWS-1250 -t UTF-8 \
    | grep -v '^/\* CREATE DATABASE' | sed -e 's/[ \t]*$//' -e '/^$/d' >"$2.ddl"
  run_sql "$1" "$WORK/seeddata.sql" | sed -e 's/[ \t]*$//' -e '/^$/d' >"$2.seed" || return 1
}

compare_dumps() { # prefix reference-prefix label
  local ok=1 kind
  for kind in meta ddl seed; do
    if ! diff -u "$2.$kind" "$1.$kind" >"$1.$kind.diff"; then
      fail "$3: $kind differs from a new database"; sed 's/^/    /' "$1.$kind.diff" | head -40; ok=0
    fi
  done
  [ $ok -eq 1 ] && pass "$3: metadata, isql -x extract and seed rows equal those of a new database"
}

# ------------------------------------------------------------ test data

# Rows a first-release database may hold (its columns only).
cat >"$WORK/data_v0.sql" <<'EOF'
INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT)
VALUES ('T001', 'Żółkiewska', 'Łucja', 2, 'l.z@firma.pl', 'zolkiewska', 'tajne1', 'T');
INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT)
VALUES ('T002', 'Nowak', 'Jan', -1, '', 'nowak', 'haslo2', 'N');
INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2023, 5, '/plany/2023');
INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2023, 20231225);
INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2023, 20231226);
INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, THISYEARDAYS, NURSINGDAYS, OTHERDAYS, CHECKSUM)
VALUES (2023, 'T001', 3, 26, 2, 1, 123456);
INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, THISYEARDAYS, NURSINGDAYS, OTHERDAYS, CHECKSUM)
VALUES (2023, 'T002', -1, 20, 0, 0, 0);
INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2023, 'T001', 20230703);
INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2023, 'T001', 20230704);
INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2023, 'T002', 20230801);
COMMIT;
EOF

# Rows that version 2 adds (fixed days, deadlines).
cat >"$WORK/data_v2.sql" <<'EOF'
INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2023, 'T001', 20230705);
INSERT INTO SCHEDULER (IDTERM, IDDICCLASS, DATESINCE, IDEMPLOYEE, DESCRIPTION, OTHER, ACT)
VALUES (501, 7, 20240115, 'T001', 'Skierować na badania', 'pokój 12', 'T');
COMMIT;
EOF

# The rows above after version 4, with defaults in the new columns.
cat >"$WORK/data_check.sql" <<'EOF'
SET HEADING OFF;
SELECT IIF(COUNT(*) = 1, 'OK', 'FAIL') || ' employee T001 kept'
FROM EMPLOYEES WHERE IDEMPLOYEE = 'T001' AND SURNAME = 'Żółkiewska' AND NAME = 'Łucja'
  AND IDDICUNIT = 2 AND EMAIL = 'l.z@firma.pl' AND FILENAME = 'zolkiewska' AND PWD = 'tajne1' AND ACT = 'T';
SELECT IIF(COUNT(*) = 1, 'OK', 'FAIL') || ' employee T002 kept'
FROM EMPLOYEES WHERE IDEMPLOYEE = 'T002' AND IDDICUNIT = -1 AND EMAIL = '' AND ACT = 'N';
SELECT IIF(COUNT(*) = 1, 'OK', 'FAIL') || ' plan 2023 kept'
FROM HOLIDAYPLANS WHERE IDYEAR = 2023 AND STATUS = 5 AND PLANDIR = '/plany/2023';
SELECT IIF(COUNT(*) = 2, 'OK', 'FAIL') || ' non-working days kept' FROM CALENDAR WHERE IDYEAR = 2023;
SELECT IIF(COUNT(*) = 1, 'OK', 'FAIL') || ' entitlement T001 kept, new columns 0 and empty'
FROM EMPLOYEESSETTINGS WHERE IDYEAR = 2023 AND IDEMPLOYEE = 'T001' AND LASTYEARDAYS = 3 AND THISYEARDAYS = 26
  AND NURSINGDAYS = 2 AND OTHERDAYS = 1 AND CHECKSUM = 123456 AND MATERNITYDAYS = 0 AND UNPAIDDAYS = 0
  AND SICKDAYS = 0 AND OTHERDESCR = '';
SELECT IIF(COUNT(*) = 1, 'OK', 'FAIL') || ' entitlement T002 kept'
FROM EMPLOYEESSETTINGS WHERE IDYEAR = 2023 AND IDEMPLOYEE = 'T002' AND LASTYEARDAYS = -1 AND THISYEARDAYS = 20;
SELECT IIF(COUNT(*) = 3, 'OK', 'FAIL') || ' chosen days kept' FROM EMPLOYEEHOLIDAYS WHERE IDYEAR = 2023;
SELECT IIF(COUNT(*) = 1, 'OK', 'FAIL') || ' fixed day kept' FROM EMPLOYEECONSTDAYS WHERE SELECTEDDAY = 20230705;
SELECT IIF(COUNT(*) = 1, 'OK', 'FAIL') || ' deadline kept'
FROM SCHEDULER WHERE IDTERM = 501 AND IDDICCLASS = 7 AND DATESINCE = 20240115 AND IDEMPLOYEE = 'T001'
  AND DESCRIPTION = 'Skierować na badania' AND OTHER = 'pokój 12' AND ACT = 'T';
SELECT IIF(COUNT(*) = 1, 'OK', 'FAIL') || ' kind of deadline 7 is Badania okresowe'
FROM DICTIONARY WHERE IDDICTIONARY = 7 AND IDTYPE = 'TERMT' AND DESCRIPTION = 'Badania okresowe';
EOF

# Rules the program relies on; uses its own keys (plan years 2090/2091,
# employees B...), so it runs beside other rows. Prints OK/FAIL lines.
cat >"$WORK/behaviour.sql" <<'EOF'
SET HEADING OFF;
SET TERM ^ ;
INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT)
VALUES ('B1', 'Mazur', 'Adam', 1, '', 'b1', 'p1', 'T')^
INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT)
VALUES ('B2', 'Łukasiewicz', 'Ewa', 1, '', 'b2', 'p2', 'T')^
INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT)
VALUES ('B3', 'Lis', 'Olga', 1, '', 'b3', 'p3', 'T')^
INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT)
VALUES ('B4', 'Łęcka', 'Iga', 1, '', 'b4', 'p4', 'T')^
INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2090, 1, '')^
INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2091, 1, '')^
INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2090, 20900101)^
INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2091, 20910101)^
INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, THISYEARDAYS, NURSINGDAYS, MATERNITYDAYS,
  UNPAIDDAYS, SICKDAYS, OTHERDAYS, OTHERDESCR, CHECKSUM) VALUES (2090, 'B1', 0, 26, 0, 0, 0, 0, 0, '', 0)^
INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, THISYEARDAYS, NURSINGDAYS, MATERNITYDAYS,
  UNPAIDDAYS, SICKDAYS, OTHERDAYS, OTHERDESCR, CHECKSUM) VALUES (2090, 'B2', 0, 26, 0, 0, 0, 0, 0, '', 0)^
INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, THISYEARDAYS, NURSINGDAYS, MATERNITYDAYS,
  UNPAIDDAYS, SICKDAYS, OTHERDAYS, OTHERDESCR, CHECKSUM) VALUES (2091, 'B1', 0, 26, 0, 0, 0, 0, 0, '', 0)^
INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2090, 'B1', 20900301)^
INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2090, 'B2', 20900302)^
INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2091, 'B1', 20910301)^
INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2090, 'B1', 20900401)^
INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2090, 'B2', 20900402)^
COMMIT^
EXECUTE BLOCK RETURNS (R VARCHAR(100)) AS
BEGIN
  R = 'FAIL duplicate personnel number accepted';
  BEGIN
    INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT)
    VALUES ('B1', 'X', 'Y', -1, '', 'x', 'x', 'T');
    WHEN SQLCODE -803 DO R = 'OK duplicate personnel number refused with SQLCODE -803';
  END
  SUSPEND;
END^
EXECUTE BLOCK RETURNS (R VARCHAR(100)) AS
BEGIN
  R = 'FAIL employee who is in a plan was deleted';
  BEGIN
    DELETE FROM EMPLOYEES WHERE IDEMPLOYEE = 'B1';
    WHEN ANY DO R = 'OK deleting an employee who is in a plan is refused';
  END
  SUSPEND;
END^
ROLLBACK^
DELETE FROM EMPLOYEESSETTINGS WHERE IDYEAR = 2090 AND IDEMPLOYEE = 'B2'^
COMMIT^
SELECT IIF((SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDEMPLOYEE = 'B2') = 1
       AND (SELECT COUNT(*) FROM EMPLOYEECONSTDAYS WHERE IDEMPLOYEE = 'B2') = 1, 'OK', 'FAIL')
       || ' taking an employee out of a plan keeps his days' FROM RDB$DATABASE^
DELETE FROM EMPLOYEES WHERE IDEMPLOYEE = 'B2'^
COMMIT^
SELECT IIF((SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDEMPLOYEE = 'B2') = 0
       AND (SELECT COUNT(*) FROM EMPLOYEECONSTDAYS WHERE IDEMPLOYEE = 'B2') = 0, 'OK', 'FAIL')
       || ' deleting an employee in no plan deletes his leftover days' FROM RDB$DATABASE^
UPDATE EMPLOYEES SET IDEMPLOYEE = 'B1X' WHERE IDEMPLOYEE = 'B1'^
COMMIT^
SELECT IIF((SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDEMPLOYEE = 'B1X') = 2
       AND (SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDEMPLOYEE = 'B1X') = 2
       AND (SELECT COUNT(*) FROM EMPLOYEECONSTDAYS WHERE IDEMPLOYEE = 'B1X') = 1
       AND (SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDEMPLOYEE = 'B1') = 0, 'OK', 'FAIL')
       || ' a new personnel number is carried over' FROM RDB$DATABASE^
DELETE FROM HOLIDAYPLANS WHERE IDYEAR = 2090^
COMMIT^
SELECT IIF((SELECT COUNT(*) FROM CALENDAR WHERE IDYEAR = 2090) = 0
       AND (SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDYEAR = 2090) = 0
       AND (SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDYEAR = 2090) = 0
       AND (SELECT COUNT(*) FROM EMPLOYEECONSTDAYS WHERE IDYEAR = 2090) = 0
       AND (SELECT COUNT(*) FROM CALENDAR WHERE IDYEAR = 2091) = 1
       AND (SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDYEAR = 2091) = 1
       AND (SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDYEAR = 2091) = 1, 'OK', 'FAIL')
       || ' deleting a plan deletes its rows only' FROM RDB$DATABASE^
SELECT IIF(LIST(SURNAME, ',') = 'Lis,Łęcka,Mazur', 'OK', 'FAIL') || ' Polish sort order: ' || LIST(SURNAME, ',')
FROM (SELECT SURNAME FROM EMPLOYEES WHERE IDEMPLOYEE IN ('B1X', 'B3', 'B4') ORDER BY SURNAME)^
SELECT IIF(COUNT(*) = 0, 'OK', 'FAIL') || ' text equality is case sensitive'
FROM EMPLOYEES WHERE SURNAME = 'mazur'^
SELECT IIF(IVALUE = 5, 'OK', 'FAIL') || ' double-quoted literal in dialect 1 finds DBUPDATEDTO'
FROM SYSTEMPARAMS WHERE ID = "DBUPDATEDTO"^
EXECUTE BLOCK RETURNS (R VARCHAR(100)) AS
DECLARE A INTEGER; DECLARE B INTEGER; DECLARE C INTEGER; DECLARE D INTEGER;
DECLARE E INTEGER; DECLARE F INTEGER; DECLARE G INTEGER;
BEGIN
  SELECT NEWKEY FROM GET_KEY(1) INTO A;
  SELECT NEWKEY FROM GET_KEY(1) INTO B;
  SELECT NEWKEY FROM GET_KEY(2) INTO C;
  SELECT NEWKEY FROM GET_KEY(2) INTO D;
  SELECT NEWKEY FROM GET_KEY(77) INTO E;
  SELECT NEWKEY FROM GET_KEY(77) INTO F;
  SELECT NEWKEY FROM GET_KEY(-5) INTO G;
  R = IIF(B = A + 1 AND A > (SELECT MAX(IDDICTIONARY) FROM DICTIONARY) AND D = C + 1 AND C > 0
          AND E = 1 AND F = 2 AND G = 1, 'OK', 'FAIL') || ' GET_KEY hands out new keys per type';
  SUSPEND;
END^
ROLLBACK^
SELECT IIF(NEWKEY = 3, 'OK', 'FAIL') || ' GET_KEY keys survive a rollback of the caller' FROM GET_KEY(77)^
COMMIT^
SET TERM ; ^
EOF

# The shared lists and write sets of the program, with literal values,
# run in dialect 1 and rolled back.
cat >"$WORK/queries.sql" <<'EOF'
SET HEADING OFF;
SELECT COUNT(*) FROM (SELECT IDEMPLOYEE, SURNAME,NAME,(NAME || ' ' || SURNAME) AS NAME_O, IDDICUNIT,A.DESCRIPTION AS UNIT_O, FILENAME,PWD,EMAIL,ACT FROM EMPLOYEES AS E LEFT OUTER JOIN DICTIONARY AS A ON A.IDDICTIONARY=IDDICUNIT WHERE 1=1 ORDER BY NAME_O ASC);
SELECT COUNT(*) FROM (SELECT IDDICTIONARY, DESCRIPTION, ADDITIONAL1, ADDITIONAL2 FROM DICTIONARY WHERE IDTYPE= 'ZESPO' ORDER BY DESCRIPTION);
SELECT COUNT(*) FROM (SELECT IDDICTIONARY,DESCRIPTION FROM DICTIONARY WHERE IDTYPE='TERMT' ORDER BY IDDICTIONARY);
SELECT COUNT(*) FROM (SELECT IDEMPLOYEE,(SURNAME || ' ' || NAME || ' (' || IDEMPLOYEE || ')') AS EMPLOYEE FROM EMPLOYEES WHERE 1=1 ORDER BY EMPLOYEE);
SELECT COUNT(*) FROM (SELECT FREEDAY FROM CALENDAR WHERE IDYEAR=2023 ORDER BY FREEDAY);
SELECT COUNT(*) FROM (SELECT ('Plan urlopowy na rok ' || IDYEAR) AS PLANNAME, IDYEAR, STATUS, PLANDIR FROM HOLIDAYPLANS ORDER BY IDYEAR DESC);
SELECT COUNT(*) FROM (SELECT IDEMPLOYEE,NAME,SURNAME, (NAME || ' ' || SURNAME || ' (' || IDEMPLOYEE || ')') AS EMPLOYEE, LASTYEARDAYS, THISYEARDAYS, CHECKSUM,NURSINGDAYS,OTHERDAYS,OTHERDESCR, FILENAME,MATERNITYDAYS,SICKDAYS,UNPAIDDAYS FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=2023 AND S.IDEMPLOYEE=E.IDEMPLOYEE AND IDDICUNIT=2 ORDER BY SURNAME,NAME,IDEMPLOYEE);
SELECT COUNT(*) FROM (SELECT IDEMPLOYEE,NAME,SURNAME, (NAME || ' ' || SURNAME || ' (' || IDEMPLOYEE || ')') AS EMPLOYEE FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=2023 AND S.IDEMPLOYEE=E.IDEMPLOYEE ORDER BY SURNAME,NAME,IDEMPLOYEE);
SELECT COUNT(*) FROM (SELECT IDEMPLOYEE, (NAME || ' ' || SURNAME || ' (' || IDEMPLOYEE || ')') AS EMPLOYEE FROM EMPLOYEES AS E WHERE NOT EXISTS ( SELECT * FROM EMPLOYEESSETTINGS AS S WHERE IDYEAR=2023 AND S.IDEMPLOYEE=E.IDEMPLOYEE ) AND ACT='T' AND IDDICUNIT=2 ORDER BY SURNAME,NAME,IDEMPLOYEE);
SELECT COUNT(*) FROM (SELECT NAME,SURNAME, (NAME || ' ' || SURNAME || ' (' || IDEMPLOYEE || ')') AS EMPLOYEE, LASTYEARDAYS, THISYEARDAYS, CHECKSUM FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=2023 AND S.IDEMPLOYEE=E.IDEMPLOYEE AND IDEMPLOYEE='T001');
SELECT COUNT(*) FROM (SELECT SELECTEDDAY FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=2023 AND IDEMPLOYEE='T001' AND NOT EXISTS (SELECT * FROM CALENDAR WHERE FREEDAY=SELECTEDDAY) ORDER BY SELECTEDDAY);
SELECT COUNT(*) FROM (SELECT SELECTEDDAY FROM EMPLOYEECONSTDAYS WHERE IDYEAR=2023 AND IDEMPLOYEE='T001' AND NOT EXISTS (SELECT * FROM CALENDAR WHERE FREEDAY=SELECTEDDAY) ORDER BY SELECTEDDAY);
SELECT COUNT(*) FROM (SELECT IDEMPLOYEE,LASTYEARDAYS,THISYEARDAYS, (NAME || ' ' || SURNAME || ' (' || E.IDEMPLOYEE || ')') AS EMPLOYEE, MATERNITYDAYS,SICKDAYS,UNPAIDDAYS,NURSINGDAYS,OTHERDAYS,OTHERDESCR FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=2023 AND S.IDEMPLOYEE=E.IDEMPLOYEE AND IDDICUNIT=2 AND IDEMPLOYEE='T001' ORDER BY SURNAME,NAME,E.IDEMPLOYEE);
SELECT COUNT(*) FROM (SELECT IDTERM, S.IDDICCLASS AS SIDDICCLASS, D.DESCRIPTION AS CLASSNAME, DATESINCE, S.IDEMPLOYEE AS SIDEMPLOYEE,(E.SURNAME || ' ' || E.NAME || ' (' || S.IDEMPLOYEE || ')') AS EMPLOYEE, S.DESCRIPTION AS SDESCRIPTION, S.OTHER AS SOTHER, S.ACT AS SACT FROM SCHEDULER AS S LEFT OUTER JOIN DICTIONARY AS D ON D.IDDICTIONARY=S.IDDICCLASS LEFT OUTER JOIN EMPLOYEES AS E ON E.IDEMPLOYEE=S.IDEMPLOYEE WHERE 1=1 ORDER BY DATESINCE ASC);
SELECT COUNT(*) FROM (SELECT D.DESCRIPTION AS CLASSNAME, DATESINCE, (E.SURNAME || ' ' || E.NAME || ' (' || S.IDEMPLOYEE || ')') AS EMPLOYEE, S.DESCRIPTION AS SDESCRIPTION FROM SCHEDULER AS S LEFT OUTER JOIN DICTIONARY AS D ON D.IDDICTIONARY=S.IDDICCLASS LEFT OUTER JOIN EMPLOYEES AS E ON E.IDEMPLOYEE=S.IDEMPLOYEE WHERE S.ACT='T' AND DATESINCE > 0 AND DATESINCE <= 20991231 AND DATESINCE > 20000101 ORDER BY DATESINCE DESC);
SELECT NEWKEY FROM GET_KEY(1);
SELECT IVALUE FROM SYSTEMPARAMS WHERE ID="DBUPDATEDTO";
SELECT * FROM USERS WHERE LOGIN="admin" AND PWD='zefirant';
SELECT * FROM GLOBALNOTES ORDER BY IDNOTE;
SELECT IDDICTIONARY FROM DICTIONARY WHERE IDTYPE="ZESPO" AND DESCRIPTION='Magazyn';
INSERT INTO EMPLOYEES( IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT ) VALUES( 'Q1', 'Kowalska', 'Zofia', 3, 'z@k.pl', 'kowalska', 'abc', 'T' );
UPDATE EMPLOYEES SET IDEMPLOYEE='Q2', SURNAME='Kowalska', NAME='Zofia', IDDICUNIT=3, FILENAME='kowalska', EMAIL='', PWD='abc', ACT='N' WHERE IDEMPLOYEE='Q1';
INSERT INTO DICTIONARY( IDDICTIONARY, IDTYPE, DESCRIPTION, ADDITIONAL1, ADDITIONAL2 ) VALUES( 9001, 'ZESPO', 'Serwis', '', '' );
UPDATE DICTIONARY SET IDTYPE='ZESPO', DESCRIPTION='Serwis terenowy', ADDITIONAL1='', ADDITIONAL2='' WHERE IDDICTIONARY=9001;
DELETE FROM DICTIONARY WHERE IDDICTIONARY=9001;
INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2099, 1, '');
UPDATE HOLIDAYPLANS SET STATUS=2 WHERE IDYEAR=2099;
UPDATE HOLIDAYPLANS SET PLANDIR='/tmp/plany' WHERE IDYEAR=2099;
INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2099, 20990101);
INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, THISYEARDAYS, NURSINGDAYS, MATERNITYDAYS, UNPAIDDAYS, SICKDAYS, OTHERDAYS, OTHERDESCR, CHECKSUM) VALUES (2099, 'Q2', 0, 26, 0, 0, 0, 0, 0, '', 0);
UPDATE EMPLOYEESSETTINGS SET LASTYEARDAYS=1, THISYEARDAYS=26, NURSINGDAYS=2, MATERNITYDAYS=3, UNPAIDDAYS=4, SICKDAYS=5, OTHERDAYS=6, OTHERDESCR='opis', CHECKSUM=77 WHERE IDYEAR=2099 AND IDEMPLOYEE='Q2';
UPDATE EMPLOYEESSETTINGS SET SICKDAYS=9  WHERE IDYEAR=2099 AND IDEMPLOYEE IN('Q2','Q9');
INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2099, 'Q2', '20990505');
INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2099, 'Q2', 20990506);
SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=2099 AND IDEMPLOYEE='Q2' AND NOT EXISTS (SELECT * FROM CALENDAR WHERE FREEDAY=SELECTEDDAY);
DELETE FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=2099 AND IDEMPLOYEE='Q2';
DELETE FROM EMPLOYEECONSTDAYS WHERE IDYEAR=2099 AND IDEMPLOYEE='Q2';
DELETE FROM EMPLOYEESSETTINGS WHERE IDYEAR=2099 AND IDEMPLOYEE='Q2';
DELETE FROM CALENDAR WHERE IDYEAR=2099;
DELETE FROM HOLIDAYPLANS WHERE IDYEAR=2099;
INSERT INTO SCHEDULER( IDTERM, IDDICCLASS, DATESINCE, IDEMPLOYEE, DESCRIPTION, OTHER, ACT ) VALUES( 9001, 8, 20990101, 'Q2', 'Opis', 'Inne', 'T' );
UPDATE SCHEDULER SET IDDICCLASS=0, DATESINCE=20990102, IDEMPLOYEE='', DESCRIPTION='Opis', OTHER='', ACT='N' WHERE IDTERM=9001;
DELETE FROM SCHEDULER WHERE IDTERM=9001;
DELETE FROM EMPLOYEES WHERE IDEMPLOYEE='Q2';
DELETE FROM GLOBALNOTES;
INSERT INTO GLOBALNOTES (IDNOTE,DATA,DESCRIPTION,RESERVED) VALUES(1,'01-02-2024','Notatka','');
INSERT INTO GLOBALNOTES (IDNOTE,DATA,DESCRIPTION,RESERVED) VALUES(2,'  -  -    ','','');
UPDATE SYSTEMPARAMS SET IVALUE=1 WHERE ID = "ALLOWEMPLLOGIN";
UPDATE USERS SET PWD='nowe haslo ' WHERE LOGIN="pracownik";
ROLLBACK;
EOF

# Behaviour, queries and (for upgraded databases) the kept rows.
check_db() { # db label with-data
  local out
  if out=$(run_sql "$1" "$WORK/behaviour.sql"); then
    if grep -q '^FAIL' <<<"$out" || [ "$(grep -c '^OK' <<<"$out")" -ne 11 ]; then
      fail "$2: behaviour"; grep '^FAIL\|^OK' <<<"$out" | sed 's/^/    /'
    else pass "$2: behaviour (11 rules: keys, cascades, refusals, sorting, GET_KEY)"; fi
  else fail "$2: behaviour script failed"; sed 's/^/    /' <<<"$out" | head -30; fi
  if out=$(run_sql "$1" "$WORK/queries.sql"); then pass "$2: the program's list, write and helper statements run in dialect 1"
  else fail "$2: program statements"; grep -B2 -A6 'Statement failed' <<<"$out" | sed 's/^/    /' | head -30; fi
  if [ "$3" = with-data ]; then
    if out=$(run_sql "$1" "$WORK/data_check.sql") && ! grep -q '^FAIL' <<<"$out" \
       && [ "$(grep -c '^OK' <<<"$out")" -eq 10 ]; then
      pass "$2: rows inserted in versions 0 and 2 kept, new columns filled with defaults"
    else fail "$2: kept rows"; grep '^FAIL\|^OK\|failed' <<<"$out" | sed 's/^/    /'; fi
  fi
}

# ------------------------------------------------------------ modes

REF=$WORK/ref
ref_ready=0
make_reference() {
  [ $ref_ready -eq 1 ] && return 0
  local db=$WORK/create.fdb
  new_db "$db" && run_script "$db" "$CREATE_SQL" && dump_db "$db" "$REF" || { fail "create.sql does not run"; return 1; }
  ref_ready=1
}

mode_lint() {
  local f
  for f in "$CREATE_SQL" "$U102_SQL" "$U104_SQL" "$U105_SQL" "$V0_SQL"; do
    if lint_file "$f"; then pass "lint: ${f#$ROOT/} ($(count_statements "$f") statements)"; else fail "lint: ${f#$ROOT/}"; fi
  done
  return 0
}

mode_create() {
  make_reference || return
  pass "create: create.sql runs on a new dialect-1 WIN1250 database"
  check_db "$WORK/create.fdb" create no-data
}

# upgrade pipeline: v0 + rows, 102 (with repeats / prefix), rows, 104 (same)
upgrade_db() { # db label steps...
  local db=$1 label=$2; shift 2
  new_db "$db" || return 1
  local step
  for step in "$@"; do
    case $step in
      v0) run_script "$db" "$V0_SQL" || return 1 ;;
      data0) run_sql "$db" "$WORK/data_v0.sql" >/dev/null || { echo "    version 0 rows failed"; return 1; } ;;
      data2) run_sql "$db" "$WORK/data_v2.sql" >/dev/null || { echo "    version 2 rows failed"; return 1; } ;;
      102) run_script "$db" "$U102_SQL" || return 1 ;;
      104) run_script "$db" "$U104_SQL" || return 1 ;;
      105) run_script "$db" "$U105_SQL" || return 1 ;;
      102:*) run_script "$db" "$U102_SQL" "${step#102:}" || return 1 ;;
      104:*) run_script "$db" "$U104_SQL" "${step#104:}" || return 1 ;;
      105:*) run_script "$db" "$U105_SQL" "${step#105:}" || return 1 ;;
    esac
  done
}

check_upgraded() { # name label with-data steps...
  local name=$1 label=$2 data=$3; shift 3
  local db=$WORK/$name.fdb
  if ! upgrade_db "$db" "$label" "$@"; then fail "$label: scripts failed"; return; fi
  dump_db "$db" "$WORK/$name" || { fail "$label: dump failed"; return; }
  compare_dumps "$WORK/$name" "$REF" "$label"
  check_db "$db" "$label" "$data"
}

mode_upgrade() {
  make_reference || return
  # the v0 fixture itself and the version 2 state
  local db=$WORK/v0.fdb out
  if upgrade_db "$db" v0 v0 data0; then
    out=$(printf 'SET HEADING OFF;\nSELECT COUNT(*) FROM SYSTEMPARAMS WHERE ID = %s;\n' "'DBUPDATEDTO'" >"$WORK/q.sql"; run_sql "$db" "$WORK/q.sql")
    [ "$(tr -d ' \n' <<<"$out")" = 0 ] && pass "upgrade: the version 0 fixture runs and has no DBUPDATEDTO row" \
      || fail "upgrade: version 0 fixture has a DBUPDATEDTO row"
  else fail "upgrade: the version 0 fixture or its rows failed"; fi
  db=$WORK/v2.fdb
  if upgrade_db "$db" v2 v0 data0 102 data2; then
    printf 'SET HEADING OFF;\nSELECT IVALUE FROM SYSTEMPARAMS WHERE ID = "DBUPDATEDTO";\n' >"$WORK/q.sql"
    out=$(run_sql "$db" "$WORK/q.sql")
    [ "$(tr -d ' \n' <<<"$out")" = 2 ] && pass "upgrade: update102 sets DBUPDATEDTO 2" || fail "upgrade: DBUPDATEDTO after update102 is '$out'"
  else fail "upgrade: update102 failed"; fi
  check_upgraded up-empty "upgrade 0-2-4-5 (no user rows)" no-data v0 102 104 105
  check_upgraded up-data "upgrade 0-2-4-5 (with rows)" with-data v0 data0 102 data2 104 105
}

mode_rerun() {
  make_reference || return
  check_upgraded rerun "rerun 0-2-2-4-4-5-5" with-data v0 data0 102 102 data2 104 104 105 105
}

# Runs one check quietly: prints only its failures, counts them.
quiet() {
  local out
  out=$("$@" 2>&1)
  grep -v '^ok:\|^$' <<<"$out"
  FAILURES=$((FAILURES + $(grep -c '^FAIL' <<<"$out")))
}

mode_partial() {
  make_reference || return
  local n k before
  n=$(count_statements "$U102_SQL")
  before=$FAILURES
  for ((k = 1; k < n; k++)); do
    quiet check_upgraded "p102-$k" "update102 broken off after statement $k of $n" with-data \
      v0 data0 "102:$k" 102 data2 104 105
  done
  [ $FAILURES -eq $before ] && pass "partial: update102 broken off after each of its first $((n - 1)) statements, then run in full"
  n=$(count_statements "$U104_SQL")
  before=$FAILURES
  for ((k = 1; k < n; k++)); do
    quiet check_upgraded "p104-$k" "update104 broken off after statement $k of $n" with-data \
      v0 data0 102 data2 "104:$k" 104 105
  done
  [ $FAILURES -eq $before ] && pass "partial: update104 broken off after each of its first $((n - 1)) statements, then run in full"
  n=$(count_statements "$U105_SQL")
  before=$FAILURES
  for ((k = 1; k < n; k++)); do
    quiet check_upgraded "p105-$k" "update105 broken off after statement $k of $n" with-data \
      v0 data0 102 data2 104 "105:$k" 105
  done
  [ $FAILURES -eq $before ] && pass "partial: update105 broken off after each of its first $((n - 1)) statements, then run in full"
}

for m in "${MODES[@]}"; do
  echo "== $m"
  "mode_$m"
done

if [ $FAILURES -ne 0 ]; then echo "== $FAILURES check(s) failed"; exit 1; fi
echo "== all checks passed"
