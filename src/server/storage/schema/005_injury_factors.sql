-- Injury factors of the energy equations: the factor by which Harris-Benedict's basal
-- expenditure is multiplied for an injury or illness, with the reference it comes from
-- (DSFATOINJU). A recorded value of the injury factor keeps the chosen code in
-- infoaval.CDFATOINJU and the factor as its text.

CREATE TABLE fatoinju (
    CDFATOINJU TEXT NOT NULL PRIMARY KEY,
    NMFATOINJU TEXT NOT NULL,
    VRFATOINJU DOUBLE PRECISION NOT NULL,
    DSFATOINJU TEXT
);
