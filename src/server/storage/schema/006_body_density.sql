-- Body density equations of the bibliographic references: the density of the body (g/ml)
-- from the sum of skinfolds S (mm) as c - m x log10(S), for one sex and one band of age
-- in whole years, both ends included. Sex is the patient sex letter ("M", "F").

CREATE TABLE refedensidade (
    CDREFEBIBL TEXT NOT NULL REFERENCES refebibl (CDREFEBIBL),
    CDSEXO TEXT NOT NULL,
    NRIDADEINI INTEGER NOT NULL,
    NRIDADEFIN INTEGER NOT NULL,
    VRCONSTANTE DOUBLE PRECISION NOT NULL,
    VRINCLINACAO DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (CDREFEBIBL, CDSEXO, NRIDADEINI)
);
