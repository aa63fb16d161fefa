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
    Klasse      TEXT,
    Mannschaft  TEXT,
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

-- The classes of the competition in the order the winners list shows them.
-- A class may name the birth years and the sex it is for (Geschlecht "m",
-- "w" or "beide"), from which a shooter taken over gets it proposed.
CREATE TABLE Klassen (
    ID          INTEGER PRIMARY KEY AUTOINCREMENT,
    Reihenfolge INTEGER,
    Name        TEXT,
    JahrgangVon INTEGER,
    JahrgangBis INTEGER,
    Geschlecht  TEXT
);

-- Settings that belong to the competition, not to the program: "Wertung"
-- (the tie rule, "1" to "3").
CREATE TABLE Einstellungen (
    Name TEXT PRIMARY KEY,
    Wert TEXT
);
