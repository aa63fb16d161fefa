-- The master list of known shooters, kept next to the program.
CREATE TABLE Schuetzen (
    ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    Schuetze TEXT,
    Verein   TEXT
);
