-- A counter of the method catalogue's changes. Every statement that changes the methods,
-- the data types or their links adds one, whoever runs it (any server process, or an
-- operator by hand): a server that keeps the catalogue it hands out compares the counter
-- and rebuilds when it moved.
-- Lines starting with "@sqlite " or "@postgres " belong to that engine only.
CREATE TABLE versaocatalogo (NRVERSAO BIGINT NOT NULL);
INSERT INTO versaocatalogo (NRVERSAO) VALUES (1);

@sqlite CREATE TRIGGER tbmetoaval_versao_ins AFTER INSERT ON tbmetoaval BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;
@sqlite CREATE TRIGGER tbmetoaval_versao_upd AFTER UPDATE ON tbmetoaval BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;
@sqlite CREATE TRIGGER tbmetoaval_versao_del AFTER DELETE ON tbmetoaval BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;
@sqlite CREATE TRIGGER tipodado_versao_ins AFTER INSERT ON tipodado BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;
@sqlite CREATE TRIGGER tipodado_versao_upd AFTER UPDATE ON tipodado BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;
@sqlite CREATE TRIGGER tipodado_versao_del AFTER DELETE ON tipodado BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;
@sqlite CREATE TRIGGER dadoaval_versao_ins AFTER INSERT ON dadoaval BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;
@sqlite CREATE TRIGGER dadoaval_versao_upd AFTER UPDATE ON dadoaval BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;
@sqlite CREATE TRIGGER dadoaval_versao_del AFTER DELETE ON dadoaval BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; END;

@postgres CREATE FUNCTION versaocatalogo_incrementa() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN UPDATE versaocatalogo SET NRVERSAO = NRVERSAO + 1; RETURN NULL; END $$;
@postgres CREATE TRIGGER tbmetoaval_versao AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON tbmetoaval FOR EACH STATEMENT EXECUTE FUNCTION versaocatalogo_incrementa();
@postgres CREATE TRIGGER tipodado_versao AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON tipodado FOR EACH STATEMENT EXECUTE FUNCTION versaocatalogo_incrementa();
@postgres CREATE TRIGGER dadoaval_versao AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON dadoaval FOR EACH STATEMENT EXECUTE FUNCTION versaocatalogo_incrementa();
