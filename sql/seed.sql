-- Quorvantile 3: what comes with a new database.
-- Loaded once after schema.sql: the administrator, the rubric trees of the three
-- resource kinds and the reserved "Корзина" rows.
-- Every statement ends with a semicolon at the end of its line and no other line does.

-- The administrator has user_id 0. A zero written into an AUTO_INCREMENT column
-- would otherwise draw the next number, so the session keeps zero for this one
-- insert and then gets its previous mode back.
SET @qv_saved_sql_mode = @@SESSION.sql_mode;
SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_AUTO_VALUE_ON_ZERO');
INSERT INTO users (user_id, user_login, user_password, user_active, user_email, user_fio) VALUES (0, 'admin', 'admin', '1', '', 'Администратор');
SET SESSION sql_mode = @qv_saved_sql_mode;

-- Rubrics of web catalogs, search engines and message boards.
-- Parents come first: the navigator builds the tree in table order.
-- The root "Корзина" is shown last in the navigator.
INSERT INTO csubjects (csubject_id, csubject_pid, csubject_name) VALUES
(1, 0, 'Бизнес и экономика'),
(2, 0, 'Интернет и компьютеры'),
(3, 0, 'Культура и развлечения'),
(4, 0, 'Образование и наука'),
(5, 0, 'Доски объявлений'),
(6, 0, 'Корзина'),
(7, 1, 'Финансы и банки'),
(8, 1, 'Торговля и магазины'),
(9, 1, 'Реклама и маркетинг'),
(10, 2, 'Веб-дизайн и хостинг'),
(11, 2, 'Каталоги и поисковые системы'),
(12, 2, 'Программное обеспечение'),
(13, 3, 'Музыка и кино'),
(14, 3, 'Путешествия и туризм'),
(15, 4, 'Учебные заведения'),
(16, 4, 'Справочники и энциклопедии'),
(17, 5, 'Общероссийские доски'),
(18, 5, 'Региональные доски');

-- Forum themes.
INSERT INTO fsubjects (fsubject_id, fsubject_pid, fsubject_name) VALUES
(1, 0, 'Компьютеры и интернет'),
(2, 0, 'Бизнес и работа'),
(3, 0, 'Общество и увлечения'),
(4, 0, 'Корзина'),
(5, 1, 'Веб-мастеринг и раскрутка сайтов'),
(6, 1, 'Программирование'),
(7, 1, 'Железо и сети'),
(8, 2, 'Фриланс и удалённая работа'),
(9, 2, 'Малый бизнес'),
(10, 2, 'Реклама и продажи'),
(11, 3, 'Авто и мото'),
(12, 3, 'Путешествия'),
(13, 3, 'Дом и семья');

-- Software categories of the software archives.
INSERT INTO ssubjects (ssubject_id, ssubject_pid, ssubject_name) VALUES
(1, 0, 'Интернет и сеть'),
(2, 0, 'Мультимедиа'),
(3, 0, 'Системные утилиты'),
(4, 0, 'Офис и бизнес'),
(5, 0, 'Разработка'),
(6, 0, 'Корзина'),
(7, 1, 'Браузеры и дополнения'),
(8, 1, 'Почтовые клиенты'),
(9, 1, 'Загрузка файлов'),
(10, 2, 'Аудио'),
(11, 2, 'Видео'),
(12, 2, 'Графика и дизайн'),
(13, 3, 'Обслуживание системы'),
(14, 3, 'Безопасность и антивирусы'),
(15, 4, 'Бухгалтерия и финансы'),
(16, 4, 'Текстовые редакторы'),
(17, 5, 'Среды разработки'),
(18, 5, 'Веб-разработка');

-- The reserved "Корзина" resource of each kind: it stays in the base, filtered
-- lists leave it out, and it stands in the rubric of the same name.
INSERT INTO catalogs (catalog_name, catalog_title, catalog_description, catalog_pr, catalog_tic, catalog_moderate, catalog_need_burl, catalog_redirect, catalog_datetime_add, catalog_user_id_add, catalog_subjects) VALUES ('Корзина', 'Корзина', 'Служебная запись для удалённых каталогов', '-', '-', '1', '0', '0', '2024-01-01 00:00:00', '0', '6 ');
INSERT INTO csubjects2catalogs (s2c_catalog_id, s2c_subject_id) SELECT catalog_id, 6 FROM catalogs WHERE catalog_name = 'Корзина';
INSERT INTO forums (forum_name, forum_title, forum_description, forum_pr, forum_tic, forum_moderate, forum_need_burl, forum_redirect, forum_datetime_add, forum_user_id_add, forum_subjects) VALUES ('Корзина', 'Корзина', 'Служебная запись для удалённых форумов', '-', '-', '1', '0', '0', '2024-01-01 00:00:00', '0', '4 ');
INSERT INTO fsubjects2forums (s2f_forum_id, s2f_subject_id) SELECT forum_id, 4 FROM forums WHERE forum_name = 'Корзина';
INSERT INTO soft (soft_name, soft_title, soft_pr, soft_tic, soft_moderate, soft_datetime_add, soft_user_id_add, soft_subjects) VALUES ('Корзина', 'Корзина', '-', '-', '1', '2024-01-01 00:00:00', '0', '6 ');
INSERT INTO ssubjects2soft (s2s_soft_id, s2s_subject_id) SELECT soft_id, 6 FROM soft WHERE soft_name = 'Корзина';
