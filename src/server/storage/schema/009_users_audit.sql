-- Named users, their sessions and the audit trail of every change.
-- Times are ISO-8601 UTC text ("2026-12-06T21:00:00.000Z"), which sorts as it reads.
-- Lines starting with "@sqlite " or "@postgres " belong to that engine only.

-- A user of the server. DSSENHA is "pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>";
-- NRFALHAS counts the refused logins in a row, DTBLOQUEIO is when a lock-out ends.
CREATE TABLE usuario (
    DSLOGIN TEXT NOT NULL PRIMARY KEY,
    NMUSUARIO TEXT NOT NULL,
    DSREGISTRO TEXT NOT NULL,
    DSPERFIL TEXT NOT NULL,
    DSSENHA TEXT NOT NULL,
    IDATIVO INTEGER NOT NULL,
    NRFALHAS INTEGER NOT NULL,
    DTBLOQUEIO TEXT
);

-- An open session: the SHA-256 of its token, never the token itself.
CREATE TABLE sessao (
    DSTOKENHASH TEXT NOT NULL PRIMARY KEY,
    DSLOGIN TEXT NOT NULL REFERENCES usuario (DSLOGIN),
    DTCRIACAO TEXT NOT NULL,
    DTEXPIRA TEXT NOT NULL
);
CREATE INDEX sessao_login ON sessao (DSLOGIN);

-- One row per write call, appended in the write's own transaction. Rows are never
-- changed: the triggers below refuse UPDATE and DELETE whoever asks.
@sqlite CREATE TABLE histalteracao (IDALTERACAO INTEGER PRIMARY KEY AUTOINCREMENT, DTHRALTERACAO TEXT NOT NULL, DSLOGIN TEXT NOT NULL, NMUSUARIO TEXT NOT NULL, DSMETODO TEXT NOT NULL, CDFILIAL TEXT, CDPACIENTE TEXT, DTCONSPACI TEXT, DSDELTA TEXT NOT NULL);
@postgres CREATE TABLE histalteracao (IDALTERACAO BIGSERIAL PRIMARY KEY, DTHRALTERACAO TEXT NOT NULL, DSLOGIN TEXT NOT NULL, NMUSUARIO TEXT NOT NULL, DSMETODO TEXT NOT NULL, CDFILIAL TEXT, CDPACIENTE TEXT, DTCONSPACI TEXT, DSDELTA TEXT NOT NULL);
CREATE INDEX histalteracao_paciente ON histalteracao (CDFILIAL, CDPACIENTE, DTHRALTERACAO);
@sqlite CREATE TRIGGER histalteracao_sem_update BEFORE UPDATE ON histalteracao BEGIN SELECT RAISE(ABORT, 'O histórico de alterações não pode ser alterado.'); END;
@sqlite CREATE TRIGGER histalteracao_sem_delete BEFORE DELETE ON histalteracao BEGIN SELECT RAISE(ABORT, 'O histórico de alterações não pode ser excluído.'); END;
@postgres CREATE FUNCTION histalteracao_imutavel() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'O histórico de alterações não pode ser alterado nem excluído.'; END $$;
@postgres CREATE TRIGGER histalteracao_sem_alteracao BEFORE UPDATE OR DELETE ON histalteracao FOR EACH ROW EXECUTE FUNCTION histalteracao_imutavel();
@postgres CREATE TRIGGER histalteracao_sem_truncate BEFORE TRUNCATE ON histalteracao FOR EACH STATEMENT EXECUTE FUNCTION histalteracao_imutavel();
