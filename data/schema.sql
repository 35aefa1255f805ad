-- The course database. Table and column names are fixed: course tools and
-- other copies of the program read the same file.
CREATE TABLE IF NOT EXISTS urok (urok TEXT, htm TEXT, jpg TEXT, avi TEXT, test TEXT, mid TEXT, wav TEXT, exe TEXT);
CREATE TABLE IF NOT EXISTS jurnal ("код" INTEGER PRIMARY KEY AUTOINCREMENT, urok TEXT, data TEXT, ocenka INTEGER, fio TEXT, gruppa TEXT);
CREATE TABLE IF NOT EXISTS pas (pas TEXT);
