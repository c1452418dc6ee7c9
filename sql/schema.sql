-- Quorvantile 3: database schema.
-- Creates every table of the program in the current database (no database is
-- created or selected here). Loaded once into a new database, before seed.sql.
--
-- Conventions kept throughout:
--   * InnoDB, utf8mb4 with utf8mb4_unicode_520_ci, so names compare case-insensitively.
--   * No foreign keys and no unique keys: the program checks uniqueness itself.
--   * Every column a list, join or lookup filters on carries an index.
--   * The program writes almost everything as text, flags, PR and TIC included
--     (they may hold '', '-' or '?'); text columns default to '' so that an
--     INSERT naming only some columns is accepted in strict SQL mode.
--   * Where the program reads a row by position, the column order below is the
--     order that reader expects; keep it when adding columns (add at the end).
--   * The file is split into statements line by line: every statement ends
--     with a semicolon at the end of its line and no other line does.

-- Program users. Read by position: id, login, password, active, e-mail, full name.
-- user_id 0 is the administrator (see seed.sql).
CREATE TABLE `users` (
  `user_id` INT NOT NULL AUTO_INCREMENT,
  `user_login` VARCHAR(255) NOT NULL DEFAULT '',
  `user_password` VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_nopad_bin NOT NULL DEFAULT '',
  `user_active` VARCHAR(16) NOT NULL DEFAULT '',
  `user_email` VARCHAR(255) NOT NULL DEFAULT '',
  `user_fio` VARCHAR(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`user_id`),
  KEY `idx_user_login` (`user_login`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Projects: one promoted site or program each.
-- Read by position in its first three columns (id, name, site address),
-- the rest by name: contact data, default site login, SMTP account.
CREATE TABLE `projects` (
  `project_id` INT NOT NULL AUTO_INCREMENT,
  `project_name` VARCHAR(255) NOT NULL DEFAULT '',
  `project_url` TEXT NOT NULL DEFAULT '',
  `project_fio` TEXT NOT NULL DEFAULT '',
  `project_email` TEXT NOT NULL DEFAULT '',
  `project_company` TEXT NOT NULL DEFAULT '',
  `project_tel` TEXT NOT NULL DEFAULT '',
  `project_fax` TEXT NOT NULL DEFAULT '',
  `project_city` TEXT NOT NULL DEFAULT '',
  `project_country` TEXT NOT NULL DEFAULT '',
  `project_address` TEXT NOT NULL DEFAULT '',
  `project_burl` TEXT NOT NULL DEFAULT '',
  `project_config_deflogin` VARCHAR(255) NOT NULL DEFAULT '',
  `project_smtp_username` VARCHAR(255) NOT NULL DEFAULT '',
  `project_smtp_password` VARCHAR(255) NOT NULL DEFAULT '',
  `project_smtp_host` VARCHAR(255) NOT NULL DEFAULT '',
  `project_smtp_port` VARCHAR(32) NOT NULL DEFAULT '',
  PRIMARY KEY (`project_id`),
  KEY `idx_project_name` (`project_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Site descriptions and board ads of a project. The name is the second column.
-- The *_ keyword columns hold the keyword texts with commas replaced by blanks,
-- and f, i, o are the parts of the full name.
CREATE TABLE `cmaterials` (
  `cmaterial_id` INT NOT NULL AUTO_INCREMENT,
  `cmaterial_name` VARCHAR(255) NOT NULL DEFAULT '',
  `cmaterial_project_id` INT NOT NULL DEFAULT 0,
  `cmaterial_url` TEXT NOT NULL DEFAULT '',
  `cmaterial_categories` TEXT NOT NULL DEFAULT '',
  `cmaterial_title` TEXT NOT NULL DEFAULT '',
  `cmaterial_title200` TEXT NOT NULL DEFAULT '',
  `cmaterial_title100` TEXT NOT NULL DEFAULT '',
  `cmaterial_title50` TEXT NOT NULL DEFAULT '',
  `cmaterial_description` MEDIUMTEXT NOT NULL DEFAULT '',
  `cmaterial_description500` TEXT NOT NULL DEFAULT '',
  `cmaterial_description250` TEXT NOT NULL DEFAULT '',
  `cmaterial_description100` TEXT NOT NULL DEFAULT '',
  `cmaterial_keywords` TEXT NOT NULL DEFAULT '',
  `cmaterial_keywords500` TEXT NOT NULL DEFAULT '',
  `cmaterial_keywords250` TEXT NOT NULL DEFAULT '',
  `cmaterial_keywords100` TEXT NOT NULL DEFAULT '',
  `cmaterial_keywords_` TEXT NOT NULL DEFAULT '',
  `cmaterial_keywords500_` TEXT NOT NULL DEFAULT '',
  `cmaterial_keywords250_` TEXT NOT NULL DEFAULT '',
  `cmaterial_keywords100_` TEXT NOT NULL DEFAULT '',
  `cmaterial_burl` TEXT NOT NULL DEFAULT '',
  `cmaterial_fio` TEXT NOT NULL DEFAULT '',
  `cmaterial_f` TEXT NOT NULL DEFAULT '',
  `cmaterial_i` TEXT NOT NULL DEFAULT '',
  `cmaterial_o` TEXT NOT NULL DEFAULT '',
  `cmaterial_email` TEXT NOT NULL DEFAULT '',
  `cmaterial_company` TEXT NOT NULL DEFAULT '',
  `cmaterial_tel` TEXT NOT NULL DEFAULT '',
  `cmaterial_fax` TEXT NOT NULL DEFAULT '',
  `cmaterial_city` TEXT NOT NULL DEFAULT '',
  `cmaterial_country` TEXT NOT NULL DEFAULT '',
  `cmaterial_address` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`cmaterial_id`),
  KEY `idx_cmaterial_name` (`cmaterial_name`),
  KEY `idx_cmaterial_project_id` (`cmaterial_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Forum press releases of a project. The name is the second column.
CREATE TABLE `fmaterials` (
  `fmaterial_id` INT NOT NULL AUTO_INCREMENT,
  `fmaterial_name` VARCHAR(255) NOT NULL DEFAULT '',
  `fmaterial_project_id` INT NOT NULL DEFAULT 0,
  `fmaterial_title` TEXT NOT NULL DEFAULT '',
  `fmaterial_stitle` TEXT NOT NULL DEFAULT '',
  `fmaterial_description` MEDIUMTEXT NOT NULL DEFAULT '',
  `fmaterial_fio` TEXT NOT NULL DEFAULT '',
  `fmaterial_f` TEXT NOT NULL DEFAULT '',
  `fmaterial_i` TEXT NOT NULL DEFAULT '',
  `fmaterial_o` TEXT NOT NULL DEFAULT '',
  `fmaterial_email` TEXT NOT NULL DEFAULT '',
  `fmaterial_company` TEXT NOT NULL DEFAULT '',
  `fmaterial_tel` TEXT NOT NULL DEFAULT '',
  `fmaterial_fax` TEXT NOT NULL DEFAULT '',
  `fmaterial_city` TEXT NOT NULL DEFAULT '',
  `fmaterial_country` TEXT NOT NULL DEFAULT '',
  `fmaterial_url` TEXT NOT NULL DEFAULT '',
  `fmaterial_burl` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`fmaterial_id`),
  KEY `idx_fmaterial_name` (`fmaterial_name`),
  KEY `idx_fmaterial_project_id` (`fmaterial_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Mailing letters of a project. The name is the second column.
CREATE TABLE `omaterials` (
  `omaterial_id` INT NOT NULL AUTO_INCREMENT,
  `omaterial_name` VARCHAR(255) NOT NULL DEFAULT '',
  `omaterial_project_id` INT NOT NULL DEFAULT 0,
  `omaterial_subject` TEXT NOT NULL DEFAULT '',
  `omaterial_body_text` MEDIUMTEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`omaterial_id`),
  KEY `idx_omaterial_name` (`omaterial_name`),
  KEY `idx_omaterial_project_id` (`omaterial_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Software versions of a project (PAD data), one row per version.
-- The two dates are kept as text: the release date is 'yyyy-mm-dd' once saved
-- and NULL before the first save; the expiry date is 'yyyy-mm-dd' or ''.
-- Then the keywords and five graded descriptions for each of 23 languages
-- (138 columns), and the four file names read by the PAD export.
-- Nearly everything is TEXT to stay far below the row size limit.
CREATE TABLE `smaterials` (
  `smaterial_id` INT NOT NULL AUTO_INCREMENT,
  `smaterial_name` VARCHAR(255) NOT NULL DEFAULT '',
  `smaterial_project_id` INT NOT NULL DEFAULT 0,
  `smaterial_company` TEXT NOT NULL DEFAULT '',
  `smaterial_Address1` TEXT NOT NULL DEFAULT '',
  `smaterial_Address2` TEXT NOT NULL DEFAULT '',
  `smaterial_City` TEXT NOT NULL DEFAULT '',
  `smaterial_State` TEXT NOT NULL DEFAULT '',
  `smaterial_ZIP` TEXT NOT NULL DEFAULT '',
  `smaterial_Country` TEXT NOT NULL DEFAULT '',
  `smaterial_AFirstName` TEXT NOT NULL DEFAULT '',
  `smaterial_ALastName` TEXT NOT NULL DEFAULT '',
  `smaterial_AEmail` TEXT NOT NULL DEFAULT '',
  `smaterial_CFirstName` TEXT NOT NULL DEFAULT '',
  `smaterial_CLastName` TEXT NOT NULL DEFAULT '',
  `smaterial_CEmail` TEXT NOT NULL DEFAULT '',
  `smaterial_GEmail` TEXT NOT NULL DEFAULT '',
  `smaterial_GPhone` TEXT NOT NULL DEFAULT '',
  `smaterial_GFAX` TEXT NOT NULL DEFAULT '',
  `smaterial_SEmail` TEXT NOT NULL DEFAULT '',
  `smaterial_SPhone` TEXT NOT NULL DEFAULT '',
  `smaterial_SaEmail` TEXT NOT NULL DEFAULT '',
  `smaterial_SaPhone` TEXT NOT NULL DEFAULT '',
  `smaterial_softname` TEXT NOT NULL DEFAULT '',
  `smaterial_version` TEXT NOT NULL DEFAULT '',
  `smaterial_releasedate` VARCHAR(32) NULL DEFAULT NULL,
  `smaterial_type` TEXT NOT NULL DEFAULT '',
  `smaterial_releasestatus` TEXT NOT NULL DEFAULT '',
  `smaterial_cost` TEXT NOT NULL DEFAULT '',
  `smaterial_rcost` TEXT NOT NULL DEFAULT '',
  `smaterial_install` TEXT NOT NULL DEFAULT '',
  `smaterial_Languages` TEXT NOT NULL DEFAULT '',
  `smaterial_bsize` TEXT NOT NULL DEFAULT '',
  `smaterial_ksize` TEXT NOT NULL DEFAULT '',
  `smaterial_msize` TEXT NOT NULL DEFAULT '',
  `smaterial_CategoryClass` TEXT NOT NULL DEFAULT '',
  `smaterial_Changes` TEXT NOT NULL DEFAULT '',
  `smaterial_Req` TEXT NOT NULL DEFAULT '',
  `smaterial_OS` TEXT NOT NULL DEFAULT '',
  `smaterial_ExpExists` TEXT NOT NULL DEFAULT '',
  `smaterial_ExpDays` TEXT NOT NULL DEFAULT '',
  `smaterial_ExpUses` TEXT NOT NULL DEFAULT '',
  `smaterial_ExpOther` TEXT NOT NULL DEFAULT '',
  `smaterial_ExpDate` VARCHAR(32) NOT NULL DEFAULT '',
  `smaterial_URLSite` TEXT NOT NULL DEFAULT '',
  `smaterial_URLDownload` TEXT NOT NULL DEFAULT '',
  `smaterial_URLScreenShot` TEXT NOT NULL DEFAULT '',
  `smaterial_URLPAD` TEXT NOT NULL DEFAULT '',
  `smaterial_URLOrder` TEXT NOT NULL DEFAULT '',
  `smaterial_URLIcon` TEXT NOT NULL DEFAULT '',
  `smaterial_URLInfo` TEXT NOT NULL DEFAULT '',
  `smaterial_URLSecDownload` TEXT NOT NULL DEFAULT '',
  `smaterial_URLDownload1` TEXT NOT NULL DEFAULT '',
  `smaterial_URLDownload2` TEXT NOT NULL DEFAULT '',
  `smaterial_Category` TEXT NOT NULL DEFAULT '',
  `smaterial_CategoryPossible` TEXT NOT NULL DEFAULT '',
  `smaterial_VFilename` TEXT NOT NULL DEFAULT '',
  `smaterial_PFilename` TEXT NOT NULL DEFAULT '',
  `smaterial_GFilename` TEXT NOT NULL DEFAULT '',
  `smaterial_LFilename` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_English` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_English` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_English` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_English` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_English` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_English` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Arabic` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Arabic` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Arabic` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Arabic` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Arabic` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Arabic` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_ChineseSimplified` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_ChineseSimplified` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_ChineseSimplified` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_ChineseSimplified` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_ChineseSimplified` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_ChineseSimplified` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_ChineseTraditional` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_ChineseTraditional` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_ChineseTraditional` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_ChineseTraditional` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_ChineseTraditional` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_ChineseTraditional` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Czech` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Czech` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Czech` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Czech` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Czech` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Czech` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Danish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Danish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Danish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Danish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Danish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Danish` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Finnish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Finnish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Finnish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Finnish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Finnish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Finnish` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_French` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_French` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_French` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_French` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_French` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_French` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_German` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_German` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_German` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_German` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_German` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_German` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Greek` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Greek` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Greek` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Greek` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Greek` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Greek` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Hindi` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Hindi` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Hindi` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Hindi` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Hindi` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Hindi` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Hungarian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Hungarian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Hungarian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Hungarian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Hungarian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Hungarian` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Italian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Italian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Italian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Italian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Italian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Italian` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Japanese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Japanese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Japanese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Japanese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Japanese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Japanese` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Korean` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Korean` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Korean` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Korean` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Korean` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Korean` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Other` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Other` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Other` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Other` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Other` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Other` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Polish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Polish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Polish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Polish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Polish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Polish` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Portuguese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Portuguese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Portuguese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Portuguese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Portuguese` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Portuguese` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Romanian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Romanian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Romanian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Romanian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Romanian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Romanian` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Russian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Russian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Russian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Russian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Russian` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Russian` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Spanish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Spanish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Spanish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Spanish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Spanish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Spanish` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Swedish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Swedish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Swedish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Swedish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Swedish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Swedish` TEXT NOT NULL DEFAULT '',
  `smaterial_Keywords_Turkish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description45_Turkish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description80_Turkish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description250_Turkish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description450_Turkish` TEXT NOT NULL DEFAULT '',
  `smaterial_Description2000_Turkish` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`smaterial_id`),
  KEY `idx_smaterial_name` (`smaterial_name`),
  KEY `idx_smaterial_project_id` (`smaterial_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Web catalogs, search engines and message boards.
-- The id is the first column and the title the third (both read by position).
-- Flags hold '0'/'1'; PR and TIC are texts. Stamps are kept as the text
-- 'yyyy-mm-dd hh:mm:ss' because the base update writes whatever the service sends.
-- catalog_subjects is the rubric id list, e.g. '3: 7: 12 '.
-- The *_site columns are the field mapping: for each cmaterials column a
-- comma-separated list of form field names that receive it; the two
-- *_PROGRAM columns list the fields for the site login and password.
CREATE TABLE `catalogs` (
  `catalog_id` INT NOT NULL AUTO_INCREMENT,
  `catalog_name` VARCHAR(255) NOT NULL DEFAULT '',
  `catalog_title` TEXT NOT NULL DEFAULT '',
  `catalog_description` MEDIUMTEXT NOT NULL DEFAULT '',
  `catalog_url` TEXT NOT NULL DEFAULT '',
  `catalog_aurl` TEXT NOT NULL DEFAULT '',
  `catalog_purl` TEXT NOT NULL DEFAULT '',
  `catalog_pr` VARCHAR(16) NOT NULL DEFAULT '',
  `catalog_tic` VARCHAR(16) NOT NULL DEFAULT '',
  `catalog_moderate` VARCHAR(16) NOT NULL DEFAULT '0',
  `catalog_need_burl` VARCHAR(16) NOT NULL DEFAULT '',
  `catalog_redirect` VARCHAR(16) NOT NULL DEFAULT '',
  `catalog_datetime_add` VARCHAR(32) NOT NULL DEFAULT '',
  `catalog_user_id_add` VARCHAR(16) NOT NULL DEFAULT '',
  `catalog_datetime_edit` VARCHAR(32) NOT NULL DEFAULT '',
  `catalog_user_id_edit` VARCHAR(16) NOT NULL DEFAULT '',
  `catalog_subjects` TEXT NOT NULL DEFAULT '',
  `catalog_ad_url` TEXT NOT NULL DEFAULT '',
  `catalog_ad_nurl` TEXT NOT NULL DEFAULT '',
  `CATALOG_LOGIN_PROGRAM` TEXT NOT NULL DEFAULT '',
  `CATALOG_PASSWORD_PROGRAM` TEXT NOT NULL DEFAULT '',
  `catalog_url_site` TEXT NOT NULL DEFAULT '',
  `catalog_categories_site` TEXT NOT NULL DEFAULT '',
  `catalog_title_site` TEXT NOT NULL DEFAULT '',
  `catalog_title200_site` TEXT NOT NULL DEFAULT '',
  `catalog_title100_site` TEXT NOT NULL DEFAULT '',
  `catalog_title50_site` TEXT NOT NULL DEFAULT '',
  `catalog_description_site` TEXT NOT NULL DEFAULT '',
  `catalog_description500_site` TEXT NOT NULL DEFAULT '',
  `catalog_description250_site` TEXT NOT NULL DEFAULT '',
  `catalog_description100_site` TEXT NOT NULL DEFAULT '',
  `catalog_keywords_site` TEXT NOT NULL DEFAULT '',
  `catalog_keywords500_site` TEXT NOT NULL DEFAULT '',
  `catalog_keywords250_site` TEXT NOT NULL DEFAULT '',
  `catalog_keywords100_site` TEXT NOT NULL DEFAULT '',
  `catalog_keywords__site` TEXT NOT NULL DEFAULT '',
  `catalog_keywords500__site` TEXT NOT NULL DEFAULT '',
  `catalog_keywords250__site` TEXT NOT NULL DEFAULT '',
  `catalog_keywords100__site` TEXT NOT NULL DEFAULT '',
  `catalog_burl_site` TEXT NOT NULL DEFAULT '',
  `catalog_fio_site` TEXT NOT NULL DEFAULT '',
  `catalog_f_site` TEXT NOT NULL DEFAULT '',
  `catalog_i_site` TEXT NOT NULL DEFAULT '',
  `catalog_o_site` TEXT NOT NULL DEFAULT '',
  `catalog_email_site` TEXT NOT NULL DEFAULT '',
  `catalog_company_site` TEXT NOT NULL DEFAULT '',
  `catalog_tel_site` TEXT NOT NULL DEFAULT '',
  `catalog_fax_site` TEXT NOT NULL DEFAULT '',
  `catalog_city_site` TEXT NOT NULL DEFAULT '',
  `catalog_country_site` TEXT NOT NULL DEFAULT '',
  `catalog_address_site` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`catalog_id`),
  KEY `idx_catalog_name` (`catalog_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Forums. Same layout as catalogs; the mapping columns follow fmaterials.
CREATE TABLE `forums` (
  `forum_id` INT NOT NULL AUTO_INCREMENT,
  `forum_name` VARCHAR(255) NOT NULL DEFAULT '',
  `forum_title` TEXT NOT NULL DEFAULT '',
  `forum_description` MEDIUMTEXT NOT NULL DEFAULT '',
  `forum_url` TEXT NOT NULL DEFAULT '',
  `forum_aurl` TEXT NOT NULL DEFAULT '',
  `forum_purl` TEXT NOT NULL DEFAULT '',
  `forum_pr` VARCHAR(16) NOT NULL DEFAULT '',
  `forum_tic` VARCHAR(16) NOT NULL DEFAULT '',
  `forum_moderate` VARCHAR(16) NOT NULL DEFAULT '0',
  `forum_need_burl` VARCHAR(16) NOT NULL DEFAULT '',
  `forum_redirect` VARCHAR(16) NOT NULL DEFAULT '',
  `forum_datetime_add` VARCHAR(32) NOT NULL DEFAULT '',
  `forum_user_id_add` VARCHAR(16) NOT NULL DEFAULT '',
  `forum_datetime_edit` VARCHAR(32) NOT NULL DEFAULT '',
  `forum_user_id_edit` VARCHAR(16) NOT NULL DEFAULT '',
  `forum_subjects` TEXT NOT NULL DEFAULT '',
  `forum_ad_url` TEXT NOT NULL DEFAULT '',
  `forum_ad_nurl` TEXT NOT NULL DEFAULT '',
  `FORUM_LOGIN_PROGRAM` TEXT NOT NULL DEFAULT '',
  `FORUM_PASSWORD_PROGRAM` TEXT NOT NULL DEFAULT '',
  `forum_title_site` TEXT NOT NULL DEFAULT '',
  `forum_stitle_site` TEXT NOT NULL DEFAULT '',
  `forum_description_site` TEXT NOT NULL DEFAULT '',
  `forum_fio_site` TEXT NOT NULL DEFAULT '',
  `forum_f_site` TEXT NOT NULL DEFAULT '',
  `forum_i_site` TEXT NOT NULL DEFAULT '',
  `forum_o_site` TEXT NOT NULL DEFAULT '',
  `forum_email_site` TEXT NOT NULL DEFAULT '',
  `forum_company_site` TEXT NOT NULL DEFAULT '',
  `forum_tel_site` TEXT NOT NULL DEFAULT '',
  `forum_fax_site` TEXT NOT NULL DEFAULT '',
  `forum_city_site` TEXT NOT NULL DEFAULT '',
  `forum_country_site` TEXT NOT NULL DEFAULT '',
  `forum_url_site` TEXT NOT NULL DEFAULT '',
  `forum_burl_site` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`forum_id`),
  KEY `idx_forum_name` (`forum_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Software archives. Same layout as catalogs without description, the two
-- link flags and the login columns; the mapping columns follow smaterials
-- (PAD data and the per-language texts).
CREATE TABLE `soft` (
  `soft_id` INT NOT NULL AUTO_INCREMENT,
  `soft_name` VARCHAR(255) NOT NULL DEFAULT '',
  `soft_title` TEXT NOT NULL DEFAULT '',
  `soft_url` TEXT NOT NULL DEFAULT '',
  `soft_aurl` TEXT NOT NULL DEFAULT '',
  `soft_purl` TEXT NOT NULL DEFAULT '',
  `soft_pr` VARCHAR(16) NOT NULL DEFAULT '',
  `soft_tic` VARCHAR(16) NOT NULL DEFAULT '',
  `soft_moderate` VARCHAR(16) NOT NULL DEFAULT '0',
  `soft_datetime_add` VARCHAR(32) NOT NULL DEFAULT '',
  `soft_user_id_add` VARCHAR(16) NOT NULL DEFAULT '',
  `soft_datetime_edit` VARCHAR(32) NOT NULL DEFAULT '',
  `soft_user_id_edit` VARCHAR(16) NOT NULL DEFAULT '',
  `soft_subjects` TEXT NOT NULL DEFAULT '',
  `soft_ad_url` TEXT NOT NULL DEFAULT '',
  `soft_ad_nurl` TEXT NOT NULL DEFAULT '',
  `soft_company_site` TEXT NOT NULL DEFAULT '',
  `soft_Address1_site` TEXT NOT NULL DEFAULT '',
  `soft_Address2_site` TEXT NOT NULL DEFAULT '',
  `soft_City_site` TEXT NOT NULL DEFAULT '',
  `soft_State_site` TEXT NOT NULL DEFAULT '',
  `soft_ZIP_site` TEXT NOT NULL DEFAULT '',
  `soft_Country_site` TEXT NOT NULL DEFAULT '',
  `soft_AFirstName_site` TEXT NOT NULL DEFAULT '',
  `soft_ALastName_site` TEXT NOT NULL DEFAULT '',
  `soft_AEmail_site` TEXT NOT NULL DEFAULT '',
  `soft_CFirstName_site` TEXT NOT NULL DEFAULT '',
  `soft_CLastName_site` TEXT NOT NULL DEFAULT '',
  `soft_CEmail_site` TEXT NOT NULL DEFAULT '',
  `soft_GEmail_site` TEXT NOT NULL DEFAULT '',
  `soft_GPhone_site` TEXT NOT NULL DEFAULT '',
  `soft_GFAX_site` TEXT NOT NULL DEFAULT '',
  `soft_SEmail_site` TEXT NOT NULL DEFAULT '',
  `soft_SPhone_site` TEXT NOT NULL DEFAULT '',
  `soft_SaEmail_site` TEXT NOT NULL DEFAULT '',
  `soft_SaPhone_site` TEXT NOT NULL DEFAULT '',
  `soft_softname_site` TEXT NOT NULL DEFAULT '',
  `soft_version_site` TEXT NOT NULL DEFAULT '',
  `soft_releasedate_site` TEXT NOT NULL DEFAULT '',
  `soft_type_site` TEXT NOT NULL DEFAULT '',
  `soft_releasestatus_site` TEXT NOT NULL DEFAULT '',
  `soft_cost_site` TEXT NOT NULL DEFAULT '',
  `soft_rcost_site` TEXT NOT NULL DEFAULT '',
  `soft_install_site` TEXT NOT NULL DEFAULT '',
  `soft_Languages_site` TEXT NOT NULL DEFAULT '',
  `soft_bsize_site` TEXT NOT NULL DEFAULT '',
  `soft_ksize_site` TEXT NOT NULL DEFAULT '',
  `soft_msize_site` TEXT NOT NULL DEFAULT '',
  `soft_CategoryClass_site` TEXT NOT NULL DEFAULT '',
  `soft_Changes_site` TEXT NOT NULL DEFAULT '',
  `soft_Req_site` TEXT NOT NULL DEFAULT '',
  `soft_OS_site` TEXT NOT NULL DEFAULT '',
  `soft_ExpExists_site` TEXT NOT NULL DEFAULT '',
  `soft_ExpDays_site` TEXT NOT NULL DEFAULT '',
  `soft_ExpUses_site` TEXT NOT NULL DEFAULT '',
  `soft_ExpOther_site` TEXT NOT NULL DEFAULT '',
  `soft_ExpDate_site` TEXT NOT NULL DEFAULT '',
  `soft_URLSite_site` TEXT NOT NULL DEFAULT '',
  `soft_URLDownload_site` TEXT NOT NULL DEFAULT '',
  `soft_URLScreenShot_site` TEXT NOT NULL DEFAULT '',
  `soft_URLPAD_site` TEXT NOT NULL DEFAULT '',
  `soft_URLOrder_site` TEXT NOT NULL DEFAULT '',
  `soft_URLIcon_site` TEXT NOT NULL DEFAULT '',
  `soft_URLInfo_site` TEXT NOT NULL DEFAULT '',
  `soft_URLSecDownload_site` TEXT NOT NULL DEFAULT '',
  `soft_URLDownload1_site` TEXT NOT NULL DEFAULT '',
  `soft_URLDownload2_site` TEXT NOT NULL DEFAULT '',
  `soft_Category_site` TEXT NOT NULL DEFAULT '',
  `soft_CategoryPossible_site` TEXT NOT NULL DEFAULT '',
  `soft_VFilename_site` TEXT NOT NULL DEFAULT '',
  `soft_PFilename_site` TEXT NOT NULL DEFAULT '',
  `soft_GFilename_site` TEXT NOT NULL DEFAULT '',
  `soft_LFilename_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_English_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_English_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_English_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_English_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_English_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_English_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Arabic_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Arabic_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Arabic_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Arabic_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Arabic_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Arabic_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_ChineseSimplified_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_ChineseSimplified_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_ChineseSimplified_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_ChineseSimplified_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_ChineseSimplified_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_ChineseSimplified_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_ChineseTraditional_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_ChineseTraditional_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_ChineseTraditional_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_ChineseTraditional_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_ChineseTraditional_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_ChineseTraditional_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Czech_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Czech_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Czech_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Czech_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Czech_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Czech_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Danish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Danish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Danish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Danish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Danish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Danish_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Finnish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Finnish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Finnish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Finnish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Finnish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Finnish_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_French_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_French_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_French_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_French_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_French_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_French_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_German_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_German_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_German_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_German_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_German_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_German_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Greek_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Greek_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Greek_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Greek_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Greek_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Greek_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Hindi_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Hindi_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Hindi_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Hindi_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Hindi_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Hindi_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Hungarian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Hungarian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Hungarian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Hungarian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Hungarian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Hungarian_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Italian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Italian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Italian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Italian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Italian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Italian_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Japanese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Japanese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Japanese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Japanese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Japanese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Japanese_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Korean_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Korean_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Korean_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Korean_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Korean_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Korean_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Other_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Other_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Other_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Other_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Other_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Other_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Polish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Polish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Polish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Polish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Polish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Polish_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Portuguese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Portuguese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Portuguese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Portuguese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Portuguese_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Portuguese_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Romanian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Romanian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Romanian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Romanian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Romanian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Romanian_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Russian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Russian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Russian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Russian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Russian_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Russian_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Spanish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Spanish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Spanish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Spanish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Spanish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Spanish_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Swedish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Swedish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Swedish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Swedish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Swedish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Swedish_site` TEXT NOT NULL DEFAULT '',
  `soft_Keywords_Turkish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description45_Turkish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description80_Turkish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description250_Turkish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description450_Turkish_site` TEXT NOT NULL DEFAULT '',
  `soft_Description2000_Turkish_site` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`soft_id`),
  KEY `idx_soft_name` (`soft_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Rubric tree of catalogs. Read by position: id, parent id (0 = root), name.
-- Parents must come before their children in the table's order.
CREATE TABLE `csubjects` (
  `csubject_id` INT NOT NULL AUTO_INCREMENT,
  `csubject_pid` INT NOT NULL DEFAULT 0,
  `csubject_name` VARCHAR(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`csubject_id`),
  KEY `idx_csubject_pid` (`csubject_pid`),
  KEY `idx_csubject_name` (`csubject_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Rubric tree of forums (same layout as csubjects).
CREATE TABLE `fsubjects` (
  `fsubject_id` INT NOT NULL AUTO_INCREMENT,
  `fsubject_pid` INT NOT NULL DEFAULT 0,
  `fsubject_name` VARCHAR(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`fsubject_id`),
  KEY `idx_fsubject_pid` (`fsubject_pid`),
  KEY `idx_fsubject_name` (`fsubject_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Rubric tree of soft (same layout as csubjects).
CREATE TABLE `ssubjects` (
  `ssubject_id` INT NOT NULL AUTO_INCREMENT,
  `ssubject_pid` INT NOT NULL DEFAULT 0,
  `ssubject_name` VARCHAR(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`ssubject_id`),
  KEY `idx_ssubject_pid` (`ssubject_pid`),
  KEY `idx_ssubject_name` (`ssubject_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Rubric membership of resources: one row per resource and rubric.
CREATE TABLE `csubjects2catalogs` (
  `s2c_catalog_id` INT NOT NULL DEFAULT 0,
  `s2c_subject_id` INT NOT NULL DEFAULT 0,
  KEY `idx_s2c_catalog_id` (`s2c_catalog_id`),
  KEY `idx_s2c_subject_id` (`s2c_subject_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `fsubjects2forums` (
  `s2f_forum_id` INT NOT NULL DEFAULT 0,
  `s2f_subject_id` INT NOT NULL DEFAULT 0,
  KEY `idx_s2f_forum_id` (`s2f_forum_id`),
  KEY `idx_s2f_subject_id` (`s2f_subject_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `ssubjects2soft` (
  `s2s_soft_id` INT NOT NULL DEFAULT 0,
  `s2s_subject_id` INT NOT NULL DEFAULT 0,
  KEY `idx_s2s_soft_id` (`s2s_soft_id`),
  KEY `idx_s2s_subject_id` (`s2s_subject_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- User sections per project and kind; id and name are the first two columns.
CREATE TABLE `cgroups` (
  `cgroup_id` INT NOT NULL AUTO_INCREMENT,
  `cgroup_name` VARCHAR(255) NOT NULL DEFAULT '',
  `cgroup_project_id` INT NOT NULL DEFAULT 0,
  PRIMARY KEY (`cgroup_id`),
  KEY `idx_cgroup_name` (`cgroup_name`),
  KEY `idx_cgroup_project_id` (`cgroup_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Members of user sections: one row per section and resource.
CREATE TABLE `cgroups2catalogs` (
  `cg2c_cgroup_id` INT NOT NULL DEFAULT 0,
  `cg2c_catalog_id` INT NOT NULL DEFAULT 0,
  KEY `idx_cg2c_cgroup_id` (`cg2c_cgroup_id`),
  KEY `idx_cg2c_catalog_id` (`cg2c_catalog_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `fgroups` (
  `fgroup_id` INT NOT NULL AUTO_INCREMENT,
  `fgroup_name` VARCHAR(255) NOT NULL DEFAULT '',
  `fgroup_project_id` INT NOT NULL DEFAULT 0,
  PRIMARY KEY (`fgroup_id`),
  KEY `idx_fgroup_name` (`fgroup_name`),
  KEY `idx_fgroup_project_id` (`fgroup_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `fgroups2forums` (
  `fg2f_fgroup_id` INT NOT NULL DEFAULT 0,
  `fg2f_forum_id` INT NOT NULL DEFAULT 0,
  KEY `idx_fg2f_fgroup_id` (`fg2f_fgroup_id`),
  KEY `idx_fg2f_forum_id` (`fg2f_forum_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `sgroups` (
  `sgroup_id` INT NOT NULL AUTO_INCREMENT,
  `sgroup_name` VARCHAR(255) NOT NULL DEFAULT '',
  `sgroup_project_id` INT NOT NULL DEFAULT 0,
  PRIMARY KEY (`sgroup_id`),
  KEY `idx_sgroup_name` (`sgroup_name`),
  KEY `idx_sgroup_project_id` (`sgroup_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `sgroups2soft` (
  `sg2s_sgroup_id` INT NOT NULL DEFAULT 0,
  `sg2s_soft_id` INT NOT NULL DEFAULT 0,
  KEY `idx_sg2s_sgroup_id` (`sg2s_sgroup_id`),
  KEY `idx_sg2s_soft_id` (`sg2s_soft_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Named list filters, global per kind. A filter inserted with its name alone
-- must select everything: tic and pr default to '-1' (no condition) and the
-- four other conditions to '' (any).
CREATE TABLE `cfilters` (
  `cfilter_id` INT NOT NULL AUTO_INCREMENT,
  `cfilter_name` VARCHAR(255) NOT NULL DEFAULT '',
  `cfilter_tic` VARCHAR(16) NOT NULL DEFAULT '-1',
  `cfilter_pr` VARCHAR(16) NOT NULL DEFAULT '-1',
  `cfilter_need_burl` VARCHAR(16) NOT NULL DEFAULT '',
  `cfilter_redirect` VARCHAR(16) NOT NULL DEFAULT '',
  `cfilter_autocheck` VARCHAR(16) NOT NULL DEFAULT '',
  `cfilter_regstatus` VARCHAR(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`cfilter_id`),
  KEY `idx_cfilter_name` (`cfilter_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `ffilters` (
  `ffilter_id` INT NOT NULL AUTO_INCREMENT,
  `ffilter_name` VARCHAR(255) NOT NULL DEFAULT '',
  `ffilter_tic` VARCHAR(16) NOT NULL DEFAULT '-1',
  `ffilter_pr` VARCHAR(16) NOT NULL DEFAULT '-1',
  `ffilter_need_burl` VARCHAR(16) NOT NULL DEFAULT '',
  `ffilter_redirect` VARCHAR(16) NOT NULL DEFAULT '',
  `ffilter_autocheck` VARCHAR(16) NOT NULL DEFAULT '',
  `ffilter_regstatus` VARCHAR(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`ffilter_id`),
  KEY `idx_ffilter_name` (`ffilter_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `sfilters` (
  `sfilter_id` INT NOT NULL AUTO_INCREMENT,
  `sfilter_name` VARCHAR(255) NOT NULL DEFAULT '',
  `sfilter_tic` VARCHAR(16) NOT NULL DEFAULT '-1',
  `sfilter_pr` VARCHAR(16) NOT NULL DEFAULT '-1',
  `sfilter_need_burl` VARCHAR(16) NOT NULL DEFAULT '',
  `sfilter_redirect` VARCHAR(16) NOT NULL DEFAULT '',
  `sfilter_autocheck` VARCHAR(16) NOT NULL DEFAULT '',
  `sfilter_regstatus` VARCHAR(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`sfilter_id`),
  KEY `idx_sfilter_name` (`sfilter_name`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Manual registration statuses: one row per resource and project (forums: per
-- forum and press release). The id is the first column. Status '1' checking,
-- '2' added, '3' refused, '0' reset.
CREATE TABLE `creglog` (
  `crl_id` INT NOT NULL AUTO_INCREMENT,
  `crl_catalog_id` INT NOT NULL DEFAULT 0,
  `crl_project_id` INT NOT NULL DEFAULT 0,
  `crl_user_id` INT NOT NULL DEFAULT 0,
  `crl_datetime` DATETIME NULL DEFAULT NULL,
  `crl_status` VARCHAR(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`crl_id`),
  KEY `idx_crl_catalog_id` (`crl_catalog_id`),
  KEY `idx_crl_project_id` (`crl_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `sreglog` (
  `srl_id` INT NOT NULL AUTO_INCREMENT,
  `srl_soft_id` INT NOT NULL DEFAULT 0,
  `srl_project_id` INT NOT NULL DEFAULT 0,
  `srl_user_id` INT NOT NULL DEFAULT 0,
  `srl_datetime` DATETIME NULL DEFAULT NULL,
  `srl_status` VARCHAR(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`srl_id`),
  KEY `idx_srl_soft_id` (`srl_soft_id`),
  KEY `idx_srl_project_id` (`srl_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Forum statuses belong to a press release (frl_material_id), not to a project.
CREATE TABLE `freglog` (
  `frl_id` INT NOT NULL AUTO_INCREMENT,
  `frl_forum_id` INT NOT NULL DEFAULT 0,
  `frl_material_id` INT NOT NULL DEFAULT 0,
  `frl_user_id` INT NOT NULL DEFAULT 0,
  `frl_datetime` DATETIME NULL DEFAULT NULL,
  `frl_status` VARCHAR(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`frl_id`),
  KEY `idx_frl_forum_id` (`frl_forum_id`),
  KEY `idx_frl_material_id` (`frl_material_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Search-engine check results of the bulk auto-check: one row per resource and
-- project; yandex/google '1' when found, status '1' when either found it.
CREATE TABLE `gcreglog` (
  `gcrl_id` INT NOT NULL AUTO_INCREMENT,
  `gcrl_catalog_id` INT NOT NULL DEFAULT 0,
  `gcrl_project_id` INT NOT NULL DEFAULT 0,
  `gcrl_yandex` VARCHAR(16) NOT NULL DEFAULT '',
  `gcrl_google` VARCHAR(16) NOT NULL DEFAULT '',
  `gcrl_status` VARCHAR(16) NOT NULL DEFAULT '',
  `gcrl_DateTime` DATETIME NULL DEFAULT NULL,
  PRIMARY KEY (`gcrl_id`),
  KEY `idx_gcrl_catalog_id` (`gcrl_catalog_id`),
  KEY `idx_gcrl_project_id` (`gcrl_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `gfreglog` (
  `gfrl_id` INT NOT NULL AUTO_INCREMENT,
  `gfrl_forum_id` INT NOT NULL DEFAULT 0,
  `gfrl_project_id` INT NOT NULL DEFAULT 0,
  `gfrl_yandex` VARCHAR(16) NOT NULL DEFAULT '',
  `gfrl_google` VARCHAR(16) NOT NULL DEFAULT '',
  `gfrl_status` VARCHAR(16) NOT NULL DEFAULT '',
  `gfrl_DateTime` DATETIME NULL DEFAULT NULL,
  PRIMARY KEY (`gfrl_id`),
  KEY `idx_gfrl_forum_id` (`gfrl_forum_id`),
  KEY `idx_gfrl_project_id` (`gfrl_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `gsreglog` (
  `gsrl_id` INT NOT NULL AUTO_INCREMENT,
  `gsrl_soft_id` INT NOT NULL DEFAULT 0,
  `gsrl_project_id` INT NOT NULL DEFAULT 0,
  `gsrl_yandex` VARCHAR(16) NOT NULL DEFAULT '',
  `gsrl_google` VARCHAR(16) NOT NULL DEFAULT '',
  `gsrl_status` VARCHAR(16) NOT NULL DEFAULT '',
  `gsrl_DateTime` DATETIME NULL DEFAULT NULL,
  PRIMARY KEY (`gsrl_id`),
  KEY `idx_gsrl_soft_id` (`gsrl_soft_id`),
  KEY `idx_gsrl_project_id` (`gsrl_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Site logins of the password manager, one row per project and resource.
-- Read by position: id, login, password; then project and resource ids.
CREATE TABLE `cauth` (
  `cauth_id` INT NOT NULL AUTO_INCREMENT,
  `cauth_login` VARCHAR(255) NOT NULL DEFAULT '',
  `cauth_password` VARCHAR(255) NOT NULL DEFAULT '',
  `cauth_project_id` INT NOT NULL DEFAULT 0,
  `cauth_catalog_id` INT NOT NULL DEFAULT 0,
  PRIMARY KEY (`cauth_id`),
  KEY `idx_cauth_project_id` (`cauth_project_id`),
  KEY `idx_cauth_catalog_id` (`cauth_catalog_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `fauth` (
  `fauth_id` INT NOT NULL AUTO_INCREMENT,
  `fauth_login` VARCHAR(255) NOT NULL DEFAULT '',
  `fauth_password` VARCHAR(255) NOT NULL DEFAULT '',
  `fauth_project_id` INT NOT NULL DEFAULT 0,
  `fauth_forum_id` INT NOT NULL DEFAULT 0,
  PRIMARY KEY (`fauth_id`),
  KEY `idx_fauth_project_id` (`fauth_project_id`),
  KEY `idx_fauth_forum_id` (`fauth_forum_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

CREATE TABLE `sauth` (
  `sauth_id` INT NOT NULL AUTO_INCREMENT,
  `sauth_login` VARCHAR(255) NOT NULL DEFAULT '',
  `sauth_password` VARCHAR(255) NOT NULL DEFAULT '',
  `sauth_project_id` INT NOT NULL DEFAULT 0,
  `sauth_soft_id` INT NOT NULL DEFAULT 0,
  PRIMARY KEY (`sauth_id`),
  KEY `idx_sauth_project_id` (`sauth_project_id`),
  KEY `idx_sauth_soft_id` (`sauth_soft_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Discussion thread of a press release on a forum; the address is the fourth column.
CREATE TABLE `flinks` (
  `flink_id` INT NOT NULL AUTO_INCREMENT,
  `flink_material_id` INT NOT NULL DEFAULT 0,
  `flink_forum_id` INT NOT NULL DEFAULT 0,
  `flink_url` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`flink_id`),
  KEY `idx_flink_material_id` (`flink_material_id`),
  KEY `idx_flink_forum_id` (`flink_forum_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Contact sections per project, a tree. Read by position: id, parent id
-- (0 = top level), name; then the project.
CREATE TABLE `osubjects` (
  `osubject_id` INT NOT NULL AUTO_INCREMENT,
  `osubject_pid` INT NOT NULL DEFAULT 0,
  `osubject_name` VARCHAR(255) NOT NULL DEFAULT '',
  `osubject_project_id` INT NOT NULL DEFAULT 0,
  PRIMARY KEY (`osubject_id`),
  KEY `idx_osubject_pid` (`osubject_pid`),
  KEY `idx_osubject_name` (`osubject_name`),
  KEY `idx_osubject_project_id` (`osubject_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Contact membership in sections: one row per section and contact.
CREATE TABLE `osubjects2contacts` (
  `s2o_subject_id` INT NOT NULL DEFAULT 0,
  `s2o_contact_id` INT NOT NULL DEFAULT 0,
  KEY `idx_s2o_subject_id` (`s2o_subject_id`),
  KEY `idx_s2o_contact_id` (`s2o_contact_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Contacts for mailings. Read by position in this exact order.
-- contact_status is the position held in the organisation.
CREATE TABLE `contacts` (
  `contact_id` INT NOT NULL AUTO_INCREMENT,
  `contact_FIO` TEXT NOT NULL DEFAULT '',
  `contact_company` TEXT NOT NULL DEFAULT '',
  `contact_status` TEXT NOT NULL DEFAULT '',
  `contact_department` TEXT NOT NULL DEFAULT '',
  `contact_tel` TEXT NOT NULL DEFAULT '',
  `contact_email` TEXT NOT NULL DEFAULT '',
  `contact_address` TEXT NOT NULL DEFAULT '',
  `contact_site` TEXT NOT NULL DEFAULT '',
  `contact_fax` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`contact_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;

-- Mailing log, written by the mailer program: one row per contact and letter.
-- Status '1' sent, '2' failed, '0' none; orl_error keeps the mail server's answer
-- for a failed send.
CREATE TABLE `oreglog` (
  `orl_id` INT NOT NULL AUTO_INCREMENT,
  `orl_contact_id` INT NOT NULL DEFAULT 0,
  `orl_material_id` INT NOT NULL DEFAULT 0,
  `orl_project_id` INT NOT NULL DEFAULT 0,
  `orl_subject_id` INT NOT NULL DEFAULT 0,
  `orl_user_id` INT NOT NULL DEFAULT 0,
  `orl_datetime` DATETIME NULL DEFAULT NULL,
  `orl_status` VARCHAR(16) NOT NULL DEFAULT '',
  `orl_error` TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (`orl_id`),
  UNIQUE KEY `uq_orl_contact_material` (`orl_contact_id`, `orl_material_id`),
  KEY `idx_orl_material_id` (`orl_material_id`),
  KEY `idx_orl_project_id` (`orl_project_id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_520_ci;
