-- The tables come from data/schema.sql, which the build feeds to sqlite3 first.
-- Demo course "Основы электрических цепей": turned into db1.sqlite by
--   cat data/schema.sql demo/seed.sql | sqlite3 db1.sqlite
-- Paths are relative to the course folder and use backslashes, as the
-- course editor stores them; NULL means the lesson has no such file.
BEGIN TRANSACTION;


-- Lesson 1: a page only.
INSERT INTO urok VALUES ('Урок 1. Ток, напряжение и сопротивление',
  'uroki\urok1.htm', NULL, NULL, NULL, NULL, NULL, NULL);
-- Lesson 2: every kind of attachment, so every menu command is enabled.
INSERT INTO urok VALUES ('Урок 2. Закон Ома для участка цепи',
  'uroki\urok2.mht', 'kartinki\shema1.bmp', 'video\lampa.avi', 'testy\urok1\otwet.txt',
  'muzyka\melodiya.mid', 'zvuk\urok2.wav', 'programmy\ohm-trainer');
-- Lesson 3: a page and a picture.
INSERT INTO urok VALUES ('Урок 3. Последовательное соединение',
  'uroki\urok3.htm', 'kartinki\posled.bmp', NULL, NULL, NULL, NULL, NULL);
-- Lesson 4: a page and its own test.
INSERT INTO urok VALUES ('Урок 4. Параллельное соединение',
  'uroki\urok4.mht', NULL, NULL, 'testy\urok2\otwet.txt', NULL, NULL, NULL);
-- Lesson 5: a page only.
INSERT INTO urok VALUES ('Урок 5. Законы Кирхгофа',
  'uroki\urok5.htm', NULL, NULL, NULL, NULL, NULL, NULL);
-- Lesson 6: a page and a melody.
INSERT INTO urok VALUES ('Урок 6. Работа и мощность тока',
  'uroki\urok6.mht', NULL, NULL, NULL, 'muzyka\melodiya.mid', NULL, NULL);
-- Lesson 7: a page and a photo-like drawing of a multimeter.
INSERT INTO urok VALUES ('Урок 7. Электроизмерительные приборы',
  'uroki\urok7.mht', 'kartinki\multimetr.jpg', NULL, NULL, NULL, NULL, NULL);
-- Lesson 8: a page and a spoken reminder.
INSERT INTO urok VALUES ('Урок 8. Электробезопасность',
  'uroki\urok8.htm', NULL, NULL, NULL, NULL, 'zvuk\bezopasnost.wav', NULL);
-- Final test: no page of its own (empty htm shows the cover page).
INSERT INTO urok VALUES ('Итоговое тестирование',
  '', NULL, NULL, 'testy\urok1\otwet.txt', NULL, NULL, NULL);

-- A few journal rows: ocenka 0 is a visit, otherwise the test result in percent.
INSERT INTO jurnal (urok, data, ocenka, fio, gruppa) VALUES
  ('Урок 1. Ток, напряжение и сопротивление', '2024-09-02', 0, 'Иванов Сергей Петрович', 'ПИ-21'),
  ('Урок 2. Закон Ома для участка цепи', '2024-09-09', 85, 'Иванов Сергей Петрович', 'ПИ-21'),
  ('Урок 4. Параллельное соединение', '2024-09-16', 70, 'Смирнова Анна Викторовна', 'ПИ-21'),
  ('Урок 7. Электроизмерительные приборы', '2024-09-23', 0, 'Кузнецов Дмитрий Олегович', 'ЭС-12'),
  ('Итоговое тестирование', '2024-10-07', 92, 'Смирнова Анна Викторовна', 'ПИ-21');

-- The teacher's password is "1234", kept as a libsodium crypto_pwhash_str hash
-- (argon2id, interactive limits). Check it with crypto_pwhash_str_verify.
INSERT INTO pas VALUES ('$argon2id$v=19$m=65536,t=2,p=1$PUAx+MzvN3kwNgq/hxuXdA$YL6o1P0RYx1LOvsy/dq89a8694apdw2bCWHFXz+f2H8');

COMMIT;
