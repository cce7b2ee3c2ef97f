-- A small shop: customers, their order lines and reviews.
CREATE TABLE customer (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    email VARCHAR(80) NOT NULL,
    name NVARCHAR(40),
    balance NUMERIC(10, 2) DEFAULT 0,
    joined DATETIME DEFAULT CURRENT_TIMESTAMP,
    notes TEXT,
    photo BLOB,
    rating DOUBLE PRECISION,
    flags UNSIGNED BIG INT,
    CONSTRAINT customer_email UNIQUE (email)
);

CREATE TABLE order_line (
    customer_id INTEGER NOT NULL,
    line_no SMALLINT,
    product CHAR(12) NOT NULL DEFAULT 'none',
    quantity INT,
    PRIMARY KEY (customer_id, line_no),
    FOREIGN KEY (customer_id) REFERENCES customer (id) ON DELETE CASCADE
);

CREATE INDEX order_line_quantity ON order_line (quantity DESC, product);

/* Reviews name their author by e-mail; products are not kept here. */
CREATE TABLE review (
    author VARCHAR(80) REFERENCES customer (email) ON UPDATE SET NULL,
    product CHAR(12) REFERENCES product (code),
    body CLOB
);

CREATE VIEW big_spender AS SELECT id, email, balance * 2 AS doubled FROM customer WHERE balance > 100;

CREATE TRIGGER order_line_audit AFTER UPDATE OF quantity ON order_line
BEGIN
    UPDATE customer SET balance = balance WHERE id = NEW.customer_id;
END;

CREATE TRIGGER customer_welcome INSERT ON customer BEGIN SELECT 1; END;

CREATE TRIGGER big_spender_edit INSTEAD OF DELETE ON big_spender
BEGIN
    DELETE FROM customer WHERE id = OLD.id;
END;
