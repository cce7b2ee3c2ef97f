#pragma once
// A schema that the database sources must read alike: a foreign key for
// every referential action on delete and on update, and a two-column foreign
// key to a unique key whose first column alone is the primary key.

#include <gtest/gtest.h>

#include <string>

#include "orx/ORXModel.h"

namespace pdmtest {

// Plain SQL that SQLite and PostgreSQL both run.
inline const char* const kReferenceSchema = R"sql(
CREATE TABLE parent (a integer NOT NULL, b integer NOT NULL,
  CONSTRAINT parent_pk PRIMARY KEY (a), CONSTRAINT parent_ab UNIQUE (a, b));
CREATE TABLE child (c1 integer, c2 integer, c3 integer, c4 integer, c5 integer,
  x integer, y integer,
  CONSTRAINT fk_1 FOREIGN KEY (c1) REFERENCES parent (a) ON DELETE NO ACTION ON UPDATE RESTRICT,
  CONSTRAINT fk_2 FOREIGN KEY (c2) REFERENCES parent (a) ON DELETE RESTRICT ON UPDATE CASCADE,
  CONSTRAINT fk_3 FOREIGN KEY (c3) REFERENCES parent (a) ON DELETE CASCADE ON UPDATE SET NULL,
  CONSTRAINT fk_4 FOREIGN KEY (c4) REFERENCES parent (a) ON DELETE SET NULL ON UPDATE SET DEFAULT,
  CONSTRAINT fk_5 FOREIGN KEY (c5) REFERENCES parent (a) ON DELETE SET DEFAULT ON UPDATE NO ACTION,
  CONSTRAINT fk_ab FOREIGN KEY (x, y) REFERENCES parent (a, b));
)sql";

// The foreign key of `table` whose first column is `column`.
inline ORXForeignKey* foreignKeyFrom(const ORXClass* table, const std::string& column) {
    for (int i = 0; i < table->getKeyCount(); ++i) {
        auto* key = dynamic_cast<ORXForeignKey*>(table->getKey(i));
        if (key && key->getAttributeCount() > 0 && key->getAttribute(0)->getName() == column)
            return key;
    }
    return nullptr;
}

// Checks the tables a source read from kReferenceSchema: the rules of each
// reference (no action 1, cascade 2, restrict 3, set null 4, set default 5)
// and the key that the two-column foreign key references.
inline void expectReferenceSchema(const ORXClass* parent, const ORXClass* child) {
    ASSERT_TRUE(parent && child);
    struct Rules {
        const char* column;
        int deleteRule, updateRule;
    };
    for (const Rules& r : {Rules{"c1", 1, 3}, Rules{"c2", 3, 2}, Rules{"c3", 2, 4},
                           Rules{"c4", 4, 5}, Rules{"c5", 5, 1}}) {
        SCOPED_TRACE(r.column);
        ORXForeignKey* key = foreignKeyFrom(child, r.column);
        ASSERT_TRUE(key && key->getAssociationRole());
        EXPECT_EQ(key->getCandidateKey(), parent->getPrimaryKey());
        EXPECT_EQ(key->getAssociationRole()->getDeleteRule(), r.deleteRule);
        EXPECT_EQ(key->getAssociationRole()->getUpdateRule(), r.updateRule);
    }
    // (x, y) references the unique key (a, b), not the primary key (a).
    ORXForeignKey* composite = foreignKeyFrom(child, "x");
    ASSERT_TRUE(composite && composite->getCandidateKey() && parent->getPrimaryKey());
    EXPECT_NE(composite->getCandidateKey(), parent->getPrimaryKey());
    ASSERT_EQ(composite->getCandidateKey()->getAttributeCount(), 2);
    EXPECT_EQ(composite->getCandidateKey()->getAttribute(0)->getName(), "a");
    EXPECT_EQ(composite->getCandidateKey()->getAttribute(1)->getName(), "b");
    ASSERT_EQ(composite->getAttributeCount(), 2);
    EXPECT_EQ(composite->getAttribute(1)->getName(), "y");
}

}  // namespace pdmtest
