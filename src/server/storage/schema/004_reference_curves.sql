-- Reference curves: a measure given as a function of one axis, read by linear
-- interpolation between the two neighbouring points (the ideal weight for a height and
-- frame, the median weight for an age in months or for a length or height in cm). A
-- curve (CDCURVA) names the measure and its axis; the series (CDSERIE) tells the curves of
-- one measure apart: the frame code ("0", "1", "2") or the percentile code ("050").
-- Sex is the patient sex letter ("M", "F").

CREATE TABLE refecurva (
    CDREFEBIBL TEXT NOT NULL REFERENCES refebibl (CDREFEBIBL),
    CDCURVA TEXT NOT NULL,
    CDSEXO TEXT NOT NULL,
    CDSERIE TEXT NOT NULL,
    VREIXO DOUBLE PRECISION NOT NULL,
    VRVALOR DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (CDREFEBIBL, CDCURVA, CDSEXO, CDSERIE, VREIXO)
);
