-- The template competition: every new competition file is a byte copy of it.
-- Field order is the column order of both result grids.
CREATE TABLE Wettkampf (
    Bezeichnung TEXT
);

CREATE TABLE Ergebnisse (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    Platz       INTEGER,
    StartNr     INTEGER,
    Schuetze    TEXT,
    Verein      TEXT,
    Serie       REAL,
    Innenzehner INTEGER,
    Ring1       REAL,
    Ring2       REAL,
    Ring3       REAL,
    Ring4       REAL,
    Ring5       REAL,
    Ring6       REAL,
    Ring7       REAL,
    Ring8       REAL,
    Ring9       REAL,
    Ring10      REAL,
    Sortierung  TEXT
);
