-- The master list of known shooters, kept next to the program.
CREATE TABLE Schuetzen (
    ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    Schuetze TEXT,
    Verein   TEXT,
    -- Optional; a shooter taken over gets the class proposed from them.
    Jahrgang   INTEGER,
    Geschlecht TEXT
);
