-- Percentile tables of the bibliographic references, one shape for every method family:
-- the value of a measure at each percentile, for one sex and one age band. The owner
-- (CDTBMETOAVAL) is the method whose measure the table holds; a reference may tabulate
-- several measures for several methods. Sex is the patient sex letter ("M", "F"); the
-- age band is completed months of life, both ends included. Percentile codes are three
-- digits ("005"), so their text order is their numeric order.

CREATE TABLE refepercentil (
    CDREFEBIBL TEXT NOT NULL REFERENCES refebibl (CDREFEBIBL),
    CDTBMETOAVAL TEXT NOT NULL,
    CDSEXO TEXT NOT NULL,
    NRIDADEINI INTEGER NOT NULL,
    NRIDADEFIN INTEGER NOT NULL,
    CDPERCENTIL TEXT NOT NULL,
    NMPERCENTIL TEXT NOT NULL,
    VRPERCENTIL DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (CDREFEBIBL, CDTBMETOAVAL, CDSEXO, NRIDADEINI, CDPERCENTIL)
);
