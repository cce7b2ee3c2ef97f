CREATE TABLE a (x INTEGER);
-- a second table of the same name
CREATE TABLE a (y INTEGER);
CREATE TABLE b (z INTEGER);
