-- Recommended nutrient intakes: the range of one nutrient under one reference of
-- recommended intakes (refenutr) for a sex ("M", "F", or "A" where the reference gives one
-- value for both), a condition ("0" none, "1" pregnancy, "2" lactation) and a life-stage
-- band in completed months of life (both ends included). IDUNCALCNUTR is "0" when the
-- range is per kilogram of body weight, "1" when it is an amount per day; DSTIPOVALOR says
-- what the value is in its reference (RDA, AI).

CREATE TABLE nutrrecom (
    CDRFNUTRECOM TEXT NOT NULL,
    CDNUTRIENTE TEXT NOT NULL,
    CDSEXO TEXT NOT NULL,
    IDCONDICAO TEXT NOT NULL,
    NRIDADEINI INTEGER NOT NULL,
    NRIDADEFIN INTEGER NOT NULL,
    QTNUTRINIC DOUBLE PRECISION NOT NULL,
    QTNUTRFINA DOUBLE PRECISION NOT NULL,
    IDUNCALCNUTR TEXT NOT NULL,
    DSTIPOVALOR TEXT,
    PRIMARY KEY (CDRFNUTRECOM, CDNUTRIENTE, CDSEXO, IDCONDICAO, NRIDADEINI)
);
