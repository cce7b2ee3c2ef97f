-- The test schema of the MySQL and MariaDB source: a small shop that uses
-- every feature the importer reads or reports. Loaded by .ci/run (and by hand,
-- see the README) into an empty database, with the mariadb client:
--   mariadb --no-defaults --socket=SOCKET pdm_test < tests/data/mysql/shop.sql
-- The tests check the import object by object, so any change here needs the
-- same change in tests/host_mysql_load.cpp.

CREATE TABLE customer (
  id int NOT NULL AUTO_INCREMENT COMMENT 'Customer number',
  email varchar(80) NOT NULL,
  name varchar(40) CHARACTER SET latin1 COLLATE latin1_swedish_ci DEFAULT 'it''s me',
  country char(2) NOT NULL DEFAULT 'FR',
  active tinyint(1) NOT NULL DEFAULT 1,
  visits int unsigned DEFAULT NULL,
  born date,
  joined timestamp NOT NULL DEFAULT current_timestamp() ON UPDATE current_timestamp(),
  status enum('new','vip','gone') NOT NULL DEFAULT 'new',
  tags set('gift','express','fragile'),
  settings json,
  PRIMARY KEY (id),
  CONSTRAINT customer_email UNIQUE (email),
  KEY customer_name (name(10), country DESC)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci COMMENT='People who buy';

CREATE TABLE product (
  code char(8) NOT NULL,
  title varchar(200) NOT NULL,
  blurb text,
  price decimal(10,2) NOT NULL DEFAULT 0.00 CHECK (price >= 0),
  weight float,
  volume double,
  stock smallint NOT NULL DEFAULT 0,
  shelf tinyint,
  batch mediumint,
  made year,
  photo longblob,
  thumb blob,
  sku binary(16),
  tagbits bit(8),
  price_with_tax decimal(12,2) AS (price * 1.2) VIRTUAL,
  PRIMARY KEY (code),
  FULLTEXT KEY product_text (title, blurb)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE orders (
  id bigint NOT NULL AUTO_INCREMENT,
  buyer int,
  placed datetime NOT NULL,
  ships time,
  note mediumtext,
  PRIMARY KEY (id),
  CONSTRAINT orders_buyer FOREIGN KEY (buyer) REFERENCES customer (id) ON DELETE SET NULL ON UPDATE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE order_line (
  order_id bigint NOT NULL,
  line smallint NOT NULL,
  product char(8) NOT NULL,
  quantity int NOT NULL DEFAULT 1,
  contact varchar(80),
  PRIMARY KEY (order_id, line),
  UNIQUE KEY order_line_product (order_id, product),
  CONSTRAINT order_line_order FOREIGN KEY (order_id) REFERENCES orders (id) ON DELETE CASCADE,
  CONSTRAINT order_line_product_fk FOREIGN KEY (product) REFERENCES product (code) ON DELETE RESTRICT,
  CONSTRAINT order_line_contact FOREIGN KEY (contact) REFERENCES customer (email),
  CONSTRAINT order_line_sane CHECK (quantity > 0 AND line >= quantity - 1000)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE store (
  id int NOT NULL,
  location point NOT NULL,
  area polygon,
  PRIMARY KEY (id),
  SPATIAL KEY store_location (location)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci;

CREATE TABLE audit_log (
  id int NOT NULL,
  logged datetime NOT NULL,
  message varchar(255),
  PRIMARY KEY (id, logged)
) ENGINE=MyISAM DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci COMMENT='Kept forever'
  PARTITION BY HASH (id) PARTITIONS 2;

CREATE VIEW big_spender AS
  SELECT c.id, c.email FROM customer c JOIN orders o ON o.buyer = c.id GROUP BY c.id, c.email;

CREATE TRIGGER orders_placed BEFORE INSERT ON orders FOR EACH ROW
  SET NEW.placed = COALESCE(NEW.placed, NOW());

CREATE TRIGGER order_line_audit AFTER UPDATE ON order_line FOR EACH ROW
  INSERT INTO audit_log (id, logged, message) VALUES (NEW.line, NOW(), 'line changed');

CREATE PROCEDURE purge_customer (IN who int)
  COMMENT 'Removes a customer and what hangs on it'
  DELETE FROM customer WHERE id = who;

CREATE FUNCTION line_total (qty int, price decimal(10,2)) RETURNS decimal(12,2)
  DETERMINISTIC
  RETURN qty * price;

CREATE EVENT nightly_purge ON SCHEDULE EVERY 1 DAY DO DELETE FROM audit_log WHERE logged < NOW() - INTERVAL 1 YEAR;
