-- Recommended energy and protein per kilogram of body weight by sex and age band, for
-- a reference of recommended nutrient intakes (refenutr): the allowances that the
-- catch-up growth method reads at the child's weight age. Sex is the patient sex letter
-- ("M", "F"); a band that serves both sexes is stored once for each. The age band is
-- completed months of life, both ends included.

CREATE TABLE recopeso (
    CDRFNUTRECOM TEXT NOT NULL REFERENCES refenutr (CDRFNUTRECOM),
    CDSEXO TEXT NOT NULL,
    NRIDADEINI INTEGER NOT NULL,
    NRIDADEFIN INTEGER NOT NULL,
    QTENERPESO DOUBLE PRECISION NOT NULL,
    QTPROTPESO DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (CDRFNUTRECOM, CDSEXO, NRIDADEINI)
);
