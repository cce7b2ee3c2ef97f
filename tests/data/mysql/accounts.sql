-- The account of the MySQL source's tests that may read the test database's
-- tables and views but not its routines' texts nor its triggers. Loaded by
-- .ci/run after shop.sql, into a private server only.
CREATE USER IF NOT EXISTS pdm_reader@localhost IDENTIFIED BY 'pdm-secret';
GRANT SELECT, EXECUTE, SHOW VIEW ON pdm_test.* TO pdm_reader@localhost;
