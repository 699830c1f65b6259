-- Fixed standards of the bibliographic references: one value of a measure for men and
-- one for women over an age band, with no percentile table around it (the adult arm
-- standards, for example). The owner (CDTBMETOAVAL) is the method whose measure the
-- standard is; CDPERCENTIL names the percentile the standard stands for ("050" for a
-- median standard). The age band is completed months of life, both ends included.

CREATE TABLE refepadrao (
    CDREFEBIBL TEXT NOT NULL REFERENCES refebibl (CDREFEBIBL),
    CDTBMETOAVAL TEXT NOT NULL,
    CDPERCENTIL TEXT NOT NULL,
    NRIDADEINI INTEGER NOT NULL,
    NRIDADEFIN INTEGER NOT NULL,
    VRSEXOMASC DOUBLE PRECISION NOT NULL,
    VRSEXOFEMI DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (CDREFEBIBL, CDTBMETOAVAL, CDPERCENTIL, NRIDADEINI)
);
