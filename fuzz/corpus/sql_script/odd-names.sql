CREATE TABLE "x""y" ("é" INT CHECK ("é" > 0), "�" TEXT DEFAULT ('[2J'));
